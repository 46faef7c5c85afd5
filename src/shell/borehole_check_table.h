#pragma once

#include <QString>

#include "evaluation/borehole_check.h"

class QTableWidget;

namespace kalvenor {

// The columns of the model check's table, as its header names them: the residual beside the
// contact it belongs to, so that a narrow table still shows it.
enum class CheckColumn { Hole, Boundary, Residual, LoggedZ, ModelledZ, Status };

// Fills the table with the check's contacts, worst first; a click on a header then sorts by that
// column, numbers by their value and blanks last.
void showBoreholeCheck(QTableWidget& table, const BoreholeCheck& check);
void clearBoreholeCheck(QTableWidget& table);

// The line above the table: the agreement over all holes and how many contacts were compared;
// the count of holes stands beside the tables already.
QString agreementCaption(const BoreholeCheck& check);

}  // namespace kalvenor

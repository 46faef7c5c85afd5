#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/vector_table.h"

namespace kalvenor {

// A table with the name of its file, for messages.
struct NamedTable {
  std::string path;
  VectorTable table;
};

// A column of a table as a field is found in it: its name in the file, for messages.
struct Field {
  std::string name;
  std::size_t column = 0;
};

// The names a field goes by: compared without case, blanks, "_", "-" or ".", so "Hole ID",
// "hole_id" and "HOLEID" are one name; the first name found among the table's columns wins.
struct FieldNames {
  const char* meaning;  // what the field holds, for a message ("the hole's id")
  std::vector<std::string_view> names;
};

std::optional<Field> findField(const VectorTable& table, const FieldNames& names);

// The field, or ReadError naming the file (and the header line of a CSV file), what is missing
// and the names it may go by.
Field requireField(const NamedTable& table, const FieldNames& names);

// ReadError naming the file, the row's line (or feature) and the field.
[[noreturn]] void refuseField(const NamedTable& table, std::size_t row, const std::string& field,
                              const std::string& problem);

// The value with the blanks around it taken away; ReadError when none is left.
std::string requiredText(const NamedTable& table, std::size_t row, const Field& field);

// The value as a finite number; ReadError when it is empty or no number.
double requiredNumber(const NamedTable& table, std::size_t row, const Field& field);

// The same, or nothing for an empty value.
std::optional<double> optionalNumber(const NamedTable& table, std::size_t row, const Field& field);

}  // namespace kalvenor

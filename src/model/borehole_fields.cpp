#include "model/borehole_fields.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "model/trimmed_text.h"

namespace kalvenor {
namespace {

std::string comparable(std::string_view name) {
  std::string plain;
  for (const char c : name) {
    if (c == ' ' || c == '_' || c == '-' || c == '.' || c == '\t') continue;
    plain += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return plain;
}

}  // namespace

std::optional<Field> findField(const VectorTable& table, const FieldNames& names) {
  for (const std::string_view name : names.names) {
    for (std::size_t column = 0; column < table.columns.size(); ++column) {
      if (comparable(table.columns[column]) == comparable(name)) {
        return Field{table.columns[column], column};
      }
    }
  }
  return std::nullopt;
}

Field requireField(const NamedTable& table, const FieldNames& names) {
  if (auto field = findField(table.table, names)) return *field;
  std::string listed;
  for (const std::string_view name : names.names) {
    listed += (listed.empty() ? "" : ", ") + std::string(name);
  }
  throw ReadError(table.path, table.table.lines ? 1 : 0, 0,
                  fill(translated("no column holds {1}: name one {2}"), {names.meaning, listed}));
}

void refuseField(const NamedTable& table, std::size_t row, const std::string& field,
                 const std::string& problem) {
  const TableRow& place = table.table.rows[row];
  if (place.line > 0) {
    throw ReadError(table.path, place.line, 0,
                    fill(translated("field {1}: {2}"), {quotedFound(field), problem}));
  }
  throw ReadError(table.path, 0, 0,
                  fill(translated("feature {1}, field {2}: {3}"),
                       {std::to_string(place.feature), quotedFound(field), problem}));
}

std::string requiredText(const NamedTable& table, std::size_t row, const Field& field) {
  std::string text = trimmed(table.table.cell(row, field.column));
  if (text.empty()) refuseField(table, row, field.name, translated("the value is missing"));
  return text;
}

double requiredNumber(const NamedTable& table, std::size_t row, const Field& field) {
  const std::optional<double> number = optionalNumber(table, row, field);
  if (!number) refuseField(table, row, field.name, translated("the value is missing"));
  return *number;
}

std::optional<double> optionalNumber(const NamedTable& table, std::size_t row, const Field& field) {
  const std::string& text = table.table.cell(row, field.column);
  if (trimmed(text).empty()) return std::nullopt;
  const std::optional<double> number = wholeNumber(text);
  if (!number || !std::isfinite(*number)) {
    refuseField(table, row, field.name,
                fill(translated("{1} is not a number"), {quotedFound(text)}));
  }
  return number;
}

}  // namespace kalvenor

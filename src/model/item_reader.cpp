#include "model/item_reader.h"

#include <cmath>
#include <string_view>

#include "model/input_file.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// What ends a number, and so a value when values are only counted. Tested one character at a
// time in a loop instead of with find_first_of, which searches the set of ends for every character.
bool isNumberEnd(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t nextNumberEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && !isNumberEnd(text[at])) ++at;
  return at;
}

std::size_t nextValueStart(std::string_view text, std::size_t at) {
  while (at < text.size() && isNumberEnd(text[at])) ++at;
  return at;
}

}  // namespace

ItemReader ItemReader::fromFile(const std::string& path) {
  return ItemReader(path, readInputFile(path));
}

ItemReader::ItemReader(std::string path, std::string text)
    : path_(std::move(path)), text_(std::move(text)) {}

// An item's line end is taken with the item, so the line reached may already be the next one.
void ItemReader::fail(const std::string& problem) const {
  throw ReadError(path_, itemLine_, items_, problem);
}

bool ItemReader::atLineEnd() const {
  return pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r');
}

void ItemReader::skipLineEnd() {
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
}

void ItemReader::skipBlanks() {
  while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

bool ItemReader::atEnd() {
  skipBlanks();
  while (atLineEnd()) {
    skipLineEnd();
    skipBlanks();
  }
  return pos_ >= text_.size();
}

// At the end of the file the line of the last item is more useful than the empty one after it.
void ItemReader::startItem(const std::string& what) {
  ++items_;
  if (atEnd()) fail(fill(translated("the file ends where {1} was expected"), {what}));
  itemLine_ = line_;
}

// After an item: blanks, then at most one comma or line end.
void ItemReader::finishItem() {
  skipBlanks();
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == ',') {
    ++pos_;
  } else if (atLineEnd()) {
    skipLineEnd();
  }
}

std::string ItemReader::readString(const std::string& what) {
  startItem(what);
  std::string item;
  if (text_[pos_] == '"') {
    const std::size_t close = text_.find_first_of("\"\r\n", pos_ + 1);
    if (close == std::string::npos || text_[close] != '"') {
      fail(fill(translated("the quoted {1} has no closing quote on its line"), {what}));
    }
    item = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    // Whatever stands between the closing quote and the next separator is not part of it.
    while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd()) ++pos_;
  } else {
    const std::size_t end = text_.find_first_of(",\r\n", pos_);
    item = text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
    pos_ = end == std::string::npos ? text_.size() : end;
    while (!item.empty() && isBlank(item.back())) item.pop_back();
  }
  finishItem();
  return item;
}

double ItemReader::readNumber(const std::string& what) {
  startItem(what);
  // Scanned in place: grids hold millions of numbers, and a copy of each would cost more than
  // converting it. The item is the number when the number ends where the item does.
  const NumberAt number = numberAt(text_, pos_);
  const bool itemEnds = number.end == text_.size() || isNumberEnd(text_[number.end]);
  if (!number.value || !itemEnds || !std::isfinite(*number.value)) {
    const std::string_view item =
        std::string_view(text_).substr(pos_, nextNumberEnd(text_, pos_) - pos_);
    if (item.empty()) fail(fill(translated("expected {1}, found an empty item"), {what}));
    fail(fill(translated("expected {1} as a number, found {2}"), {what, quotedFound(item)}));
  }
  pos_ = number.end;
  finishItem();
  return *number.value;
}

std::int64_t ItemReader::readWhole(const std::string& what, std::int64_t low, std::int64_t high) {
  const double value = roundHalfEven(readNumber(what));
  if (!(value >= static_cast<double>(low) && value <= static_cast<double>(high))) {
    fail(fill(translated("{1} must be a whole number between {2} and {3}, found {4}"),
              {what, std::to_string(low), std::to_string(high), numberText(value)}));
  }
  return static_cast<std::int64_t>(value);
}

std::int64_t ItemReader::countValuesLeft() const {
  std::int64_t count = 0;
  for (std::size_t at = nextValueStart(text_, pos_); at < text_.size();
       at = nextValueStart(text_, nextNumberEnd(text_, at))) {
    ++count;
  }
  return count;
}

}  // namespace kalvenor

#include "session/document_field.h"

#include <cmath>
#include <limits>

#include "model/number_text.h"
#include "model/read_error.h"
#include "session/session.h"

namespace kalvenor {
namespace {

using nlohmann::json;

// Longer than any path a file system takes (PATH_MAX), GDAL's names included.
constexpr std::size_t kMaxFileNameBytes = 4096;

std::size_t characterCount(const std::string& utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// What a value is, in the words of a message that says what it should have been.
std::string describe(const json& value) {
  switch (value.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::boolean:
      return value.get<bool>() ? "true" : "false";
    case json::value_t::string:
      return quotedFound(value.get_ref<const std::string&>());
    case json::value_t::array:
      return value.empty() ? "an empty list" : "a list of " + countInWords(value.size());
    case json::value_t::object:
      return "an object";
    default:
      return value.is_number() ? numberText(value.get<double>()) : value.dump();
  }
}

std::string rangeText(const DocumentField::Range& range) {
  if (range.low == DocumentField::kAnyNumber.low && range.high == DocumentField::kAnyNumber.high) {
    return "a number";
  }
  if (range.aboveLow) {
    return "a number above " + numberText(range.low) + " and at most " + numberText(range.high);
  }
  return "a number from " + numberText(range.low) + " to " + numberText(range.high);
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

const DocumentField::Range DocumentField::kAnyNumber = {-std::numeric_limits<double>::max(),
                                                        std::numeric_limits<double>::max()};

std::string countInWords(std::size_t count) {
  static const char* const words[] = {"none", "one",   "two",   "three", "four", "five",
                                      "six",  "seven", "eight", "nine",  "ten"};
  return count < std::size(words) ? words[count] : std::to_string(count);
}

DocumentField::DocumentField(const json& document, std::string file)
    : value_(&document), file_(std::move(file)) {}

DocumentField::DocumentField(const json* value, std::string place, const std::string& file)
    : value_(value), place_(std::move(place)), file_(file) {}

void DocumentField::fail(const std::string& problem) const {
  throw SessionError(file_ + ": " + (place_.empty() ? "the session document" : place_) + " " +
                     problem);
}

void DocumentField::expected(const std::string& what) const {
  fail("must be " + what + "; found " + describe(present()));
}

const json& DocumentField::present() const {
  if (!value_) fail("is missing");
  return *value_;
}

DocumentField DocumentField::operator[](const std::string& key) const {
  if (!present().is_object()) expected("an object");
  const auto member = value_->find(key);
  return {member == value_->end() ? nullptr : &*member, place_.empty() ? key : place_ + "." + key,
          file_};
}

bool DocumentField::has(const std::string& key) const {
  const DocumentField member = (*this)[key];
  return member.value_ && !member.value_->is_null();
}

bool DocumentField::isNull() const { return value_ && value_->is_null(); }

std::vector<DocumentField> DocumentField::items() const {
  if (!present().is_array()) expected("a list");
  std::vector<DocumentField> fields;
  fields.reserve(value_->size());
  for (std::size_t i = 0; i < value_->size(); ++i) {
    fields.push_back({&(*value_)[i], place_ + "[" + std::to_string(i) + "]", file_});
  }
  return fields;
}

std::vector<DocumentField> DocumentField::items(std::size_t count, const std::string& what) const {
  if (!present().is_array()) expected(what);
  if (value_->size() != count) fail("must be " + what + "; found " + countInWords(value_->size()));
  return items();
}

bool DocumentField::flag() const {
  if (!present().is_boolean()) expected("true or false");
  return value_->get<bool>();
}

double DocumentField::number(const Range& range) const {
  if (!present().is_number()) expected(rangeText(range));
  const double value = value_->get<double>();
  const bool aboveLow = range.aboveLow ? value > range.low : value >= range.low;
  if (!std::isfinite(value) || !aboveLow || value > range.high) expected(rangeText(range));
  return value;
}

int DocumentField::whole(int low, int high) const {
  const std::string what =
      "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  if (!present().is_number()) expected(what);
  const double value = value_->get<double>();
  if (!(value >= low && value <= high) || value != std::floor(value)) expected(what);
  return static_cast<int>(value);
}

std::string DocumentField::checkedText(std::size_t maxCharacters, bool oneLine,
                                       const std::string& what) const {
  const std::string limit = what + " of at most " + std::to_string(maxCharacters) + " characters";
  if (!present().is_string()) expected(limit);
  const std::string& text = value_->get_ref<const std::string&>();
  const std::size_t characters = characterCount(text);
  if (characters > maxCharacters) {
    fail("must be " + limit + "; found " + std::to_string(characters) + " characters");
  }
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || (oneLine && byte < 0x20)) {
      fail("must be " + what + "; found a line break or another control character in it");
    }
  }
  return text;
}

std::string DocumentField::line(std::size_t maxCharacters) const {
  return checkedText(maxCharacters, true, "one line of text");
}

std::string DocumentField::text(std::size_t maxCharacters) const {
  return checkedText(maxCharacters, false, "text");
}

std::string DocumentField::fileName() const {
  if (!present().is_string()) expected("a file name");
  const std::string& name = value_->get_ref<const std::string&>();
  if (name.size() > kMaxFileNameBytes) {
    fail("must be a file name of at most " + std::to_string(kMaxFileNameBytes) + " bytes; found " +
         std::to_string(name.size()) + " bytes");
  }
  if (name.find('\0') != std::string::npos) {
    fail("must be a file name; found a NUL character in it");
  }
  return name;
}

std::string DocumentField::choice(const std::vector<std::string>& choices) const {
  std::string what;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) what += i + 1 == choices.size() ? " or " : ", ";
    what += "\"" + choices[i] + "\"";
  }
  if (!present().is_string()) expected(what);
  for (const std::string& choice : choices) {
    if (*value_ == choice) return choice;
  }
  expected(what);
}

PackedColor DocumentField::color() const {
  if (!present().is_string()) expected("a colour #rrggbb");
  const std::string& text = value_->get_ref<const std::string&>();
  if (text.size() != 7 || text[0] != '#' ||
      !std::all_of(text.begin() + 1, text.end(), isHexDigit)) {
    expected("a colour #rrggbb");
  }
  const auto byte = [&](std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); };
  return packRgb(byte(1), byte(3), byte(5));
}

}  // namespace kalvenor

#include "session/document_field.h"

#include <cmath>
#include <limits>

#include "model/message_text.h"
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

// What a value is, in the words of a message that says what it should have been; null, true and
// false as the document writes them.
std::string describe(const json& value) {
  switch (value.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::boolean:
      return value.get<bool>() ? "true" : "false";
    case json::value_t::string:
      return quotedFound(value.get_ref<const std::string&>());
    case json::value_t::array:
      return value.empty() ? translated("an empty list")
                           : fill(translated("a list of {1}"), {countInWords(value.size())});
    case json::value_t::object:
      return translated("an object");
    default:
      return value.is_number() ? numberText(value.get<double>()) : value.dump();
  }
}

std::string rangeText(const DocumentField::Range& range) {
  if (range.low == DocumentField::kAnyNumber.low && range.high == DocumentField::kAnyNumber.high) {
    return translated("a number");
  }
  return fill(range.aboveLow ? translated("a number above {1} and at most {2}")
                             : translated("a number from {1} to {2}"),
              {numberText(range.low), numberText(range.high)});
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

const DocumentField::Range DocumentField::kAnyNumber = {-std::numeric_limits<double>::max(),
                                                        std::numeric_limits<double>::max()};

// Beyond ten the count is written in digits, which a translation may follow with its counter.
std::string countInWords(std::size_t count) {
  const char* const words[] = {translated("none"),  translated("one"),   translated("two"),
                               translated("three"), translated("four"),  translated("five"),
                               translated("six"),   translated("seven"), translated("eight"),
                               translated("nine"),  translated("ten")};
  if (count < std::size(words)) return words[count];
  return fill(translatedCount("{1}", "{1}", static_cast<unsigned long>(count)),
              {std::to_string(count)});
}

DocumentField::DocumentField(const json& document, std::string file)
    : value_(&document), file_(std::move(file)) {}

DocumentField::DocumentField(const json* value, std::string place, const std::string& file)
    : value_(value), place_(std::move(place)), file_(file) {}

void DocumentField::fail(const std::string& problem) const {
  if (place_.empty()) {
    throw SessionError(fill(translated("{1}: the session document {2}"), {file_, problem}));
  }
  throw SessionError(file_ + ": " + place_ + " " + problem);
}

void DocumentField::expected(const std::string& what) const {
  fail(fill(translated("must be {1}; found {2}"), {what, describe(present())}));
}

const json& DocumentField::present() const {
  if (!value_) fail(translated("is missing"));
  return *value_;
}

DocumentField DocumentField::operator[](const std::string& key) const {
  if (!present().is_object()) expected(translated("an object"));
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
  if (!present().is_array()) expected(translated("a list"));
  std::vector<DocumentField> fields;
  fields.reserve(value_->size());
  for (std::size_t i = 0; i < value_->size(); ++i) {
    fields.push_back({&(*value_)[i], place_ + "[" + std::to_string(i) + "]", file_});
  }
  return fields;
}

std::vector<DocumentField> DocumentField::items(std::size_t count, const std::string& what) const {
  if (!present().is_array()) expected(what);
  if (value_->size() != count) {
    fail(fill(translated("must be {1}; found {2}"), {what, countInWords(value_->size())}));
  }
  return items();
}

bool DocumentField::flag() const {
  if (!present().is_boolean()) expected(translated("true or false"));
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
  const std::string what = fill(translated("a whole number from {1} to {2}"),
                                {std::to_string(low), std::to_string(high)});
  if (!present().is_number()) expected(what);
  const double value = value_->get<double>();
  if (!(value >= low && value <= high) || value != std::floor(value)) expected(what);
  return static_cast<int>(value);
}

std::string DocumentField::checkedText(std::size_t maxCharacters, bool oneLine,
                                       const std::string& what) const {
  const std::string limit =
      fill(translated("{1} of at most {2} characters"), {what, std::to_string(maxCharacters)});
  if (!present().is_string()) expected(limit);
  const std::string& text = value_->get_ref<const std::string&>();
  const std::size_t characters = characterCount(text);
  if (characters > maxCharacters) {
    fail(
        fill(translated("must be {1}; found {2} characters"), {limit, std::to_string(characters)}));
  }
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || (oneLine && byte < 0x20)) {
      fail(fill(translated("must be {1}; found a line break or another control character in it"),
                {what}));
    }
  }
  return text;
}

std::string DocumentField::line(std::size_t maxCharacters) const {
  return checkedText(maxCharacters, true, translated("one line of text"));
}

std::string DocumentField::text(std::size_t maxCharacters) const {
  return checkedText(maxCharacters, false, translated("text"));
}

std::string DocumentField::fileName() const {
  if (!present().is_string()) expected(translated("a file name"));
  const std::string& name = value_->get_ref<const std::string&>();
  if (name.size() > kMaxFileNameBytes) {
    fail(fill(translated("must be a file name of at most {1} bytes; found {2} bytes"),
              {std::to_string(kMaxFileNameBytes), std::to_string(name.size())}));
  }
  if (name.find('\0') != std::string::npos) {
    fail(translated("must be a file name; found a NUL character in it"));
  }
  return name;
}

// The choices as the document writes them, quoted.
std::string DocumentField::choice(const std::vector<std::string>& choices) const {
  std::string what;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const std::string quoted = "\"" + choices[i] + "\"";
    if (i == 0) {
      what = quoted;
    } else if (i + 1 < choices.size()) {
      what += ", " + quoted;
    } else {
      what = fill(translated("{1} or {2}"), {what, quoted});
    }
  }
  if (!present().is_string()) expected(what);
  for (const std::string& choice : choices) {
    if (*value_ == choice) return choice;
  }
  expected(what);
}

PackedColor DocumentField::color() const {
  if (!present().is_string()) expected(translated("a colour #rrggbb"));
  const std::string& text = value_->get_ref<const std::string&>();
  if (text.size() != 7 || text[0] != '#' ||
      !std::all_of(text.begin() + 1, text.end(), isHexDigit)) {
    expected(translated("a colour #rrggbb"));
  }
  const auto byte = [&](std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); };
  return packRgb(byte(1), byte(3), byte(5));
}

}  // namespace kalvenor

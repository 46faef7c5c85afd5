#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/packed_color.h"

namespace kalvenor {

// One value of a session document with its place in it ("view.canvas", "model.cells[2][3]"),
// read into the viewer's types. Whatever does not fit is refused with a SessionError
// "FILE: PLACE must be WHAT; found THIS", so each field of the document is read, and checked, by
// one call. A member that is absent is reported as missing when it is read.
class DocumentField {
 public:
  // The numbers a field may hold: from `low` to `high`, or above `low` when `aboveLow`.
  struct Range {
    double low;
    double high;
    bool aboveLow = false;
  };
  // Any number JSON can hold: finite.
  static const Range kAnyNumber;

  // The whole document of the session file `file`.
  DocumentField(const nlohmann::json& document, std::string file);

  // A member of this object. This field must be an object; the member may be absent.
  DocumentField operator[](const std::string& key) const;
  // Whether the member is there and not null, for the fields a document may leave out.
  bool has(const std::string& key) const;
  bool isNull() const;

  // The items of a list of any length, or of exactly `count` items, `what` saying which
  // ("two numbers, width and height").
  std::vector<DocumentField> items() const;
  std::vector<DocumentField> items(std::size_t count, const std::string& what) const;

  bool flag() const;
  double number(const Range& range = kAnyNumber) const;
  int whole(int low, int high) const;
  // One line of at most `maxCharacters` characters of text (UTF-8): the names and the title,
  // which are drawn, so that no file can make their layout run for minutes.
  std::string line(std::size_t maxCharacters) const;
  // Text of at most `maxCharacters` characters, line breaks allowed (a WKT, for example).
  std::string text(std::size_t maxCharacters) const;
  // A file name as the document holds it: no NUL and no longer than any file system takes.
  std::string fileName() const;
  // One of `choices`, which the message lists.
  std::string choice(const std::vector<std::string>& choices) const;
  // "#rrggbb".
  PackedColor color() const;

  const std::string& place() const { return place_; }
  // Refuses the field: "FILE: PLACE PROBLEM".
  [[noreturn]] void fail(const std::string& problem) const;
  // Refuses the field as not being `what`, saying what it is instead.
  [[noreturn]] void expected(const std::string& what) const;

 private:
  DocumentField(const nlohmann::json* value, std::string place, const std::string& file);
  const nlohmann::json& present() const;
  std::string checkedText(std::size_t maxCharacters, bool oneLine, const std::string& what) const;

  const nlohmann::json* value_;  // nullptr for a member that is absent
  std::string place_;
  std::string file_;
};

// A count in words for a message, in the language of the messages: "none", "one" .. "ten", then
// digits.
std::string countInWords(std::size_t count);

}  // namespace kalvenor

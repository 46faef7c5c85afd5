#pragma once

#include <cstdint>
#include <string>

namespace kalvenor {

// Reads the items of a model or grid file one after another. Items are separated by commas or
// line ends in any mix; blank lines and leading blanks are skipped; a string may be quoted and
// then hold commas. A number also ends at a blank, so grids written with blanks between the
// values read as well. Every failure throws ReadError naming the file, the line and number of
// the item where reading stopped and what was expected: `what` names the item there, as a noun
// phrase already translated ("an elevation") or a field's own name ("Nx").

class ItemReader {
 public:
  // Reads the whole file, skipping a byte-order mark at its start; throws ReadError when the path
  // is a folder or the file cannot be opened or read.
  static ItemReader fromFile(const std::string& path);
  ItemReader(std::string path, std::string text);

  std::string readString(const std::string& what);
  double readNumber(const std::string& what);
  // A number rounded to the nearest integer (halves to even) that must lie in [low, high].
  std::int64_t readWhole(const std::string& what, std::int64_t low, std::int64_t high);

  // Throws ReadError naming the line and number of the item read last (or being read), so a
  // value found out of range after it was read is reported where it stands.
  [[noreturn]] void fail(const std::string& problem) const;

  // True when only blanks and line ends are left.
  bool atEnd();

  // The values left after the current position, numbers or not, separated as numbers are.
  std::int64_t countValuesLeft() const;

  int itemsRead() const { return items_; }
  // Characters not read yet.
  std::size_t remaining() const { return text_.size() - pos_; }

 private:
  bool atLineEnd() const;
  void skipLineEnd();
  void skipBlanks();
  void startItem(const std::string& what);
  void finishItem();

  std::string path_;
  std::string text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int itemLine_ = 1;
  int items_ = 0;
};

}  // namespace kalvenor

#include "model/vector_table_lines.h"

#include <fstream>

namespace kalvenor {
namespace {

// Follows the records through the file's bytes piece by piece.
struct RecordScan {
  CsvRecords records;
  std::size_t recordBytes = 0;
  int line = 1;
  bool quoted = false;
  bool inRecord = false;

  void take(char c) {
    if (inRecord && ++recordBytes > kMaxRecordBytes && records.tooLong == 0) {
      records.tooLong = records.starts.back();
    }
    if (c == '\n') {
      ++line;
      if (!quoted) inRecord = false;
      return;
    }
    if (c == '\r' && !inRecord) return;
    if (!inRecord) {
      records.starts.push_back(line);
      recordBytes = 0;
      inRecord = true;
    }
    if (c == '"') quoted = !quoted;
  }
};

}  // namespace

CsvRecords csvRecordLines(const std::string& path, std::size_t most) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::vector<char> piece(kPiece);
  RecordScan scan;
  while (scan.records.starts.size() <= most && scan.records.tooLong == 0 && file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    const auto got = static_cast<std::size_t>(file.gcount());
    for (std::size_t n = 0; n < got; ++n) scan.take(piece[n]);
  }
  if (scan.records.starts.size() > most) scan.records.starts.resize(most);
  return scan.records;
}

}  // namespace kalvenor

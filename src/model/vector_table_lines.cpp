#include "model/vector_table_lines.h"

#include <fstream>

namespace kalvenor {
namespace {

// Follows the records through the file's bytes piece by piece.
struct RecordScan {
  std::vector<int> starts;
  int line = 1;
  bool quoted = false;
  bool inRecord = false;

  void take(char c) {
    if (c == '\n') {
      ++line;
      if (!quoted) inRecord = false;
      return;
    }
    if (c == '\r' && !inRecord) return;
    if (!inRecord) {
      starts.push_back(line);
      inRecord = true;
    }
    if (c == '"') quoted = !quoted;
  }
};

}  // namespace

std::vector<int> csvRecordLines(const std::string& path, std::size_t most) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::vector<char> piece(kPiece);
  RecordScan scan;
  while (scan.starts.size() <= most && file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    const auto got = static_cast<std::size_t>(file.gcount());
    for (std::size_t n = 0; n < got; ++n) scan.take(piece[n]);
  }
  if (scan.starts.size() > most) scan.starts.resize(most);
  return scan.starts;
}

}  // namespace kalvenor

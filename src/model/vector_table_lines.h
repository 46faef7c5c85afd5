#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kalvenor {

// The most bytes one record of a CSV file may hold: a row of a borehole table is well under a
// kilobyte, and GDAL takes minutes over a record of megabytes on some machines.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

struct CsvRecords {
  std::vector<int> starts;  // the line each record starts on, the header's first (line 1)
  int tooLong = 0;          // the line the first record longer than kMaxRecordBytes starts on
};

// Where the records of a CSV file start: a record runs on over line ends inside double quotes,
// and empty lines hold no record, as GDAL reads the file. The file is read in pieces, so a line
// of any length costs no more memory than a short one; at most `most` records are counted, and
// the scan stops at the first record that is too long. Empty when the file cannot be read.
CsvRecords csvRecordLines(const std::string& path, std::size_t most);

}  // namespace kalvenor

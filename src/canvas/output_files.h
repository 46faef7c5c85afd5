#pragma once

#include <QByteArray>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kalvenor {

// An output that could not be written. what() is one line, "PATH: <what failed>: <reason>";
// problem() is the same without the path, for messages that name the file themselves.
class OutputError : public std::runtime_error {
 public:
  OutputError(const std::string& path, const std::string& problem)
      : std::runtime_error(path + ": " + problem), problem_(problem) {}

  const std::string& problem() const { return problem_; }

 private:
  std::string problem_;
};

// The outputs of one run, written whole or not at all. Every output goes to a temporary file
// beside its target first; the targets are replaced only when all of them were written, so a
// failure leaves every old file as it was and no temporary file behind.
//
// The same rules hold for every output: a read-only target is refused, the permissions of a
// replaced file are kept, and a symbolic link stays a link while its target gets the content.
// A folder given with addFolder is made when it is not there yet, before any file, and removed
// again when the set fails; an output in any other missing folder fails.
class OutputSet {
 public:
  void add(std::string path, QByteArray bytes);
  void addFolder(std::string path);

  // Throws OutputError naming the first output that failed.
  void write() const;

 private:
  std::vector<std::pair<std::string, QByteArray>> outputs_;
  std::vector<std::string> folders_;
};

// One output on its own, by the rules of OutputSet.
void writeOutputFile(const std::string& path, const QByteArray& bytes);

}  // namespace kalvenor

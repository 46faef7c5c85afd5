#include "canvas/output_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QSaveFile>
#include <cerrno>
#include <memory>
#include <optional>

#include "model/message_text.h"
#include "model/system_reason.h"

namespace kalvenor {
namespace {

// `pattern` is the translated problem with the system's or Qt's reason as {1}.
[[noreturn]] void fail(const std::string& path, const char* pattern, const std::string& reason) {
  throw OutputError(path, fill(pattern, {reason}));
}

// The mode of the file a replacement would overwrite: stat follows a symbolic link to the file
// it names. None when nothing is there yet.
std::optional<mode_t> existingMode(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return status.st_mode;
}

// A file without any write permission is read-only for everybody: an administrator, whom the
// system would let replace it, is refused as well.
void refuseReadOnly(const std::string& path, mode_t mode) {
  if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    fail(path, translated("cannot replace a read-only file: {1}"), systemReason(EACCES));
  }
  if (::access(path.c_str(), W_OK) != 0) {
    const std::string reason = systemReason(errno);
    fail(path, translated("cannot replace the file: {1}"), reason);
  }
}

// QSaveFile takes a short write for success: keep writing until every byte is out or the
// system says why not.
void writeEveryByte(QSaveFile& file, const std::string& path, const QByteArray& bytes) {
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
    if (count <= 0) fail(path, translated("cannot write: {1}"), file.errorString().toStdString());
    written += count;
  }
}

// The bytes in a temporary file beside the target, not yet in its place. Dropping the result
// removes the temporary file.
std::unique_ptr<QSaveFile> writeTemporary(const std::string& path, const QByteArray& bytes) {
  const std::optional<mode_t> mode = existingMode(path);
  if (mode) refuseReadOnly(path, *mode);
  auto file = std::make_unique<QSaveFile>(QString::fromStdString(path));
  // Unbuffered: a buffered write that comes up short at the flush loses the system's reason.
  if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    fail(path, translated("cannot create the file: {1}"), file->errorString().toStdString());
  }
  writeEveryByte(*file, path, bytes);
  // QSaveFile copies the permissions only roughly (an administrator's view of them, no
  // set-group-ID bit), and writing clears that bit: set them exactly once the data are in.
  if (mode && ::fchmod(file->handle(), *mode & 07777) != 0) {
    const std::string reason = systemReason(errno);
    fail(path, translated("cannot keep the permissions: {1}"), reason);
  }
  // Some file systems report a full disk only when the data reach it.
  if (::fsync(file->handle()) != 0) {
    const std::string reason = systemReason(errno);
    fail(path, translated("cannot write: {1}"), reason);
  }
  return file;
}

// The folders of a set that were not there yet, made before its files. Unless kept, they are
// removed again once the temporary files in them are gone, so a failed set leaves none behind.
class MadeFolders {
 public:
  MadeFolders() = default;
  MadeFolders(const MadeFolders&) = delete;
  MadeFolders& operator=(const MadeFolders&) = delete;
  ~MadeFolders() {
    if (kept_) return;
    for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) ::rmdir(folder->c_str());
  }

  void make(const std::string& path) {
    const std::optional<mode_t> mode = existingMode(path);
    if (mode && S_ISDIR(*mode)) return;
    if (::mkdir(path.c_str(), 0777) != 0) {
      const std::string reason = systemReason(errno);
      fail(path, translated("cannot create the folder: {1}"), reason);
    }
    made_.push_back(path);
  }

  void keep() { kept_ = true; }

 private:
  std::vector<std::string> made_;
  bool kept_ = false;
};

}  // namespace

void OutputSet::addFolder(std::string path) { folders_.push_back(std::move(path)); }

void OutputSet::add(std::string path, QByteArray bytes) {
  outputs_.emplace_back(std::move(path), std::move(bytes));
}

void OutputSet::write() const {
  MadeFolders made;  // outlives the temporary files, which go first on a failure
  for (const std::string& folder : folders_) made.make(folder);
  std::vector<std::unique_ptr<QSaveFile>> written;
  for (const auto& [path, bytes] : outputs_) written.push_back(writeTemporary(path, bytes));
  // Every output is complete on disk; what is left is renaming each over its target.
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (!written[i]->commit()) {
      fail(outputs_[i].first, translated("cannot replace the file: {1}"),
           written[i]->errorString().toStdString());
    }
  }
  made.keep();
}

void writeOutputFile(const std::string& path, const QByteArray& bytes) {
  OutputSet output;
  output.add(path, bytes);
  output.write();
}

}  // namespace kalvenor

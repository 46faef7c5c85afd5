#include "exports/work_folder.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "exports/export_error.h"
#include "model/message_text.h"
#include "model/system_reason.h"

namespace kalvenor {
namespace {

std::string fileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// The target's folder exactly as it was given, so that the target keeps its own path.
std::string folderOf(const std::string& target) {
  return target.substr(0, target.size() - fileName(target).size());
}

std::string memoryFolder() {
  static std::atomic<int> count{0};
  std::string folder = "/vsimem/kalvenor-export-" + std::to_string(count++);
  VSIMkdir(folder.c_str(), 0755);
  return folder;
}

// Hidden and unique, so that it meets no file of the user's; on the target's file system, where
// the files it holds are as writable as the target will be.
std::string folderBeside(const std::string& target) {
  const std::string beside = folderOf(target);
  std::string name = (beside.empty() ? "./" : beside) + "." + fileName(target) + ".kalvenor-XXXXXX";
  if (!::mkdtemp(name.data())) {
    const std::string reason = systemReason(errno);
    throw ExportError(target, fill(translated("cannot create the file: {1}"), {reason}));
  }
  return name;
}

struct FreeBuffer {
  void operator()(GByte* bytes) const { VSIFree(bytes); }
};

}  // namespace

WorkFolder::WorkFolder(const std::string& target, Place place)
    : folder_(place == Place::Memory ? memoryFolder() : folderBeside(target)), place_(place) {}

WorkFolder::~WorkFolder() {
  if (place_ == Place::Memory) {
    VSIRmdirRecursive(folder_.c_str());
  } else {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

std::string WorkFolder::pathFor(const std::string& target) const {
  return folder_ + "/" + fileName(target);
}

void WorkFolder::put(const std::string& target, const std::string& bytes) const {
  VSILFILE* file = VSIFOpenL(pathFor(target).c_str(), "wb");
  const bool written = file && VSIFWriteL(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if ((file && VSIFCloseL(file) != 0) || !written) {
    throw ExportError(target, translated("cannot make a working copy of the file"));
  }
}

ExportedFiles WorkFolder::filesBeside(const std::string& target) const {
  const std::string beside = folderOf(target);
  ExportedFiles files;
  const std::unique_ptr<char*, void (*)(char**)> names(VSIReadDir(folder_.c_str()), CSLDestroy);
  for (int n = 0; names && names.get()[n]; ++n) {
    const std::string name = names.get()[n];
    if (name == "." || name == "..") continue;
    const std::string path = folder_ + "/" + name;
    VSIStatBufL status{};
    if (VSIStatL(path.c_str(), &status) == 0 && VSI_ISDIR(status.st_mode)) {
      throw ExportError(target, fill(translated("the format makes a folder ({1}), but a run "
                                                "writes only files; choose a format of single "
                                                "files such as .gpkg"),
                                     {name}));
    }
    GByte* raw = nullptr;
    vsi_l_offset length = 0;
    if (!VSIIngestFile(nullptr, path.c_str(), &raw, &length, -1)) {
      throw ExportError(target, fill(translated("cannot read back {1} as GDAL wrote it"), {name}));
    }
    const std::unique_ptr<GByte, FreeBuffer> bytes(raw);
    files.push_back({beside + name, std::string(reinterpret_cast<const char*>(raw), length)});
  }
  // In name order, as GDAL's memory lists them, wherever the folder is.
  std::sort(files.begin(), files.end(),
            [](const ExportedFile& a, const ExportedFile& b) { return a.path < b.path; });
  return files;
}

}  // namespace kalvenor

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/gdal_module.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

[[noreturn]] void stop(const std::string& message) {
  std::fputs(message.c_str(), stderr);
  std::exit(2);
}

[[noreturn]] void cannotLoad(const char* reason) {
  stop(fill(translated("kalvenor: GDAL ({1}) cannot be loaded, so no raster can be read or "
                       "written: {2}\n"),
            {KALVENOR_GDAL_SONAME, reason ? reason : ""}));
}

// The installed tree keeps the module in its library folder, and the build tree at the same
// place as seen from the programs' folder.
std::filesystem::path modulePath() {
  std::error_code unknown;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", unknown);
  return (program.parent_path() / KALVENOR_GDAL_MODULE_FROM_PROGRAMS).lexically_normal();
}

void* symbolIn(void* module, const char* name) {
  void* symbol = dlsym(module, name);
  if (!symbol) cannotLoad(dlerror());
  return symbol;
}

void* load() {
  const std::filesystem::path path = modulePath();
  std::error_code unknown;
  if (!std::filesystem::exists(path, unknown)) {
    stop(fill(translated("kalvenor: the GDAL module {1} is missing, so no raster can be read or "
                         "written\n"),
              {path.string()}));
  }
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) cannotLoad(dlerror());
  static const ProgramFunctions program = {.inputName = inputName};
  reinterpret_cast<void (*)(const ProgramFunctions*)>(symbolIn(module, kConnectGdalModule))(
      &program);
  return module;
}

}  // namespace

void* gdalModuleSymbol(const char* name) {
  static void* const module = load();
  return symbolIn(module, name);
}

}  // namespace kalvenor

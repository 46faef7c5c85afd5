#include "model/gdal_scope.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

#include "model/read_error.h"

namespace kalvenor {
namespace {

constexpr GIntBig kCacheBytes = GIntBig{64} << 20;

// GDAL calls its handlers with its own signature; the scope on top of the stack is the user data.
void CPL_STDCALL handler(CPLErr severity, CPLErrorNum, const char* message) {
  auto* scope = static_cast<GdalScope*>(CPLGetErrorHandlerUserData());
  if (scope) scope->collect(severity, message);
}

}  // namespace

// The handler goes first: registering the drivers may already have something to say.
GdalScope::GdalScope() {
  CPLPushErrorHandlerEx(handler, this);
  static std::once_flag registered;
  std::call_once(registered, [] {
    GDALAllRegister();
    // Each raster is read once, front to back: blocks kept for another read would only hold
    // memory, by default up to a twentieth of the machine's (210 MB more for five 4096 x 4096
    // boundaries read side by side). A cache the user sets stays as set.
    if (!CPLGetConfigOption("GDAL_CACHEMAX", nullptr)) GDALSetCacheMax64(kCacheBytes);
  });
}

GdalScope::~GdalScope() { CPLPopErrorHandler(); }

void GdalScope::collect(int severity, const char* message) {
  if (severity >= CE_Failure) {
    error_ = message;
  } else if (severity == CE_Warning) {
    warning_ = message;
  }
}

void refuseWithGdalReason(const std::string& path, const std::string& problem,
                          const GdalScope& gdal) {
  throw ReadError(path, 0, 0, gdal.reason().empty() ? problem : problem + ": " + gdal.reason());
}

}  // namespace kalvenor

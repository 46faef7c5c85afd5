#include "model/gdal_scope.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace kalvenor {
namespace {

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
  std::call_once(registered, [] { GDALAllRegister(); });
}

GdalScope::~GdalScope() { CPLPopErrorHandler(); }

void GdalScope::collect(int severity, const char* message) {
  if (severity >= CE_Failure) {
    error_ = message;
  } else if (severity == CE_Warning) {
    warning_ = message;
  }
}

}  // namespace kalvenor

#pragma once

#include <string>

namespace kalvenor {

// Every use of GDAL runs inside one: the first registers GDAL's drivers, and while it lives
// GDAL's own messages are collected here instead of going to stderr, so that a failure can be
// reported in the viewer's words with GDAL's reason attached.
class GdalScope {
 public:
  GdalScope();
  ~GdalScope();
  GdalScope(const GdalScope&) = delete;
  GdalScope& operator=(const GdalScope&) = delete;

  // GDAL's last error, or its last warning when it reported no error; "" when it said nothing.
  const std::string& reason() const { return error_.empty() ? warning_ : error_; }

  // Where GDAL's handler puts each message; `severity` is GDAL's CPLErr.
  void collect(int severity, const char* message);

 private:
  std::string error_;
  std::string warning_;
};

// Throws ReadError naming `path` with `problem`, and GDAL's reason after it where GDAL gave one.
[[noreturn]] void refuseWithGdalReason(const std::string& path, const std::string& problem,
                                       const GdalScope& gdal);

}  // namespace kalvenor

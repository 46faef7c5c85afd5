#pragma once

#include <locale.h>
#include <string.h>

#include <string>

namespace kalvenor {

// The system's reason for the error number as the system says it in the plain locale: it goes
// into a translated message as it is, and the system's own translation may be in a language the
// locale's character set cannot show (it would come out as question marks).
inline std::string systemReason(int error) {
  static const locale_t plain = newlocale(LC_ALL_MASK, "C", locale_t{});
  return plain ? strerror_l(error, plain) : strerror(error);
}

}  // namespace kalvenor

// Error texts, memory use and the locale's date and time formats.
#include "platform/platform_system.h"

#include <locale.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>

namespace {

std::string FormatNow(const char* format) {
  const time_t now = time(nullptr);
  tm local{};
  if (localtime_r(&now, &local) == nullptr) return "";
  // The user's LC_TIME formats without changing the process-wide locale.
  locale_t userLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (userLocale == static_cast<locale_t>(nullptr)) {
    userLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  }
  char buffer[256];
  size_t length = 0;
  if (userLocale != static_cast<locale_t>(nullptr)) {
    length = strftime_l(buffer, sizeof buffer, format, &local, userLocale);
    freelocale(userLocale);
  } else {
    length = strftime(buffer, sizeof buffer, format, &local);
  }
  return std::string(buffer, length);
}

}  // namespace

uint32_t PlatformLastError() { return static_cast<uint32_t>(errno); }

std::string PlatformErrorText(uint32_t code) {
  if (code > static_cast<uint32_t>(__INT_MAX__)) return "";
  // Unlike strerror, this gives no text at all for a code the system does not know.
  const char* text = strerrordesc_np(static_cast<int>(code));
  return text != nullptr ? text : "";
}

uint64_t PlatformWorkingSetBytes() {
  std::ifstream statm("/proc/self/statm");
  uint64_t totalPages = 0;
  uint64_t residentPages = 0;
  if (!(statm >> totalPages >> residentPages)) return 0;
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pageSize > 0 ? residentPages * static_cast<uint64_t>(pageSize) : 0;
}

std::string PlatformShortDate() { return FormatNow("%x"); }

std::string PlatformLongTime() { return FormatNow("%X"); }

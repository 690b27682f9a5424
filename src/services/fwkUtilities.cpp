#include "services/fwkUtilities.h"

#include "platform/platform_system.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

#include <algorithm>
#include <utility>

namespace {

bool EndsInSeparator(const std::string& folder) {
  return !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
}

std::string WithSeparator(const std::string& folder) {
  return EndsInSeparator(folder) ? folder : folder + PlatformPathSeparator();
}

// Makes one folder level when it is missing; true when it exists afterwards.
bool EnsureFolder(const std::string& folder) {
  return PlatformDirectoryExists(folder) || PlatformCreateDirectory(folder);
}

template <typename T, typename OutOfOrder>
void BubbleSort(std::vector<T>& array, OutOfOrder outOfOrder) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (size_t i = 1; i < array.size(); ++i) {
      if (outOfOrder(array[i - 1], array[i])) {
        std::swap(array[i - 1], array[i]);
        swapped = true;
      }
    }
  }
}

}  // namespace

void UtilInit() { LogVersionAdd("fwkUtilities - Version 1.0"); }

void UtilFinal() {}

bool UtilCommandLineHas(const std::string& name) {
  const std::string wanted = TextUpper(name);
  for (const std::string& parameter : PlatformArguments()) {
    if (TextUpper(parameter) == wanted) return true;
  }
  return false;
}

int32_t UtilCommandLineValue(const std::string& name, int32_t defaultValue) {
  const std::vector<std::string>& parameters = PlatformArguments();
  const std::string wanted = TextUpper(name);
  for (size_t i = 0; i + 1 < parameters.size(); ++i) {
    int32_t value = 0;
    if (TextUpper(parameters[i]) == wanted && TextToInteger(parameters[i + 1], value)) return value;
  }
  return defaultValue;
}

std::string UtilAppFolder() {
  const std::string path = PlatformExecutablePath();
  const auto last = path.find_last_of("\\/");
  if (last == std::string::npos) return "";
  return path.substr(0, last + 1);
}

std::string UtilUserDataFolder() {
  std::string result = UtilAppFolder();
  if (UtilCommandLineHas("-userdatainapp")) return result;

  std::string base = PlatformLocalAppDataFolder();
  if (base.empty() || !PlatformDirectoryExists(base)) return result;
  base = WithSeparator(base);

  const std::string company = UtilVersionString("CompanyName");
  if (!company.empty()) {
    base += company + PlatformPathSeparator();
    EnsureFolder(base);
  }
  if (!PlatformDirectoryExists(base)) return result;
  const std::string product = UtilVersionString("ProductName");
  if (product.empty()) return result;
  base += product + PlatformPathSeparator();
  return EnsureFolder(base) ? base : result;
}

std::string UtilVersionString(const std::string& name) { return PlatformVersionString(name); }

std::string UtilRegistryRead(const std::string& key, const std::string& value) {
  return PlatformRegistryRead(key, value);
}

bool UtilIsInteger(const std::string& text) {
  if (text.empty() || text == "-") return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '-' && i == 0) continue;
    return false;
  }
  return true;
}

bool UtilIsPositiveInteger(const std::string& text) {
  // Decided on the digits, so values beyond 32 bits are judged correctly too.
  return UtilIsInteger(text) && text[0] != '-' && text.find_first_not_of('0') != std::string::npos;
}

bool UtilStringInArray(const std::string& text, const utilArrayString& array, int32_t count) {
  const size_t limit = count <= 0 ? 0 : std::min(array.size(), static_cast<size_t>(count));
  return std::find(array.begin(), array.begin() + static_cast<std::ptrdiff_t>(limit), text) !=
         array.begin() + static_cast<std::ptrdiff_t>(limit);
}

void UtilSortStrings(utilArrayString& array) {
  BubbleSort(array, [](const std::string& a, const std::string& b) { return a > b; });
}

void UtilSortStringsDescending(utilArrayString& array) {
  BubbleSort(array, [](const std::string& a, const std::string& b) { return a < b; });
}

void UtilSortPairs(std::vector<utilPair>& array) {
  BubbleSort(array, [](const utilPair& a, const utilPair& b) { return a.key > b.key; });
}

int32_t UtilClamp(int32_t value, int32_t bound1, int32_t bound2) {
  const int32_t low = std::min(bound1, bound2);
  const int32_t high = std::max(bound1, bound2);
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

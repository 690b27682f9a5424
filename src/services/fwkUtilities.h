// Services not tied to one subsystem: command-line switches, the program and user data
// folders, version strings, registry look-up and small routines on integers and arrays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using utilArrayLong = std::vector<int32_t>;
using utilArrayString = std::vector<std::string>;

struct utilPair {
  int32_t key;
  int32_t value;
};

void UtilInit();
void UtilFinal();

// Switches are whole parameters compared without regard to ASCII case.
bool UtilCommandLineHas(const std::string& name);
// The integer that follows the switch, or defaultValue.
int32_t UtilCommandLineValue(const std::string& name, int32_t defaultValue);

// Folder of the executable, ending in a separator.
std::string UtilAppFolder();
// Per-user data folder (local application data + company + product), ending in a
// separator; the program folder with "-userdatainapp" or when it cannot be made.
std::string UtilUserDataFolder();

std::string UtilVersionString(const std::string& name);
std::string UtilRegistryRead(const std::string& key, const std::string& value);

bool UtilIsInteger(const std::string& text);
bool UtilIsPositiveInteger(const std::string& text);
// Exact, case-sensitive match among the first count elements.
bool UtilStringInArray(const std::string& text, const utilArrayString& array, int32_t count);
// Stable bubble sorts; strings compare by their bytes, pairs by key.
void UtilSortStrings(utilArrayString& array);
void UtilSortStringsDescending(utilArrayString& array);
void UtilSortPairs(std::vector<utilPair>& array);
int32_t UtilClamp(int32_t value, int32_t bound1, int32_t bound2);

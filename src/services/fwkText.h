// Small text helpers shared by the framework's modules (not part of any module's surface).
#pragma once

#include <cstdint>
#include <string>

// ASCII upper case; other bytes unchanged, as names are compared throughout the framework.
std::string TextUpper(const std::string& text);
bool TextSameIgnoringCase(const std::string& a, const std::string& b);
// The text between double quotes, as the log's messages name files and values.
std::string TextQuoted(const std::string& text);
// Converts text that passes UtilIsInteger; false when it does not or does not fit 32 bits.
bool TextToInteger(const std::string& text, int32_t& value);

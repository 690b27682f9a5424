// Small text helpers of the game's readers.
#pragma once

#include <cstdint>
#include <string>

// A decimal integer: an optional leading "-" and at least one digit, nothing else. Values
// beyond 32 bits saturate, so a huge number still compares as huge.
bool GameParseInteger(const std::string& text, int32_t& value);
// "a,b": two decimal integers cut at the first comma.
bool GameParsePair(const std::string& text, int32_t& first, int32_t& second);
std::string GameTrim(const std::string& text);
std::string GameUpper(const std::string& text);

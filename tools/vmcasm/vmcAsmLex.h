// Splits one line of the script text form into tokens.
#pragma once

#include <string>
#include <vector>

enum class vmcTokenKind { word, string, reference, comma, label };

struct vmcToken {
  vmcTokenKind kind;
  std::string text;  // strings decoded, references without their brackets, labels without ':'
};

// False with a message for an unterminated string or reference or a bad escape.
bool VmcLexLine(const std::string& line, std::vector<vmcToken>& tokens, std::string& error);

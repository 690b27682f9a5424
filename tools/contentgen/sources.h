#pragma once
// Reading the art sources: line-oriented text where blanks separate tokens, double quotes keep
// a token with blanks together (content paths), and a line starting with "#" is a comment.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct SourceLine {
  std::string file;
  int number = 0;
  std::string text;                 // the line as written, for picture rows
  std::vector<std::string> tokens;  // the line split into words
};

// Raised for any mistake in an art source; the message names the file and line.
struct SourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<SourceLine> SourceRead(const std::string& path);
[[noreturn]] void SourceFail(const SourceLine& line, const std::string& what);
double SourceNumber(const SourceLine& line, const std::string& token);
int SourceInteger(const SourceLine& line, const std::string& token);
// "key=value" words after the first `from` tokens; a word without "=" is a flag with value "1".
std::map<std::string, std::string> SourceKeys(const SourceLine& line, size_t from);

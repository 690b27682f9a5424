#include "vmcAsmLex.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool LexString(const std::string& line, size_t& i, std::string& text, std::string& error) {
  ++i;
  while (i < line.size() && line[i] != '"') {
    char c = line[i++];
    if (c != '\\') {
      text += c;
      continue;
    }
    if (i >= line.size()) break;
    const char escape = line[i++];
    switch (escape) {
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      case 't': text += '\t'; break;
      case '0': text += '\0'; break;
      case '\\': text += '\\'; break;
      case '"': text += '"'; break;
      case 'x': {
        const int high = i < line.size() ? HexDigit(line[i]) : -1;
        const int low = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        if (high < 0 || low < 0) {
          error = "\\x needs two hexadecimal digits";
          return false;
        }
        text += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default: error = std::string("unknown escape \\") + escape; return false;
    }
  }
  if (i >= line.size()) {
    error = "string not closed";
    return false;
  }
  ++i;
  return true;
}

bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool VmcLexLine(const std::string& line, std::vector<vmcToken>& tokens, std::string& error) {
  tokens.clear();
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (Space(c)) {
      ++i;
    } else if (c == ';') {
      break;
    } else if (c == ',') {
      tokens.push_back({vmcTokenKind::comma, ","});
      ++i;
    } else if (c == '"') {
      std::string text;
      if (!LexString(line, i, text, error)) return false;
      tokens.push_back({vmcTokenKind::string, text});
    } else if (c == '[') {
      const size_t close = line.find(']', i);
      if (close == std::string::npos) {
        error = "stack reference not closed with ]";
        return false;
      }
      tokens.push_back({vmcTokenKind::reference, line.substr(i + 1, close - i - 1)});
      i = close + 1;
    } else {
      const size_t start = i;
      while (i < line.size() && !Space(line[i]) && line[i] != ',' && line[i] != ';' &&
             line[i] != '"' && line[i] != '[')
        ++i;
      std::string word = line.substr(start, i - start);
      if (tokens.empty() && word.size() > 1 && word.back() == ':') {
        word.pop_back();
        tokens.push_back({vmcTokenKind::label, word});
      } else {
        tokens.push_back({vmcTokenKind::word, word});
      }
    }
  }
  return true;
}

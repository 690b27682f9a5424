#include "sources.h"

#include <cmath>
#include <fstream>

std::vector<SourceLine> SourceRead(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw SourceError("cannot open art source " + path);
  std::vector<SourceLine> lines;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    SourceLine line{path, number, text, {}};
    std::string token;
    bool quoted = false, any = false;
    for (char c : text) {
      if (c == '"') {
        quoted = !quoted;
        any = true;
      } else if (!quoted && (c == ' ' || c == '\t')) {
        if (any) line.tokens.push_back(token);
        token.clear();
        any = false;
      } else {
        token += c;
        any = true;
      }
    }
    if (any) line.tokens.push_back(token);
    if (quoted) SourceFail(line, "unclosed quote");
    lines.push_back(std::move(line));
  }
  return lines;
}

void SourceFail(const SourceLine& line, const std::string& what) {
  throw SourceError(line.file + ":" + std::to_string(line.number) + ": " + what);
}

double SourceNumber(const SourceLine& line, const std::string& token) {
  size_t used = 0;
  double value = 0;
  try {
    value = std::stod(token, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  // Art sizes are small: the bound keeps every later conversion to an integer defined.
  if (used == 0 || used != token.size() || !std::isfinite(value) || std::fabs(value) > 1e6)
    SourceFail(line, "not a number (or beyond a million): " + token);
  return value;
}

int SourceInteger(const SourceLine& line, const std::string& token) {
  const double value = SourceNumber(line, token);
  if (value != std::floor(value)) SourceFail(line, "not an integer: " + token);
  return static_cast<int>(value);
}

std::map<std::string, std::string> SourceKeys(const SourceLine& line, size_t from) {
  std::map<std::string, std::string> keys;
  for (size_t i = from; i < line.tokens.size(); ++i) {
    const std::string& t = line.tokens[i];
    const size_t eq = t.find('=');
    if (eq == std::string::npos)
      keys[t] = "1";
    else
      keys[t.substr(0, eq)] = t.substr(eq + 1);
  }
  return keys;
}

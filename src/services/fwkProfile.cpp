#include "services/fwkProfile.h"

#include "platform/platform_system.h"
#include "services/fwkText.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// Settings files are small; a larger file is read only this far and never rewritten, so a
// hostile file cannot make the program allocate without limit nor lose its tail.
constexpr size_t fileLimit = 16u << 20;

enum class Load { missing, ok, failed };

Load LoadLines(const std::string& path, std::vector<std::string>& lines,
               std::string* bytes = nullptr) {
  lines.clear();
  if (!PlatformFileExists(path)) return Load::missing;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return Load::failed;
  std::string content;
  char buffer[65536];
  size_t got = 0;
  while (content.size() <= fileLimit && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    content.append(buffer, got);
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) return Load::failed;
  const bool tooLarge = content.size() > fileLimit;
  if (tooLarge) content.resize(fileLimit);
  if (bytes != nullptr) *bytes = content;

  size_t begin = 0;
  while (begin < content.size()) {
    size_t end = content.find('\n', begin);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    begin = end + 1;
  }
  return tooLarge ? Load::failed : Load::ok;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
  const auto close = trimmed.find(']');
  return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

bool IsKey(const std::string& line, const std::string& key, std::string* value) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return false;
  if (!TextSameIgnoringCase(Trim(line.substr(0, equals)), key)) return false;
  if (value != nullptr) *value = line.substr(equals + 1);
  return true;
}

// Index of the first header of section, or lines.size().
size_t FindSection(const std::vector<std::string>& lines, const std::string& section) {
  const std::string wanted = Trim(section);
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (name && TextSameIgnoringCase(*name, wanted)) return i;
  }
  return lines.size();
}

// A line break inside a name or value would split it into other lines of the file.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

bool WriteFile(const std::string& path, const std::string& content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace

std::string ProfileRead(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& def) {
  std::vector<std::string> lines;
  if (LoadLines(path, lines) == Load::missing) return def;
  const std::string wantedKey = Trim(key);
  for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
    if (SectionName(lines[i])) break;
    std::string value;
    if (IsKey(lines[i], wantedKey, &value)) {
      value = Unquote(Trim(value));
      if (value.size() > profileValueLimit) value.resize(profileValueLimit);
      return value;
    }
  }
  return def;
}

bool ProfileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value) {
  // The replace happens where a link points, so the link stays and its target gets the value.
  const std::string target = PlatformWriteTarget(path);
  if (!PlatformCanReplaceFile(target)) return false;
  std::vector<std::string> lines;
  std::string before;
  const Load loaded = LoadLines(target, lines, &before);
  if (loaded == Load::failed) return false;

  const std::string cleanSection = Trim(OneLine(section));
  const std::string cleanKey = Trim(OneLine(key));
  const std::string cleanValue = OneLine(value);
  const size_t header = FindSection(lines, cleanSection);
  if (header == lines.size()) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + cleanSection + "]");
    lines.push_back(cleanKey + "=" + cleanValue);
  } else {
    size_t insertAt = header + 1;
    bool replaced = false;
    for (size_t i = header + 1; i < lines.size() && !SectionName(lines[i]); ++i) {
      if (IsKey(lines[i], cleanKey, nullptr)) {
        // The name keeps the spelling the file gave it.
        lines[i] = Trim(lines[i].substr(0, lines[i].find('='))) + "=" + cleanValue;
        replaced = true;
        break;
      }
      if (!Trim(lines[i]).empty()) insertAt = i + 1;
    }
    if (!replaced)
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   cleanKey + "=" + cleanValue);
  }

  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  // Settings are saved key by key at every exit, mostly with the values they already have: a
  // file that would come out the same is left alone rather than rewritten.
  if (loaded == Load::ok && content == before) return true;
  const std::string temporary = target + ".tmp";
  if (!WriteFile(temporary, content) || !PlatformReplaceFile(temporary, target)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

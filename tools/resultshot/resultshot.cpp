// resultshot SCREENSHOT.bmp CONTENT_FOLDER: prints "won" or "died" when the screenshot shows
// that result screen (exit code 0), "neither" otherwise (exit code 1).
#include <cstdio>
#include <fstream>
#include <sstream>

#include "resultScreen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resultshot SCREENSHOT.bmp CONTENT_FOLDER\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  const std::string result = ResultScreenOf(bytes.str(), argv[2]);
  std::printf("%s\n", result.empty() ? "neither" : result.c_str());
  return result.empty() ? 1 : 0;
}

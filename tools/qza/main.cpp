#include <cstdio>
#include <string>
#include <vector>

#include "qza.h"

namespace {

int usage() {
  std::fputs(
      "usage: qza pack FOLDER OUT.qza       pack every file below FOLDER\n"
      "       qza list ARCHIVE              size, a tab and the name of each entry\n"
      "       qza extract ARCHIVE FOLDER    write every entry below FOLDER\n"
      "       qza cat DATAFOLDER NAME       NAME as the program reads it from DATAFOLDER\n",
      stderr);
  return 2;
}

}  // namespace

int QzaFail(const std::string& message) {
  std::fprintf(stderr, "qza: %s\n", message.c_str());
  return 1;
}

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "pack") return QzaPack(args[1], args[2]);
  if (args.size() == 2 && args[0] == "list") return QzaList(args[1]);
  if (args.size() == 3 && args[0] == "extract") return QzaExtract(args[1], args[2]);
  if (args.size() == 3 && args[0] == "cat") return QzaCat(args[1], args[2]);
  return usage();
}

// fot: builds ".fot" bitmap fonts from TrueType fonts with FreeType, and describes them.
//   fot build FONT.ttf PIXELS FIRST LAST OUT.fot [--name NAME]
//   fot info FILE
#include "fotBuild.h"
#include "fotInfo.h"

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Usage() {
  std::cerr << "usage: fot build FONT.ttf PIXELS FIRST LAST OUT.fot [--name NAME]\n"
               "       fot info FILE\n";
  return 2;
}

bool ToNumber(const std::string& text, int32_t& value) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "fot: " << message << "\n";
  return 1;
}

int Build(const std::vector<std::string>& args) {
  if (args.size() != 5 && !(args.size() == 7 && args[5] == "--name")) return Usage();
  int32_t pixels, first, last;
  if (!ToNumber(args[1], pixels) || !ToNumber(args[2], first) || !ToNumber(args[3], last))
    return Usage();
  fotFont font;
  std::string error;
  if (!FotRender(args[0], pixels, first, last, font, error)) return Fail(error);
  if (args.size() == 7) {
    if (args[6].size() > 255) return Fail("the font name is longer than 255 characters");
    font.header.name = args[6];
  }
  std::vector<fontFileImage> images;
  if (!FotPack(font, images, error)) return Fail(error);
  const std::string bytes = FotWrite(font, images);
  std::ofstream out(args[4], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Fail("cannot write " + args[4]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "build") return Build(args);
  if (command == "info" && args.size() == 1) {
    std::string report, error;
    if (!FotInfo(args[0], report, error)) return Fail(error);
    std::cout << report;
    return 0;
  }
  return Usage();
}

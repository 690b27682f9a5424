// contentgen: makes every picture and exposure sheet of the game from the text sources in the
// art folder. The same sources always give the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "art.h"
#include "preview.h"
#include "sources.h"

#ifndef CONTENTGEN_ART_DIR
#define CONTENTGEN_ART_DIR "content/art"
#endif

namespace {

int Usage() {
  std::cerr << "usage: contentgen [--art FOLDER] OUTPUT-FOLDER\n"
               "       contentgen [--art FOLDER] --list\n"
               "       contentgen [--art FOLDER] --preview-scene FILE.tga\n"
               "       contentgen [--art FOLDER] --preview-sheets FILE.tga [PATH-PART]\n";
  return 2;
}

std::string DiskPath(const std::string& folder, const std::string& contentPath) {
  std::string path = contentPath;
  for (char& c : path)
    if (c == '\\') c = '/';
  return folder + "/" + path;
}

bool WriteAll(const std::string& folder, const std::vector<Output>& outputs) {
  for (const Output& o : outputs) {
    const std::string path = DiskPath(folder, o.path);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    bool ok = !error;
    if (ok && o.isText) {
      std::ofstream out(path, std::ios::binary);
      out << o.text;
      ok = static_cast<bool>(out);
    } else if (ok) {
      ok = RasterWriteTga(o.image, path, o.bits);
    }
    if (!ok) {
      std::cerr << "contentgen: cannot write " << path << "\n";
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string artFolder = CONTENTGEN_ART_DIR;
  if (args.size() >= 2 && args[0] == "--art") {
    artFolder = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  try {
    Art art = ArtLoad(artFolder);
    std::vector<Output> outputs;
    for (const char* file : {"tiles.txt", "screens.txt"}) ArtPictures(art, file, outputs);
    ArtSheets(art, outputs);
    if (args[0] == "--list" && args.size() == 1) {
      for (const Output& o : outputs) std::cout << o.path << "\n";
      return 0;
    }
    if (args[0] == "--preview-scene" && args.size() == 2)
      return RasterWriteTga(PreviewScene(art, outputs), args[1]) ? 0 : 1;
    if (args[0] == "--preview-sheets" && (args.size() == 2 || args.size() == 3))
      return RasterWriteTga(PreviewSheets(art, outputs, args.size() == 3 ? args[2] : ""), args[1])
                 ? 0
                 : 1;
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) return Usage();
    return WriteAll(args[0], outputs) ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "contentgen: " << e.what() << "\n";
    return 1;
  }
}

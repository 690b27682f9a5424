// vmcasm IN OUT.vmc: assembles a script; errors go to stderr as "file:line: message".
#include <fstream>
#include <iostream>
#include <iterator>

#include "vmcAsm.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vmcasm IN OUT.vmc\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  if (!VmcAssemble(text, argv[1], bytes, errors)) {
    for (const std::string& error : errors) std::cerr << error << '\n';
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::cerr << argv[2] << ": cannot be written\n";
    return 1;
  }
  return 0;
}

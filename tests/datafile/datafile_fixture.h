// A data folder of its own for each test: the program's folder is pointed at it, files and
// archives are written into it, and the data-file module is started on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets the command line (arguments and "-userdatainapp") and the program folder, then
  // starts utilities and data files.
  void Start(const std::vector<std::string>& arguments = {});
  // Writes a file below the data folder ('/' separates folders), creating folders.
  void Write(const std::string& relative, const std::string& bytes);
  void Remove(const std::string& relative);
  std::string Path(const std::string& relative) const;

  // Everything left in the handle, read with DataFileReadPartial.
  static std::string ReadRest(int32_t handle);
  // Open, read whole, close; "<not found>" when the open fails.
  static std::string ReadFile(const std::string& name);

  std::filesystem::path folder;
};

// Bytes that differ from position to position, so a misplaced read shows.
std::string Pattern(size_t size, uint32_t seed);
// Number of this process's open file descriptors on the file at path (on Windows 1 or 0).
int OpenDescriptors(const std::string& path);

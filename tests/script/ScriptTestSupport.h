// Scripts for the tests: assembled from text by the real assembler and loaded from the bytes
// or from files in the sandbox's program folder. "Report" is an application routine that
// records the top stack slot as "i:5", "b:true" or "s:text".
#pragma once

#include <string>
#include <vector>

#include "script/fwkScript.h"
#include "services/sandbox.h"

#include <gtest/gtest.h>

class ScriptTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Assembles and loads; fails the test on assembler errors.
  int32_t Load(const std::string& text, const std::string& fileName = "test.vmc");
  std::vector<uint8_t> Assemble(const std::string& text);
  // Runs body as a start-up thread to its end in one step and returns what it reported.
  std::vector<std::string> Run(const std::string& body, int32_t version = 9);
  std::vector<std::string> LogLines() const;

  Sandbox box;
};

extern std::vector<std::string> reported;

std::string Describe(const parameter& value);

#include "services/fwkText.h"

#include <gtest/gtest.h>

namespace {

// Names of textures, fonts and data files are compared this way: only ASCII letters fold, so a
// byte of a UTF-8 name never matches another byte, and a prefix is not a match.
TEST(Text, SameIgnoringCaseFoldsOnlyAsciiLettersOverTheWholeText) {
  EXPECT_TRUE(TextSameIgnoringCase("Bin\\Fonts\\Menu.fot", "BIN\\fonts\\menu.FOT"));
  EXPECT_TRUE(TextSameIgnoringCase("", ""));
  EXPECT_FALSE(TextSameIgnoringCase("Menu", "Menu.fot"));
  EXPECT_FALSE(TextSameIgnoringCase("Menu.fot", "Menu"));
  EXPECT_FALSE(TextSameIgnoringCase("[", "{"));  // 0x5B and 0x7B differ by the case bit
  EXPECT_FALSE(TextSameIgnoringCase("\xC3\xA9", "\xC3\x89"));  // é and É stay apart
  EXPECT_TRUE(TextSameIgnoringCase("\xD0\x96z", "\xD0\x96Z"));
  EXPECT_EQ(TextUpper("a\xC3\xA9z"), "A\xC3\xA9Z");
}

TEST(Text, QuotedPutsTheTextBetweenDoubleQuotesAsItIs) {
  EXPECT_EQ(TextQuoted("Bin\\Mats\\Big.mat"), "\"Bin\\Mats\\Big.mat\"");
  EXPECT_EQ(TextQuoted(""), "\"\"");
  EXPECT_EQ(TextQuoted("say \"hi\""), "\"say \"hi\"\"");
}

}  // namespace

// The string table and the fixed message formats.
#include <gtest/gtest.h>

#include "common/Strings.h"
#include "common/Utf8.h"

namespace twr {
namespace {

TEST(Strings, TableTextsAndFormats) {
  EXPECT_STREQ(StringText(kStrFinishBurning), "Finish Burning.");
  EXPECT_STREQ(StringText(kStrDriveNotFound), "Etchlume Drive is not found.");
  EXPECT_STREQ(StringText(kStrEnterNumber), "Please enter a number.");
  EXPECT_STREQ(StringText(12345), "");
  EXPECT_EQ(MainWindowTitle(), "Titlewright  Version 1.2.0E");
  EXPECT_EQ(WritingErrorText(0x05, 0x21, 0x00), "Writing Error[Sense=5,Asc=21,Ascq=0]");
  EXPECT_EQ(WritingErrorText(0x82, 0x04, 0x08), "Writing Error[Sense=82,Asc=4,Ascq=8]");
}

TEST(Utf8, CutsNeverSplitACharacter) {
  EXPECT_EQ(Utf8Cut("abcdef", 4), "abcd");
  EXPECT_EQ(Utf8Cut("abc", 4), "abc");
  // "aé" is 61 C3 A9: a cut after two bytes would split the é.
  EXPECT_EQ(Utf8Cut("a\xC3\xA9z", 2), "a");
  EXPECT_EQ(Utf8Cut("a\xC3\xA9z", 3), "a\xC3\xA9");
  // A four-byte character (U+1F4BF) cut anywhere inside is dropped whole.
  const std::string disc = "x\xF0\x9F\x92\xBF";
  for (std::size_t n = 1; n < 5; ++n) EXPECT_EQ(Utf8Cut(disc, n), "x") << n;
  EXPECT_EQ(Utf8Cut(disc, 5), disc);
  // Stray continuation bytes are cut bytewise.
  EXPECT_EQ(Utf8Cut("\x80\x80\x80", 2), "\x80\x80");
}

}  // namespace
}  // namespace twr

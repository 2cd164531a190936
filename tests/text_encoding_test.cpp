#include <gtest/gtest.h>

#include "base/text_encoding.h"

namespace netglobe {
namespace {

TEST(Tocp1252, Utf8BodyIsReencoded) {
  EXPECT_EQ(tocp1252("J\xC3\xB6rg M\xC3\xBCller"), "J\xF6rg M\xFCller");
  EXPECT_EQ(tocp1252("\xE2\x82\xAC 5"), "\x80 5");          // euro sign
  EXPECT_EQ(tocp1252("\xC5\xA0koda"), "\x8Akoda");          // S with caron
  EXPECT_EQ(tocp1252("\xE6\x9D\xB1\xE4\xBA\xAC"), "??");    // not in windows-1252
  EXPECT_EQ(tocp1252("\xF0\x9F\x98\x80!"), "?!");           // outside the BMP
  EXPECT_EQ(tocp1252("plain ascii:1:2:"), "plain ascii:1:2:");
}

TEST(Tocp1252, AnythingElseIsTakenAsWindows1252) {
  const std::string latin = "J\xF6rg M\xFCller \x80";
  EXPECT_EQ(tocp1252(latin), latin);
  // One stray byte makes the whole body windows-1252, also its valid parts.
  const std::string mixed = "\xC3\xB6 and \xFC";
  EXPECT_EQ(tocp1252(mixed), mixed);
  EXPECT_FALSE(isvalidutf8("\xC3"));          // cut sequence
  EXPECT_FALSE(isvalidutf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(isvalidutf8("\xED\xA0\x80"));  // surrogate
  EXPECT_TRUE(isvalidutf8(""));
}

TEST(Cp1252toutf8, RoundTripsEveryAssignedByte) {
  for (int b = 0x20; b <= 0xFF; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = cp1252toutf8(one);
    ASSERT_TRUE(isvalidutf8(utf8)) << b;
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    EXPECT_EQ(tocp1252(utf8), one) << b;
  }
  EXPECT_EQ(cp1252toutf8("\x80"), "\xE2\x82\xAC");
}

TEST(Fieldtext1252, NamesBecomeOneFieldOfNearestLetters) {
  EXPECT_EQ(fieldtext1252("H\xE1\xBB\x93 Ch\xC3\xAD Minh"), "H\xF4 Ch\xED Minh");
  EXPECT_EQ(fieldtext1252("\xC5\x81\xC3\xB3" "d\xC5\xBA\r\nA:B"), "L\xF3" "dz A - B");
  EXPECT_EQ(fieldtext1252("  Zu\xCC\x88rich \xE2\x80\x93\xC2\xA0\xE5\x8C\x97\xE4\xBA\xAC  "),
            "Z\xFCrich \x96 ??");
  EXPECT_EQ(fieldtext1252("x\xCC\x81 \xC5\x91 \xE1\xBA\xBF"), "x o \xEA");
}

}  // namespace
}  // namespace netglobe

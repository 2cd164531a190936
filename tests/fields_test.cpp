#include <gtest/gtest.h>

#include <string>

#include "base/fields.h"

namespace netglobe {
namespace {

TEST(Getfields, SplitsAndTerminates) {
  FieldBuf buf;
  buf(3) = "stale";
  getfields("AB:CD", buf);
  EXPECT_EQ(buf(1), "AB");
  EXPECT_EQ(buf(2), "CD");
  EXPECT_EQ(buf(3), "");

  getfields("x:", buf);
  EXPECT_EQ(buf(1), "x");
  EXPECT_EQ(buf(2), "");
  EXPECT_EQ(buf(3), "");

  getfields("a::b", buf);
  EXPECT_EQ(buf(2), "");
  EXPECT_EQ(buf(3), "b");
}

TEST(Getfields, ShorterLineLeavesLaterPositionsOfTheLongerOne) {
  FieldBuf buf;
  std::string longline;
  for (int i = 1; i <= 40; ++i) longline += "f" + std::to_string(i) + (i < 40 ? ":" : "");
  getfields(longline, buf);
  getfields("a:b:c:d:e:f:g:h:i:j", buf);
  EXPECT_EQ(buf(10), "j");
  EXPECT_EQ(buf(11), "");
  EXPECT_EQ(buf(12), "f12");
  EXPECT_EQ(buf(40), "f40");
}

TEST(Getfields, EmptyLineClearsOnlyPositionOne) {
  FieldBuf buf;
  getfields("a:b:c", buf);
  getfields("", buf);
  EXPECT_EQ(buf(1), "");
  EXPECT_EQ(buf(2), "b");
  EXPECT_EQ(buf(3), "c");
}

TEST(Getfields, OverlongLineKeepsNinetyNineFieldsAndNeverFails) {
  FieldBuf buf;
  std::string line;
  for (int i = 1; i <= 150; ++i) line += std::to_string(i) + ":";
  getfields(line, buf);
  EXPECT_EQ(buf(1), "1");
  EXPECT_EQ(buf(99), "99");
  EXPECT_EQ(buf(100), "");

  // Exactly 100 pieces: the terminator would need position 101.
  std::string hundred;
  for (int i = 1; i <= 100; ++i) hundred += (i > 1 ? ":" : "") + std::to_string(i);
  getfields(hundred, buf);
  EXPECT_EQ(buf(99), "99");
  EXPECT_EQ(buf(100), "");

  // 99 pieces split cleanly with the terminator at 100.
  std::string ninetynine;
  for (int i = 1; i <= 99; ++i) ninetynine += (i > 1 ? ":" : "") + std::string("v") + std::to_string(i);
  getfields(ninetynine, buf);
  EXPECT_EQ(buf(99), "v99");
  EXPECT_EQ(buf(100), "");
}

TEST(Getfields2, SplitsAtTheFirstColonOnly) {
  FieldBuf buf;
  buf(3) = "keep";
  ASSERT_TRUE(getfields2("12.5:-3.25", buf));
  EXPECT_EQ(buf(1), "12.5");
  EXPECT_EQ(buf(2), "-3.25");
  EXPECT_EQ(buf(3), "keep");

  ASSERT_TRUE(getfields2("a:b:c", buf));
  EXPECT_EQ(buf(1), "a");
  EXPECT_EQ(buf(2), "b:c");

  ASSERT_TRUE(getfields2(":", buf));
  EXPECT_EQ(buf(1), "");
  EXPECT_EQ(buf(2), "");
}

TEST(Getfields2, LineWithoutColonIsRejectedUntouched) {
  FieldBuf buf;
  getfields2("1:2", buf);
  EXPECT_FALSE(getfields2("end", buf));
  EXPECT_EQ(buf(1), "1");
  EXPECT_EQ(buf(2), "2");
}

}  // namespace
}  // namespace netglobe

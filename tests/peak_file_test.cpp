#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "feed/peak_file.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

TEST(PeakFile, ReadsOnlyTodaysPeak) {
  TempFolder folder;
  const std::string path = folder.file(kPeakFileName);
  const std::string today = "2026-03-14";
  EXPECT_EQ(readpeak(path, today), 1);  // no file

  const struct {
    const char* content;
    int peak;
  } cases[] = {
      {"260\r\n2026-03-14\r\n21:07:33\r\n", 260},
      {" 260 \r\n 2026-03-14 \r\n", 260},
      {"2 60\n2026-03-14", 260},  // blanks inside the number are ignored too
      {"260\r\n2026-03-13\r\n21:07:33\r\n", 1},  // yesterday
      {"260\r\n14.03.2026\r\n21:07:33\r\n", 1},  // a date of another form
      {"", 1},
      {"260\r\n", 1},
      {"many\r\n2026-03-14\r\n", 0},
      {"-5\r\n2026-03-14\r\n", 0},
      {"1e30\r\n2026-03-14\r\n", 2147483647},
  };
  for (const auto& c : cases) {
    folder.write(kPeakFileName, c.content);
    EXPECT_EQ(readpeak(path, today), c.peak) << c.content;
  }

  EXPECT_EQ(writepeak(path, 300, {"2026-03-14", "23:59:59"}), "");
  EXPECT_EQ(folder.read(kPeakFileName), "300\r\n2026-03-14\r\n23:59:59\r\n");
  EXPECT_EQ(readpeak(path, today), 300);
}

TEST(PeakFile, KeptAcrossRestartsAndWrittenWhenRaised) {
  TempFolder folder;
  PeakFile first(folder.path());
  EXPECT_EQ(first.laden(), 1);
  first.keep(1);  // not above what the day holds: nothing written
  EXPECT_FALSE(std::filesystem::exists(folder.file(kPeakFileName)));

  first.keep(212);
  // A program that ends without its shutdown still leaves the raised peak.
  EXPECT_EQ(PeakFile(folder.path()).laden(), 212);
  first.keep(150);
  EXPECT_EQ(PeakFile(folder.path()).laden(), 212);
  first.speichern(240);

  PeakFile second(folder.path());
  EXPECT_EQ(second.laden(), 240);
  // Only the file itself is left: every temporary one was renamed into place.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()), 1);

  // A folder that cannot be written leaves no file and reports nothing.
  PeakFile nowhere(folder.file("missing/dir"));
  EXPECT_EQ(nowhere.laden(), 1);
  nowhere.keep(5);
  nowhere.speichern(5);
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

}  // namespace
}  // namespace netglobe

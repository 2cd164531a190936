#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/line_reader.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

std::vector<std::string> readall(LineReader reader) {
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(line)) lines.push_back(line);
  return lines;
}

// A file and the same text in memory read alike.
TEST(LineReader, LineEndsOfEveryKind) {
  TempFolder folder;
  using V = std::vector<std::string>;
  const auto lines = [&folder](const std::string& text) {
    const V fromtext = readall(LineReader::fromtext(text));
    EXPECT_EQ(readall(LineReader(folder.write("file", text))), fromtext) << text;
    return fromtext;
  };
  EXPECT_EQ(lines("a\nb\n"), (V{"a", "b"}));
  EXPECT_EQ(lines("a\r\nb\r\n"), (V{"a", "b"}));
  // A stored copy of a CR LF body ends its lines in CR CR LF: one CR stays.
  EXPECT_EQ(lines("a\r\r\nb\r\r\n"), (V{"a\r", "b\r"}));
  EXPECT_EQ(lines("a\nlast"), (V{"a", "last"}));
  EXPECT_EQ(lines(""), V{});
  EXPECT_EQ(lines("\n\n"), (V{"", ""}));
  EXPECT_EQ(lines("a\rb\n"), (V{"a\rb"}));
  EXPECT_EQ(lines("\r"), (V{"\r"}));
  EXPECT_EQ(lines(std::string("a\0b\n", 4)), (V{std::string("a\0b", 3)}));
}

TEST(LineReader, MissingFileReadsNothing) {
  LineReader reader("/nonexistent/folder/file.txt");
  std::string line = "x";
  EXPECT_FALSE(reader.isopen());
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(line, "");
  EXPECT_EQ(reader.openfailure(), "cannot open /nonexistent/folder/file.txt: No such file or directory");
}

}  // namespace
}  // namespace netglobe

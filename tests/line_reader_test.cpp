#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/line_reader.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

std::vector<std::string> readall(const std::string& path) {
  LineReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(line)) lines.push_back(line);
  return lines;
}

TEST(LineReader, LineEndsOfEveryKind) {
  TempFolder folder;
  using V = std::vector<std::string>;
  EXPECT_EQ(readall(folder.write("lf", "a\nb\n")), (V{"a", "b"}));
  EXPECT_EQ(readall(folder.write("crlf", "a\r\nb\r\n")), (V{"a", "b"}));
  // A stored copy of a CR LF body ends its lines in CR CR LF: one CR stays.
  EXPECT_EQ(readall(folder.write("crcrlf", "a\r\r\nb\r\r\n")), (V{"a\r", "b\r"}));
  EXPECT_EQ(readall(folder.write("nolf", "a\nlast")), (V{"a", "last"}));
  EXPECT_EQ(readall(folder.write("empty", "")), V{});
  EXPECT_EQ(readall(folder.write("blank", "\n\n")), (V{"", ""}));
  EXPECT_EQ(readall(folder.write("lonecr", "a\rb\n")), (V{"a\rb"}));
  EXPECT_EQ(readall(folder.write("nul", std::string("a\0b\n", 4))), (V{std::string("a\0b", 3)}));
}

TEST(LineReader, MissingFileReadsNothing) {
  LineReader reader("/nonexistent/folder/file.txt");
  std::string line = "x";
  EXPECT_FALSE(reader.isopen());
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(line, "");
}

}  // namespace
}  // namespace netglobe

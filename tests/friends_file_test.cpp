#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "refdata/friends_file.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

using Ids = std::vector<std::string>;

TEST(FriendsFile, ReplacesTheBuiltInCircleAndIsReadAgainOnlyWhenChanged) {
  TempFolder folder;
  FriendsFile friends(folder.path());
  const Ids builtin(friendids.begin(), friendids.end());
  ASSERT_TRUE(friends.refresh());
  EXPECT_EQ(friends.ids().ids(), builtin);
  EXPECT_FALSE(friends.refresh());

  folder.write("friends.txt", "\xEF\xBB\xBF# ours\r\n 123456 \r\n\r\n\t# off\r\nabc\r\n12 34\r\n654321");
  ASSERT_TRUE(friends.refresh());
  EXPECT_EQ(friends.ids().ids(), (Ids{"123456", "654321"}));
  ASSERT_EQ(friends.notes().size(), 2u);
  EXPECT_EQ(friends.notes()[0], "friends.txt line 5: \"abc\" is not a member id; skipped");
  EXPECT_NE(friends.notes()[1].find("line 6: \"12 34\""), std::string::npos);
  EXPECT_FALSE(friends.refresh());  // unchanged: not read, nothing to say again

  folder.write("friends.txt", "# nobody for now\n");
  ASSERT_TRUE(friends.refresh());
  EXPECT_TRUE(friends.ids().ids().empty());
  EXPECT_TRUE(friends.notes().empty());

  std::filesystem::remove(folder.file("friends.txt"));
  ASSERT_TRUE(friends.refresh());
  EXPECT_EQ(friends.ids().ids(), builtin);
}

}  // namespace
}  // namespace netglobe

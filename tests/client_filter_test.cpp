// The globe filter's query words, what they keep of a status copy, the file
// that keeps the filter across restarts, and who is said to come online.
#include <gtest/gtest.h>

#include <filesystem>

#include "lists/client_filter.h"
#include "lists/filter_file.h"
#include "lists/friends_online.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

using Keys = std::vector<FilterTerm::Key>;

Keys keysof(const FilterQuery& q) {
  Keys keys;
  for (const FilterTerm& t : q.terms) keys.push_back(t.key);
  return keys;
}

TEST(FilterQuery, ReadsEveryKeyLevelsInFlightLevelsAndFeetAndNamesWhatItCannotUse) {
  const FilterQuery q = parsefilter("  To:EGLL\tfrom:ed  TYPE:a32 above:FL300 below:10500 ATC pilot Dlh 1234 ");
  EXPECT_EQ(q.text, "To:EGLL from:ed TYPE:a32 above:FL300 below:10500 ATC pilot Dlh 1234");
  EXPECT_EQ(keysof(q), (Keys{FilterTerm::To, FilterTerm::From, FilterTerm::Type, FilterTerm::Above,
                             FilterTerm::Below, FilterTerm::Atc, FilterTerm::Pilot, FilterTerm::Word,
                             FilterTerm::Word}));
  EXPECT_EQ(q.terms[0].text, "egll");
  EXPECT_EQ(q.terms[3].feet, 30000);
  EXPECT_EQ(q.terms[4].feet, 10500);
  EXPECT_EQ(q.terms[7].text, "dlh");
  EXPECT_TRUE(q.problems.empty());
  EXPECT_EQ(filterproblemsnote(q), "");

  // Unusable words are left out, said, and filter nothing.
  const FilterQuery bad = parsefilter("dest:EGLL above:high below:FL to: above:FL3000000 dlh");
  EXPECT_EQ(keysof(bad), (Keys{FilterTerm::Word}));
  ASSERT_EQ(bad.problems.size(), 5u);
  EXPECT_EQ(bad.problems[0], "\"dest:EGLL\" is no filter word");
  EXPECT_EQ(bad.problems[1], "\"above:high\" needs a level such as FL300 or 30000");
  EXPECT_EQ(bad.problems[3], "\"to:\" needs a code after to:");
  EXPECT_NE(filterproblemsnote(bad).find("(they filter nothing)"), std::string::npos);
  EXPECT_TRUE(parsefilter(" \t ").empty());
}

// Header with the client marker on line 8, then the clients, then the next
// section, whose lines are never clients.
const std::string kCopy =
    "!GENERAL\n1\n2\n3\n4\n5\n6\n!CLIENTS\n"
    "BAW12:200001:Ann Example:PILOT::51.4:-0.4:36000:450:H/B744/L:480:KJFK:FL360:EGLL:\n"
    "DLH4AB:200002:Bert Muller:PILOT::50.1:8.6:30000:440:B738/M:450:EDDF:FL300:EGKK:\n"
    "DLH77:200003:Carla Dlhova:PILOT::50.0:8.5:29999:300:A320:450:EDDM:FL290:EDDF:\n"
    "N123:200004:Dan Longname:PILOT::40.0:-73.0:3000:120:C172/L:110:KJFK::EGLL:\n"
    "EGLL_TWR:300001:Eve Tower Person:ATC:118.5:51.47:-0.45:0:0::::::\n"
    "\n"
    "EDDF_APP:1234567:Fred Approach:ATC:119.0:50.0:8.5:0:0::::::\n"
    "!SERVERS\n"
    "EGLL_TWR:300001:Eve Tower Person:ATC:118.5:51.47:-0.45:0:0::::::\n";

std::vector<std::uint8_t> kept(const std::string& query) { return FilterIndex(LineReader::fromtext(kCopy)).match(parsefilter(query)); }
using Flags = std::vector<std::uint8_t>;

TEST(FilterIndex, KeepsTheClientsEveryWordMatches) {
  const FilterIndex index(LineReader::fromtext(kCopy));
  ASSERT_EQ(index.size(), 7u);  // the empty line is a client line too; the next section is not
  EXPECT_EQ(kept("to:EGLL"), (Flags{1, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(kept("to:eg"), (Flags{1, 1, 0, 1, 0, 0, 0}));  // a prefix, any case
  EXPECT_EQ(kept("from:ED"), (Flags{0, 1, 1, 0, 0, 0, 0}));
  // The type whatever the wake and equipment letters around it.
  EXPECT_EQ(kept("type:B7"), (Flags{1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(kept("type:L"), (Flags{0, 0, 0, 0, 0, 0, 0}));
  // above and below split the pilots at the level; stations have none.
  EXPECT_EQ(kept("above:FL300"), (Flags{1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(kept("below:30000"), (Flags{0, 0, 1, 1, 0, 0, 0}));
  EXPECT_EQ(kept("atc"), (Flags{0, 0, 0, 0, 1, 0, 1}));
  EXPECT_EQ(kept("pilot to:EGLL above:FL100"), (Flags{1, 0, 0, 0, 0, 0, 0}));
  // A plain word as the search: callsign or name anywhere, member id from its start.
  EXPECT_EQ(kept("dlh"), (Flags{0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(kept("12345"), (Flags{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(kept("23"), (Flags{0, 0, 0, 1, 0, 0, 0}));  // N123 by callsign, no id begins with 23
  // An unusable word filters nothing; the others still do.
  EXPECT_EQ(kept("nonsense:1"), (Flags{1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(kept("nonsense:1 atc"), kept("atc"));
}

TEST(FilterFile, KeepsTheQueryAndIgnoresADamagedFile) {
  TempFolder folder;
  const FilterFile file(folder.path());
  EXPECT_EQ(file.read().query, "");
  EXPECT_EQ(file.read().damage, "");
  ASSERT_EQ(file.write("to:EGLL type:A3\xE9"), "");
  EXPECT_EQ(file.read().query, "to:EGLL type:A3\xE9");
  ASSERT_EQ(file.write(""), "");
  EXPECT_FALSE(std::filesystem::exists(folder.file(kFilterFileName)));

  for (const std::string damaged : {"to:EGLL\n", "netglobe filter 1\nto:EGLL\nmore\n", "netglobe filter 1\nto:\x01\n", ""}) {
    folder.write(kFilterFileName, damaged);
    const StoredFilter stored = file.read();
    EXPECT_EQ(stored.query, "") << damaged;
    EXPECT_EQ(stored.damage, "filter.txt is damaged; ignored, no filter") << damaged;
  }
}

std::string clients(const std::string& lines) { return "!GENERAL\n1\n2\n3\n4\n5\n6\n" + lines + "!SERVERS\n"; }
const std::string kAnna = "DLH1:811402:Anna Friend:PILOT::51:12:35000:450:A320:450:EDDB:FL350:EDDT:\n";
const std::string kAnnaObs = "ANNA_OBS:811402:Anna Friend:ATC:199.998:51:12:0:0::::::\n";
const std::string kBen = "BER_TWR:1234567:Ben Friend Tower:ATC:118.7:52.5:13.3:0:0::::::\n";
const std::string kCarl = "AFR9:7654321:Carl Stranger:PILOT::48:2:1000:150:A320:450:LFPG::EGLL:\n";

TEST(FriendsOnline, NamesTheFriendsOnceAtFirstThenEachOneThatComesOnline) {
  FriendsOnline online;
  const FriendIds friends({"811402", "1234567"});
  FriendNews news = online.seen(LineReader::fromtext(clients(kAnna + kAnnaObs + kCarl)), friends);
  EXPECT_EQ(news.statusline, "friends online: DLH1 (Anna Friend)");
  EXPECT_EQ(news.notices, std::vector<std::string>{news.statusline});

  news = online.seen(LineReader::fromtext(clients(kAnna + kCarl + kBen)), friends);
  EXPECT_EQ(news.statusline, "BER_TWR (Ben Friend Tower) is online");
  EXPECT_EQ(news.notices, std::vector<std::string>{"BER_TWR (Ben Friend Tower) is online"});

  // Still online, or gone: nothing to say. Back after a refresh away: said again.
  EXPECT_EQ(online.seen(LineReader::fromtext(clients(kAnna + kBen)), friends).statusline, "");
  EXPECT_EQ(online.seen(LineReader::fromtext(clients(kBen)), friends).statusline, "");
  news = online.seen(LineReader::fromtext(clients(kAnnaObs + kBen + kAnna)), friends);
  EXPECT_EQ(news.statusline, "ANNA_OBS (Anna Friend) is online");  // one notice for one member

  // Someone online all along who becomes a friend did not come online.
  EXPECT_EQ(online.seen(LineReader::fromtext(clients(kAnna + kBen + kCarl)), friends).statusline, "");
  EXPECT_EQ(online.seen(LineReader::fromtext(clients(kAnna + kBen + kCarl)), FriendIds({"7654321"})).statusline, "");

  FriendsOnline alone;
  news = alone.seen(LineReader::fromtext(clients(kCarl)), friends);
  EXPECT_EQ(news.statusline, "no friends online");
  EXPECT_TRUE(news.notices.empty());
}

}  // namespace
}  // namespace netglobe

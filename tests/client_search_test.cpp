#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/client_index.h"
#include "lists/client_search.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

// A client line: callsign, member id, name, type, the position, and the
// observer text at position 36.
std::string client(const std::string& callsign, const std::string& id, const std::string& name,
                   const std::string& type = "PILOT", const std::string& lat = "50",
                   const std::string& lon = "10", const std::string& observer = "") {
  std::vector<std::string> f(40);
  f[0] = callsign, f[1] = id, f[2] = name, f[3] = type, f[5] = lat, f[6] = lon, f[35] = observer;
  std::string line;
  for (const std::string& s : f) line += s + ":";
  return line;
}

// A stored copy: the header with the client marker on line 8, the client
// lines, then the server section.
std::string copyof(const std::vector<std::string>& lines) {
  std::string text = "!GENERAL\nVERSION = 8\n3\n4\n5\n6\n7\n!CLIENTS\n";
  for (const std::string& line : lines) text += line + "\n";
  return text + "!SERVERS\nsrv1:1.2.3.4:Here:Srv:1:\n";
}

ClientIndex indexof(const std::vector<std::string>& lines) {
  const std::string text = copyof(lines);
  return ClientIndex(LineReader::fromtext(text));
}

std::vector<std::string> callsigns(const ClientSearch& s) {
  std::vector<std::string> out;
  for (const ClientMatch& m : s.matches) out.push_back(m.client.callsign);
  return out;
}

TEST(ClientSearch, BestRankFirstEachClientOnceCopyOrderWithin) {
  const ClientIndex index = indexof({
      client("XDLH1", "500001", "Ann Other"), client("DLH12", "500002", "Bob Pilot"),
      client("EDDB_TWR", "500003", "Cid Dlh1son", "ATC"),
      client("DLH1", "500004", "Dlh1 Again"),  // exact callsign and a name match: once, as exact
      client("BAW22", "500005", "Eve Pilot"), client("ADLH1", "500006", "Fay Later")});
  const ClientSearch s = searchclients(index, "  dLh1 ");
  EXPECT_TRUE(s.searched);
  EXPECT_EQ(callsigns(s), (std::vector<std::string>{"DLH1", "DLH12", "XDLH1", "ADLH1", "EDDB_TWR"}));
  EXPECT_EQ(s.total, 5u);
  EXPECT_EQ(s.matches[0].rank, MatchRank::Callsign);
  EXPECT_EQ(s.matches[1].rank, MatchRank::CallsignPrefix);
  EXPECT_EQ(s.matches[3].rank, MatchRank::CallsignPart);
  EXPECT_EQ(s.matches[4].rank, MatchRank::NamePart);
  EXPECT_EQ(searchfooter(s), "");

  // Digits also look at the member id: a callsign prefix still comes first.
  const ClientIndex ids = indexof({
      client("AB1000", "999999", "Gus Pilot"), client("ROOM", "555555", "Room 1000 Cafe"),
      client("CCC7", "100077", "Hal Pilot"), client("BBB7", "1000", "Ida Pilot"),
      client("1000X", "555556", "Jon Pilot"), client("DDD7", "21000", "Kay Pilot")});
  const ClientSearch d = searchclients(ids, "1000");
  EXPECT_EQ(callsigns(d), (std::vector<std::string>{"1000X", "BBB7", "CCC7", "AB1000", "ROOM"}));
  EXPECT_EQ(d.matches[1].rank, MatchRank::MemberId);
  EXPECT_EQ(d.matches[2].rank, MatchRank::MemberIdPrefix);
}

TEST(ClientSearch, TwentyListedAndHowManyMore) {
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    lines.push_back(client("DLH" + std::to_string(i), std::to_string(600000 + i), "Pilot Number"));
  }
  lines.push_back(client("BAW1", "700000", "Not This One"));
  lines.push_back(client("DLH", "700001", "The Exact One"));
  const ClientIndex index = indexof(lines);
  ASSERT_EQ(index.size(), 3002u);

  const ClientSearch s = searchclients(index, "dlh");
  ASSERT_EQ(s.matches.size(), kMaxMatches);
  EXPECT_EQ(s.total, 3001u);
  EXPECT_EQ(s.more(), 2981u);
  EXPECT_EQ(searchfooter(s), "2981 more");
  EXPECT_EQ(s.matches[0].client.name, "The Exact One");
  EXPECT_EQ(s.matches[1].client.callsign, "DLH0");
  EXPECT_EQ(s.matches[19].client.callsign, "DLH18");

  EXPECT_EQ(searchclients(index, "DLH2999").total, 1u);
  EXPECT_EQ(searchfooter(searchclients(index, "zzz")), "no match");
}

TEST(ClientIndex, KindsPositionsAndRows) {
  const ClientIndex index = indexof({
      client("DLH1", "811402", "Ann Example", "PILOT", "52.1", "-0.4"),
      client("EDDB_TWR", "100004", "Cid Tower", "ATC", "", "13.5"),
      client("ABC_OBS", "100009", "Hal Watcher", "ATC", "abc", "0", "ZELV Observer here"),
      client("NULL1", "100010", "Zero Zero Pilot", "PILOT", "0", "0"),  // 0 is a position
      client("FAR1", "100011", "Beyond The Pole", "PILOT", "95", "10"),
      client("FAR2", "100012", "Beyond The Seam", "PILOT", "10", "180.5"),
      "X:1:Y:PILOT:",  // type before character 16, cut short: a pilot by its type field
      client("", "100013", "No Callsign"), ""});
  ASSERT_EQ(index.size(), 7u);  // no line without a callsign, nothing of the server section
  EXPECT_EQ(index[0].place, (ClientPlace{52.1, -0.4}));
  EXPECT_EQ(index[3].place, (ClientPlace{0, 0}));
  for (std::size_t i : {1u, 2u, 4u, 5u, 6u}) EXPECT_FALSE(index[i].place) << index[i].callsign;
  EXPECT_EQ(searchrow(index[0]), "DLH1 PIL> Ann Example");
  EXPECT_EQ(searchrow(index[1]), "EDDB_TWR ATC> Cid Tower (no position)");
  EXPECT_EQ(searchrow(index[2]), "ABC_OBS OBS> Hal Watcher (no position)");
  EXPECT_EQ(searchrow(index[6]), "X PIL> Y (no position)");

  TempFolder folder;
  const ClientIndex missing(folder.file("whazzup.txt"));
  EXPECT_NE(missing.failure(), "");
  EXPECT_EQ(missing.size(), 0u);
  EXPECT_EQ(searchclients(missing, "a").total, 0u);
}

TEST(ClientSearch, AnyTextFindsWhatItCanAndNeverBreaks) {
  const std::string huge(3 << 20, 'q');
  const ClientIndex index = indexof({
      client("DLH1", "811402", "Hans M\xFC" "ller"),  // Müller in windows-1252
      client("OK1", "811403", "\x8A" "ime \xC9lise \x9F"),  // Šime Élise Ÿ
      client("BIG1", "811404", huge + "tail"), client("\xFF\x80\x01", "811405", "Raw Bytes")});
  // Letters of the code page match regardless of case; ß has no capital.
  EXPECT_EQ(callsigns(searchclients(index, "m\xDCLLER")), (std::vector<std::string>{"DLH1"}));
  EXPECT_EQ(callsigns(searchclients(index, "\x9A" "IME \xE9")), (std::vector<std::string>{"OK1"}));
  EXPECT_EQ(callsigns(searchclients(index, "qtail")), (std::vector<std::string>{"BIG1"}));
  EXPECT_EQ(callsigns(searchclients(index, "\xFF")), (std::vector<std::string>{"\xFF\x80\x01", "OK1"}));

  for (const std::string blank : {"", "   ", "\t "}) {
    const ClientSearch s = searchclients(index, blank);
    EXPECT_FALSE(s.searched);
    EXPECT_EQ(searchfooter(s), "");
  }
  std::vector<std::string> odd = {std::string(1 << 20, 'a'), huge + "tail!", "\n", std::string("a\0b", 3),
                                  ":", "DLH1:811402"};
  for (int c = 0; c < 256; ++c) odd.push_back(std::string(1, static_cast<char>(c)));
  for (const std::string& text : odd) {
    const ClientSearch s = searchclients(index, text);
    EXPECT_LE(s.matches.size(), s.total);
    if (text.size() > 2) {
      EXPECT_EQ(searchfooter(s), "no match") << text.size();
    }
  }
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include <string>

#include "feed/status_parser.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const std::string kHeader =
    "!GENERAL\nVERSION = 8\nRELOAD = 2\nUPDATE = 20261207101500\nCONNECTED CLIENTS = 9\n"
    "SERVERS = 2\n!CLIENTS\n";

std::string pilot(const std::string& callsign) {
  return callsign + ":100001:Jane Doe:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:";
}
std::string station(const std::string& callsign) {
  return callsign + ":100002:Tom Tower:ATC:118.100:52.3:13.5:0:0:";
}

StatusLists parse(const std::string& body, StatusLists lists = {}) {
  TempFolder folder;
  what2array(folder.write("whazzup.txt", body), lists);
  return lists;
}

TEST(What2array, SortsClientsAndWritesTheTitle) {
  const StatusLists l = parse(kHeader + pilot("DLH1") + "\n" + station("EDDB_TWR") + "\n" +
                              station("EDDB_GND") + "\n" + station("EDDB_APP") + "\n" +
                              station("EDWW_CTR") + "\n" + station("EDGG_FSS") + "\n" +
                              station("EDDB_ATIS") + "\n" + "\n" + "!SERVERS\n" + pilot("AFTER1") +
                              "\n");
  EXPECT_EQ(l.pilcount, 1);
  EXPECT_EQ(l.twrcount, 2);
  EXPECT_EQ(l.appcount, 1);
  EXPECT_EQ(l.ctrcount, 2);
  EXPECT_EQ(l.clicount, 8);  // the ATIS station and the empty line count as clients
  EXPECT_EQ(l.pillines[1], pilot("DLH1"));
  EXPECT_EQ(l.ctrlines[2], station("EDGG_FSS"));
  EXPECT_EQ(countstitle(l), " CTR=2 APP=1 TWR=2 PIL=1 CLI=8 TOP=8");
}

TEST(What2array, TypeFieldCountsWhereverItStartsAndTheWindowRuleReadsTheRest) {
  // Short callsigns and empty names put the type before character 16; a
  // long name puts it past character 70: each is still counted by its kind.
  const std::string far = "EDDB_TWR:123456:" + std::string(52, 'n') + ":ATC:";
  ASSERT_EQ(far.find(":ATC:") + 5, 73u);
  StatusLists l = parse(kHeader + "A_APP:1:x:ATC:\n" + "X_CTR:1::ATC::::\n" + "D1:1::PILOT::50:8:\n" +
                        far + "\n" + "EDDB_GND:1::ATC:\n");
  EXPECT_EQ(countstitle(l), " CTR=1 APP=1 TWR=2 PIL=1 CLI=5 TOP=5");
  EXPECT_EQ(l.pillines[1], "D1:1::PILOT::50:8:");
  // The type field decides: a pilot named ATC is no station.
  l = parse(kHeader + "DLH123AB:123456:ATC:PILOT:\n");
  EXPECT_EQ(l.pilcount, 1);
  EXPECT_EQ(l.twrcount + l.appcount + l.ctrcount, 0);
  // A colon in the name shifts the type out of position 4: the window
  // rule reads such a line as before, from character 16 to 70 only.
  l = parse(kHeader + "EDDB_TWR:123456:Tom: Tower:ATC:\n" + "ABC:1:a:b:PILOT:\n" + "EDDB_APP:1:x\n");
  EXPECT_EQ(countstitle(l), " CTR=0 APP=0 TWR=1 PIL=0 CLI=3 TOP=3");
  // The type must be a whole field: no colon after it, no type.
  EXPECT_EQ(parse(kHeader + "DLH1:1:n:PILOTS:\nDLH2:1:n:PILOT\n").pilcount, 0);
}

TEST(What2array, SuffixRulesAndDoubleStorage) {
  // "_DEP:" within the first 70 characters of an "_APP" line stores it twice.
  const std::string both = "EDDB_APP:123456:Name_DEP:ATC:";
  StatusLists l = parse(kHeader + both + "\n");
  EXPECT_EQ(l.appcount, 2);
  EXPECT_EQ(l.applines[1], both);
  EXPECT_EQ(l.applines[2], both);
  // Lower-case suffixes are not recognised.
  l = parse(kHeader + station("EDDB_twr") + "\n" + station("EDDB_app") + "\n");
  EXPECT_EQ(l.twrcount + l.appcount, 0);
  EXPECT_EQ(l.clicount, 2);
}

TEST(What2array, HeaderAndEndMarker) {
  EXPECT_EQ(parse(kHeader + "!SERVERS\n" + pilot("X") + "\n").clicount, 0);
  // A file that ends within its header, or is missing, gives zero counts.
  EXPECT_EQ(parse("!GENERAL\nVERSION = 8\n").clicount, 0);
  StatusLists missing;
  missing.topcount = 12;
  what2array("/nonexistent/whazzup.txt", missing);
  EXPECT_EQ(countstitle(missing), " CTR=0 APP=0 TWR=0 PIL=0 CLI=0 TOP=12");
  // A stored copy of a CR LF body (CR CR LF) keeps its header in place.
  std::string crcrlf;
  for (char c : kHeader + pilot("DLH1") + "\n!SERVERS\n") {
    if (c == '\n') crcrlf += "\r\r";
    crcrlf += c;
  }
  EXPECT_EQ(parse(crcrlf).pilcount, 1);
}

TEST(What2array, ClientMarkerOnLineEight) {
  // Seven header lines, then the marker itself: the clients follow it.
  const std::string seven = "!GENERAL\nVERSION = 9\nRELOAD = 2\nUPDATE = 1\nA = 5\nB = 2\nC = 2\n";
  for (const std::string marker : {"!CLIENTS", "!CLIENTS:", "!CLIENTS\r"}) {
    const StatusLists l = parse(seven + marker + "\n" + pilot("DLH1") + "::::::::\n" +
                                station("EDWW_CTR") + "\n!SERVERS\n");
    EXPECT_EQ(countstitle(l), " CTR=1 APP=0 TWR=0 PIL=1 CLI=2 TOP=2") << marker;
  }
  // Any other line there that begins with "!" still ends an empty section,
  // and a marker further down is no marker.
  EXPECT_EQ(parse(seven + "!SERVERS\n" + pilot("DLH1") + "\n").clicount, 0);
  EXPECT_EQ(parse(seven + pilot("DLH1") + "\n!CLIENTS\n" + pilot("DLH2") + "\n").clicount, 1);
}

TEST(What2array, PeakIsKeptAcrossSmallerParses) {
  StatusLists l = parse(kHeader + pilot("A") + "\n" + pilot("B") + "\n" + pilot("C") + "\n");
  EXPECT_EQ(l.topcount, 3);
  l = parse(kHeader + pilot("A") + "\n", l);
  EXPECT_EQ(l.clicount, 1);
  EXPECT_EQ(countstitle(l), " CTR=0 APP=0 TWR=0 PIL=1 CLI=1 TOP=3");
  EXPECT_EQ(l.pillines[2], pilot("B"));  // leftovers above the count stay
}

TEST(What2array, AHugeLineDoesNotStayAllocatedInTheLists) {
  // Refresh after refresh a broken server's line of megabytes lands in
  // another slot; each slot it passed through must not keep its size.
  const std::string huge = pilot("BIG") + std::string(3u << 20, 'A');
  TempFolder folder;
  StatusLists l;
  what2array(folder.write("a.txt", kHeader + pilot("A") + "\n" + huge + "\n" + pilot("C") + "\n" +
                                       huge + "\n" + station("EDDB_TWR") + huge + "\n"),
             l);
  ASSERT_EQ(l.pilcount, 4);
  EXPECT_EQ(l.pillines[2], huge);
  what2array(folder.write("b.txt", kHeader + pilot("A") + "\n" + pilot("B") + "\n"), l);
  EXPECT_EQ(l.pillines[2], pilot("B"));
  EXPECT_EQ(l.pillines[3], pilot("C"));  // a small leftover stays as it was
  std::size_t held = 0;
  for (const auto* list : {&l.applines, &l.ctrlines, &l.twrlines, &l.pillines})
    for (const std::string& slot : *list) held += slot.capacity();
  EXPECT_LT(held, 1u << 20);
}

TEST(What2array, ListsHoldEveryClientOfABusyNetworkAndShrinkAfterIt) {
  std::string body = kHeader;
  for (int i = 1; i <= 2500; ++i) body += pilot("P" + std::to_string(i)) + "\n";
  for (int i = 1; i <= 700; ++i) body += station("T" + std::to_string(i) + "_TWR") + "\n";
  body += station("EDWW_CTR") + "\n";
  StatusLists l = parse(body);
  EXPECT_EQ(countstitle(l), " CTR=1 APP=0 TWR=700 PIL=2500 CLI=3201 TOP=3201");
  EXPECT_EQ(l.pillines[2500], pilot("P2500"));
  EXPECT_EQ(l.twrlines[700], station("T700_TWR"));
  // A quiet network after a very busy one: the spare slots are given back.
  for (int i = 2501; i <= 12000; ++i) body += pilot("P" + std::to_string(i)) + "\n";
  l = parse(body, l);
  ASSERT_EQ(l.pilcount, 12000);
  l = parse(kHeader + pilot("A") + "\n" + pilot("B") + "\n", l);
  EXPECT_EQ(l.pillines[2], pilot("B"));
  EXPECT_LT(l.pillines.size(), 5000u);
  EXPECT_EQ(countstitle(l), " CTR=0 APP=0 TWR=0 PIL=2 CLI=2 TOP=12701");
}

}  // namespace
}  // namespace netglobe

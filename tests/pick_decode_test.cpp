#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/pick_decode.h"
#include "scene/pick_names.h"

namespace netglobe {
namespace {

using Buffer = std::vector<std::uint32_t>;

std::string pilot(const std::string& callsign, const std::string& person) {
  return callsign + ":100001:" + person + ":PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:";
}
std::string station(const std::string& callsign, const std::string& person) {
  return callsign + ":100002:" + person + ":ATC:118.100:52.3:13.5:0:0:";
}

StatusLists network() {
  StatusLists l;
  for (int i = 1; i <= 60; ++i) {
    appendline(l.applines, l.appcount, station("APP" + std::to_string(i), "Anne Approach"));
    appendline(l.pillines, l.pilcount, pilot("DLH" + std::to_string(i), "Johannes Maximilian Schmidt"));
  }
  appendline(l.ctrlines, l.ctrcount, station("EDWW_CTR", "Carl Centre"));
  appendline(l.ctrlines, l.ctrcount, station("EDWW_FSS", "Fay Service"));
  appendline(l.twrlines, l.twrcount, station("EDDB_TWR", "Tom Tower"));
  appendline(l.twrlines, l.twrcount, station("EDDT_TWR", "Leftover Of An Earlier Parse"));
  l.twrcount = 1;
  return l;
}

// A record with one name, as the pass writes it.
void named(Buffer& b, std::uint32_t zmin, std::uint32_t name) {
  b.insert(b.end(), {1u, zmin, zmin + 5, name});
}

// A record of a shape drawn for several objects: the first loaded, the
// others pushed over it.
void named(Buffer& b, std::uint32_t zmin, std::initializer_list<std::uint32_t> names) {
  b.insert(b.end(), {std::uint32_t(names.size()), zmin, zmin + 5});
  b.insert(b.end(), names);
}

constexpr std::uint32_t kAircraft1 = kAircraftNames + 1;
constexpr std::uint32_t kFir1 = kActiveFirNames + 1;
constexpr std::uint32_t kFir2 = kActiveFirNames + 2;
constexpr std::uint32_t kTower1 = kTowerNames + 1;

TEST(PickDecode, GlobeAircraftAndFir) {
  const StatusLists l = network();
  Buffer b;
  named(b, 900, 0);  // the globe alone
  PickOutcome p = decodehits(1, b, kAircraft1, l);
  EXPECT_EQ(p.pickedname, 0u);
  EXPECT_EQ(p.summary, "  ");
  EXPECT_TRUE(p.lines.empty());

  named(b, 800, kAircraft1);  // an aircraft over the globe
  p = decodehits(2, b, 0, l);
  EXPECT_EQ(p.pickedname, kAircraft1);
  EXPECT_EQ(p.summary, "DLH1 EDDT   Johannes Maximil");
  EXPECT_EQ(p.listtext(), "DLH1 EDDT Johannes Maximil\r\n");

  // Inside an active FIR drawn once for two stations: the nearest record is
  // summarised by its first name, every name of every record is listed in
  // order.
  b.clear();
  named(b, 900, 0);
  named(b, 700, {kFir1, kFir2});
  named(b, 800, kAircraft1);
  p = decodehits(3, b, 0, l);
  EXPECT_EQ(p.pickedname, kFir1);
  EXPECT_EQ(p.summary, "EDWW_CTR  Carl Centre");
  EXPECT_EQ(p.lines, (std::vector<std::string>{"EDWW_CTR Carl Centre", "EDWW_FSS Fay Service",
                                               "DLH1 EDDT Johannes Maximil"}));

  // Equal depths: the earlier record stays the choice.
  b.clear();
  named(b, 900, 0);
  named(b, 700, {kFir2, kFir1});
  named(b, 700, kAircraft1);
  EXPECT_EQ(decodehits(3, b, 0, l).pickedname, kFir2);
}

TEST(PickDecode, TwoRecordsAndNamelessOnes) {
  const StatusLists l = network();
  // An aircraft over a tower, off the globe: the nearer one, not a third
  // client named by the difference of the two.
  Buffer b;
  named(b, 800, kTower1);
  named(b, 600, kAircraft1);
  EXPECT_EQ(decodehits(2, b, 0, l).pickedname, kAircraft1);
  b.clear();
  named(b, 500, kTower1);
  named(b, 600, kAircraft1);
  EXPECT_EQ(decodehits(2, b, 0, l).pickedname, kTower1);

  // A direction vector after the aircraft leaves a record without a name; it
  // counts as name 0, lists nothing and is never the nearest.
  b.clear();
  named(b, 800, kAircraft1);
  b.insert(b.end(), {0u, 100u, 200u});
  PickOutcome p = decodehits(2, b, 0, l);
  EXPECT_EQ(p.pickedname, kAircraft1);
  EXPECT_EQ(p.lines.size(), 1u);
  b.insert(b.begin(), {1u, 900u, 900u, 0u});
  EXPECT_EQ(decodehits(3, b, 0, l).pickedname, kAircraft1);
}

TEST(PickDecode, NothingOverflowAndBrokenBuffers) {
  const StatusLists l = network();
  Buffer b;
  named(b, 800, kAircraft1);

  // No record: the previous object stays summarised, the list empties.
  PickOutcome p = decodehits(0, b, kTower1, l);
  EXPECT_EQ(p.pickedname, kTower1);
  EXPECT_EQ(p.summary, "EDDB_TWR  Tom Tower");
  EXPECT_TRUE(p.lines.empty());

  // Overflow names nothing.
  p = decodehits(-1, b, kTower1, l);
  EXPECT_EQ(p.pickedname, 0u);
  EXPECT_EQ(p.summary, "  ");
  EXPECT_TRUE(p.lines.empty());

  // More records claimed than the buffer holds, or a record longer than the
  // rest of it: reading stops at the end of what is there.
  Buffer cut = b;
  cut.insert(cut.end(), {7u, 100u, 100u, kAircraft1 + 1});
  p = decodehits(5, cut, 0, l);
  EXPECT_EQ(p.pickedname, kAircraft1);
  EXPECT_EQ(p.lines.size(), 1u);
  EXPECT_EQ(hitrecords(3, std::span(cut).first(6)).size(), 1u);

  // Names past a list's count, outside every range, or between ranges.
  b.clear();
  named(b, 100, kTowerNames + 2);
  named(b, 200, kAircraftNames + 1001);
  named(b, 300, kActiveFirNames);
  p = decodehits(3, b, kAircraft1, l);
  EXPECT_EQ(p.summary, "  ");
  EXPECT_TRUE(p.lines.empty());
}

TEST(PickDecode, ManyRecordsAndHighEntries) {
  const StatusLists l = network();
  // Approach 60 is an approach station, not a centre.
  Buffer b;
  named(b, 100, kApproachNames + 60);
  PickOutcome p = decodehits(1, b, 0, l);
  EXPECT_EQ(p.summary, "APP60  Anne Approach");
  EXPECT_EQ(p.lines, std::vector<std::string>{"APP60 Anne Approach"});

  // 60 named records: the first 50 are listed, the nearest is summarised.
  b.clear();
  for (std::uint32_t i = 1; i <= 60; ++i) named(b, 1000 - i, kAircraftNames + i);
  p = decodehits(60, b, 0, l);
  ASSERT_EQ(p.lines.size(), std::size_t(kMaxPickLines));
  EXPECT_EQ(p.lines.front().substr(0, 5), "DLH1 ");
  EXPECT_EQ(p.lines.back().substr(0, 6), "DLH50 ");
  EXPECT_EQ(p.pickedname, kAircraftNames + 60);
  // The same cap over the names of records that carry several.
  b.clear();
  named(b, 100, {kFir1, kFir2});
  for (std::uint32_t i = 1; i < 60; i += 2) named(b, 100, {kApproachNames + i, kApproachNames + i + 1});
  p = decodehits(31, b, 0, l);
  ASSERT_EQ(p.lines.size(), std::size_t(kMaxPickLines));
  EXPECT_EQ(p.lines[1], "EDWW_FSS Fay Service");
  EXPECT_EQ(p.lines.back(), "APP48 Anne Approach");
}

TEST(PickDecode, NamesOfBusyNetworksNeverStandForAnotherEntry) {
  // Every kind's entries far past the old list sizes come back as they went.
  std::vector<std::uint32_t> names;
  for (const PickKind kind : {PickKind::Approach, PickKind::ActiveFir, PickKind::Tower, PickKind::Aircraft}) {
    for (const int index : {1, 999, 1000, 1001, 2999, 3000, 3001, 25000, int(kNameRange - 1)}) {
      const std::uint32_t name = pickname(kind, index);
      EXPECT_EQ(decodepick(name), (PickTarget{kind, index}));
      names.push_back(name);
    }
    EXPECT_EQ(pickname(kind, int(kNameRange)), 0u);  // no name rather than another's
    EXPECT_EQ(pickname(kind, 0), 0u);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());

  // Against lists of 2500 pilots and 1200 approach stations.
  StatusLists l;
  for (int i = 1; i <= 2500; ++i) appendline(l.pillines, l.pilcount, pilot("P" + std::to_string(i), "Pia"));
  for (int i = 1; i <= 1200; ++i) appendline(l.applines, l.appcount, station("A" + std::to_string(i), "Al"));
  Buffer b;
  named(b, 300, pickname(PickKind::Aircraft, 2500));
  named(b, 200, pickname(PickKind::Approach, 1001));
  named(b, 400, pickname(PickKind::Tower, 1));  // no tower in the lists
  const PickOutcome p = decodehits(3, b, 0, l);
  EXPECT_EQ(p.lines, (std::vector<std::string>{"P2500 EDDT Pia", "A1001 Al"}));
  EXPECT_EQ(p.pickedname, pickname(PickKind::Approach, 1001));
  EXPECT_EQ(p.summary, "A1001  Al");
}

}  // namespace
}  // namespace netglobe

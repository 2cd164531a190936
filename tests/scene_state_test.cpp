#include <gtest/gtest.h>

#include "scene/scene_state.h"
#include "scene/start_zoom.h"

namespace netglobe {
namespace {

ReadyLists everythingbuilt() {
  ReadyLists ready;
  for (int list = 2; list <= kLastSceneList; ++list) ready.mark(list);
  return ready;
}

std::vector<int> order(const SceneState& s, const ReadyLists& ready = everythingbuilt()) {
  std::vector<int> lists;
  for (const ListCall& c : framelists(s, ready)) lists.push_back(c.list);
  return lists;
}

TEST(Framelists, OnlyBuiltListsAreDrawn) {
  SceneState s;
  s.stationlabels = s.pilotlabels = 1;
  EXPECT_TRUE(framelists(s, ReadyLists{}).empty());
  ReadyLists ready = everythingbuilt();
  ready.clear(kCoastList);
  ready.clear(kPilotLabelList);
  ready.mark(0);  // out of the scene's range: ignored
  ready.mark(500);
  EXPECT_EQ(order(s, ready), (std::vector<int>{5, 4, 8, 11, 9, 10, 3, 12, 13, 14, 15}));
}

TEST(Framelists, DrawingOrderAndSwitches) {
  SceneState s;
  EXPECT_EQ(order(s), (std::vector<int>{5, 4, 6, 8, 11, 9, 10, 3, 12}));
  s.stationlabels = s.pilotlabels = 1;
  s.globestyle = 2;
  EXPECT_EQ(order(s), (std::vector<int>{7, 2, 4, 6, 8, 11, 9, 10, 3, 12, 13, 14, 15, 16}));
  s.globestyle = 3;  // plain globe without graticule
  EXPECT_EQ(order(s).front(), 7);
  EXPECT_EQ(order(s)[1], 4);
}

TEST(Framelists, PickPassDropsTheNameAfterTheAircraft) {
  SceneState s;
  s.selecting = true;
  const std::vector<ListCall> calls = framelists(s, everythingbuilt());
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls[7].list, kAircraftList);
  EXPECT_EQ(calls[8].setup, ListSetup::PopName);
  EXPECT_EQ(calls[9].list, kDirList);
}

TEST(StartZoom, EightySevenTicksFromTheStartDistance) {
  double viewdist = 11.5;
  int ticks = 0;
  bool last = false;
  while (!last && ticks < 1000) {
    last = startzoomtick(viewdist);
    ++ticks;
  }
  EXPECT_EQ(ticks, 87);
  EXPECT_EQ(viewdist, 2.9);
  // Already at the end: the first tick goes below and snaps back.
  EXPECT_TRUE(startzoomtick(viewdist));
  EXPECT_EQ(viewdist, 2.9);
}

}  // namespace
}  // namespace netglobe

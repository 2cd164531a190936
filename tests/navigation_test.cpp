#include <gtest/gtest.h>

#include "scene/flight.h"
#include "scene/key_table.h"
#include "scene/mouse_steps.h"

namespace netglobe {
namespace {

ViewState at(double dist, float lon = 12.0f, float tilt = 39.0f) {
  ViewState v;
  v.viewdist = dist;
  v.viewlon = lon;
  v.viewtilt = tilt;
  return v;
}

TEST(MouseSteps, ZoomIsClampedAndSlowerNearTheGlobe) {
  ViewState v = at(2.2);
  Pointer p;
  mousedown(p, kRightButton, 100, 100);
  for (int y = 101; y <= 400; ++y) mousemove(v, p, kRightButton, 100, float(y));
  EXPECT_EQ(v.viewdist, 2.18);
  EXPECT_TRUE(mousemove(v, p, kRightButton, 100, 401));
  EXPECT_EQ(v.viewdist, 2.18);
  for (int y = 400; y >= -400; --y) mousemove(v, p, kRightButton, 100, float(y));
  EXPECT_EQ(v.viewdist, 11.5);

  // At the nearest distance ten pixels move the camera five times less than far away.
  v = at(2.18);
  zoomstep(v, 10);
  EXPECT_NEAR(v.viewdist, 2.18 + 10.0 / 250, 1e-12);

  // A wheel notch away from the user is a 15-pixel right drag downwards.
  ViewState wheel = at(11.5);
  ViewState drag = wheel;
  wheelzoom(wheel, 1.0f);
  mousedown(p, kRightButton, 50, 20);
  mousemove(drag, p, kRightButton, 50, 35);
  EXPECT_EQ(wheel.viewdist, drag.viewdist);
  EXPECT_LT(wheel.viewdist, 11.5);
}

TEST(MouseSteps, MovesTurnTiltAndZoomByButtons) {
  struct Case {
    const char* what;
    double dist;
    float lon, tilt;
    int buttons;
    bool left;      // left button pressed before the move
    float dx, dy;   // the move, pixels
    float wantlon, wanttilt;
    double wantdist;
  };
  const Case cases[] = {
      {"10 px left at 11.5", 11.5, 12, 39, 1, true, -10, 0, 14, 39, 11.5},
      {"10 px left at 4.0", 4.0, 12, 39, 1, true, -10, 0, 12.25f, 39, 4.0},
      {"10 px left at 2.5", 2.5, 12, 39, 1, true, -10, 0, 12.125f, 39, 2.5},
      {"tilt below 0", 11.5, 12, 2, 1, true, 0, 25, 12, 0, 11.5},
      {"tilt above 180", 11.5, 12, 178, 1, true, 0, -35, 12, 180, 11.5},
      {"wrap past 180", 11.5, 179, 39, 1, true, -10, 0, -179, 39, 11.5},
      {"wrap past -180", 11.5, -179, 39, 1, true, 10, 0, 179, 39, 11.5},
      {"left and right: turn only", 11.5, 12, 39, 3, true, 0, 10, 12, 37, 11.5},
      // Ten pixels down at 5.0 bring the camera 10 / (50 + 2 / 2.83) closer.
      {"right alone: zoom only", 5.0, 12, 39, 2, false, -10, 10, 12, 39, 4.8027874564},
      {"middle: nothing", 5.0, 12, 39, 4, false, 10, 10, 12, 39, 5.0},
      {"no button: nothing", 5.0, 12, 39, 0, false, 10, 10, 12, 39, 5.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ViewState v = at(c.dist, c.lon, c.tilt);
    Pointer p;
    mousedown(p, c.left ? kLeftButton : kRightButton, 200, 200);
    const bool moved = mousemove(v, p, c.buttons, 200 + c.dx, 200 + c.dy);
    EXPECT_EQ(moved, c.left || c.buttons == kRightButton);
    EXPECT_EQ(v.viewlon, c.wantlon);
    EXPECT_EQ(v.viewtilt, c.wanttilt);
    EXPECT_NEAR(v.viewdist, c.wantdist, 1e-9);
  }

  // The press remembers the pixel nearest to it, halves to the even one,
  // and a left release ends the drag.
  ViewState v = at(11.5);
  Pointer p;
  mousedown(p, kLeftButton, 10.5f, 11.5f);
  EXPECT_EQ(p.lastmousex, 10);
  EXPECT_EQ(p.lastmousey, 12);
  mousemove(v, p, kLeftButton, 10.5f, 12);
  EXPECT_EQ(v.viewlon, 12.0f - 0.1f);
  mouseup(p, kRightButton);
  EXPECT_TRUE(p.leftdrag);
  mouseup(p, kLeftButton);
  EXPECT_FALSE(mousemove(v, p, kLeftButton, 300, 300));
}

TEST(KeyTable, ViewKeysStoreAndRecall) {
  const SceneState s;
  EXPECT_EQ(double(keyaction('+', s, ViewState{}, true).view.viewtilt), 39.29999923706055);

  // Without a stored view the slot holds its defaults.
  ViewState v = keyaction('#', s, at(7.0, 1, 2), true).view;
  EXPECT_EQ(v.viewdist, 2.5);
  EXPECT_EQ(v.viewlon, 12.6f);
  EXPECT_EQ(v.viewtilt, 37.4f);

  // A view out of the mouse's ranges (the flight does not clamp the tilt)
  // comes back exactly after other navigation.
  const ViewState odd = at(2.3456789, -123.456f, 181.25f);
  const KeyAction store = keyaction('\'', s, odd, true);
  EXPECT_FALSE(store.render);
  v = keyaction(180, s, store.view, true).view;  // ´, the start view
  v = keyaction(252, s, v, true).view;           // ü
  const KeyAction recall = keyaction('#', s, v, true);
  EXPECT_TRUE(recall.render);
  EXPECT_EQ(recall.view.viewdist, odd.viewdist);
  EXPECT_EQ(recall.view.viewlon, odd.viewlon);
  EXPECT_EQ(recall.view.viewtilt, odd.viewtilt);
}

TEST(KeyTable, SwitchesLayersAndLists) {
  SceneState s;
  const ViewState v;
  // Upper-case letters do nothing at all.
  for (int key : {'Q', 'W', 'E', 'A', 'S', 'D', 'P', 'O'}) {
    const KeyAction upper = keyaction(key, s, v, true);
    EXPECT_TRUE(upper.view == v && upper.scene == s);
    EXPECT_FALSE(upper.startflight || upper.render || upper.startzoom || upper.cornerform);
    EXPECT_TRUE(upper.rebuilds.empty() && upper.lists.empty());
  }

  // p alternates enlarged and normal symbols.
  KeyAction a = keyaction('p', s, v, true);
  EXPECT_EQ(a.rebuilds,
            (std::vector<Rebuild>{{LayerBuild::Aircraft, 0.5}, {LayerBuild::Approach, 2}}));
  a = keyaction('p', a.scene, v, true);
  EXPECT_EQ(a.rebuilds,
            (std::vector<Rebuild>{{LayerBuild::Aircraft, 0.05}, {LayerBuild::Approach, 0.8}}));
  EXPECT_EQ(a.scene, s);

  // The textured globe only with an image to show.
  s.globestyle = 2;
  EXPECT_EQ(keyaction('y', s, v, true).scene.globestyle, 1);
  EXPECT_EQ(keyaction('y', s, v, false).scene.globestyle, 2);

  // List keys show and hide without a redraw.
  a = keyaction('o', SceneState{}, v, true);
  EXPECT_EQ(a.lists, (std::vector<ListShow>{{1, true}, {2, true}}));
  EXPECT_FALSE(a.render);
  a = keyaction(228, a.scene, v, true);  // ä
  a = keyaction('o', a.scene, v, true);
  EXPECT_EQ(a.lists, (std::vector<ListShow>{{1, false}, {2, false}}));
  EXPECT_EQ(a.scene.showlist5, 1);

  // Backspace shows all six, Esc hides them; both put the station labels off.
  s = SceneState{};
  s.stationlabels = 1;
  a = keyaction(8, s, v, true);
  EXPECT_EQ(a.lists.back(), (ListShow{6, true}));
  EXPECT_EQ(a.scene.showlist12 + a.scene.showlist3 + a.scene.showlist4 + a.scene.showlist5 +
                a.scene.showlist6, 5);
  EXPECT_EQ(a.scene.stationlabels, -1);
  a.scene.stationlabels = 1;
  a = keyaction(27, a.scene, v, true);
  EXPECT_EQ(a.lists.size(), 6u);
  EXPECT_EQ(a.lists[3], (ListShow{4, false}));
  EXPECT_EQ(a.scene.showlist6, -1);
  EXPECT_EQ(a.scene.stationlabels, -1);
  EXPECT_TRUE(a.render);
}

// Ticks until arrival (-1 if none within the limit); the longitudes passed.
int flyto(ViewState& v, std::vector<float>* path = nullptr, int limit = 5000) {
  for (int ticks = 0; ticks < limit; ++ticks) {
    if (gohome(v) == FlightStep::Arrived) return ticks;
    if (path) path->push_back(v.viewlon);
  }
  return -1;
}

ViewState heading(float lon, float tilt, double targetlon, double targettilt) {
  ViewState v = at(3.0, lon, tilt);
  v.targetlon = targetlon;
  v.targettilt = targettilt;
  return v;
}

TEST(Flight, StepsAndArrival) {
  // Key w from the start view: one step of 1/30 + 0.05 down, then arrival.
  ViewState v = heading(12, 39, 12, 38);
  EXPECT_EQ(gohome(v), FlightStep::Moved);
  EXPECT_EQ(v.viewlon, 12.0f);
  EXPECT_NEAR(v.viewtilt, 39 - (1.0 / 30 + 0.05), 1e-5);
  EXPECT_EQ(gohome(v), FlightStep::Arrived);

  // Both gaps 0 from the start: arrival without a move.
  v = heading(12.5f, 38.2f, 12, 38);
  const ViewState before = v;
  EXPECT_EQ(flyto(v), 0);
  EXPECT_EQ(v, before);

  // Just below the target: small steps east until it lies within a degree above.
  v = heading(-97.5f, 50, -97, 50);
  std::vector<float> path;
  EXPECT_GT(flyto(v, &path), 0);
  EXPECT_NEAR(path.front(), -97.5 + 1.0 / 30 + 0.05, 1e-5);
  EXPECT_GE(v.viewlon, -97.0f);
  EXPECT_LT(v.viewlon, -96.0f);

  // 170 to -170 goes east through the seam, never back across 0.
  v = heading(170, 50, -170, 50);
  path.clear();
  EXPECT_GT(flyto(v, &path), 0);
  for (float lon : path) EXPECT_TRUE(lon > 170.0f || lon < -169.0f) << lon;
}

TEST(Flight, EveryFlightKeyArrivesFromAnywhere) {
  const float starts[][2] = {{12, 39}, {-179.9f, 0}, {179.5f, 180}, {0, 90}, {-97.5f, 49.7f}};
  for (const auto& s : starts) {
    for (int key : {'q', 'a', 'w', 's', 'e', 'd', ' '}) {
      const KeyAction a = keyaction(key, SceneState{}, at(2.9, s[0], s[1]), true);
      ASSERT_TRUE(a.startflight);
      EXPECT_EQ(a.render, key == ' ');  // the flight redraws, the space key also jumps nearer
      ViewState v = a.view;
      const int ticks = flyto(v);
      SCOPED_TRACE(testing::Message() << s[0] << "," << s[1] << " key " << char(key));
      EXPECT_GE(ticks, 0);
      EXPECT_LT(ticks, 400);
      EXPECT_GE(v.viewlon - v.targetlon, 0);
      EXPECT_LT(v.viewlon - v.targetlon, 1);
      EXPECT_GE(v.viewtilt - v.targettilt, 0);
      EXPECT_LT(v.viewtilt - v.targettilt, 1);
      EXPECT_EQ(v.viewdist, a.view.viewdist);
    }
  }
}

TEST(Flight, ToAClientEndsExactlyOnIt) {
  // Clients anywhere, the seam and the poles included, from views anywhere.
  const double clients[][2] = {{52.52, 13.4}, {-33.95, 151.18}, {60, 179.97}, {10, -179.95},
                               {-21.3, 180}, {90, 0}, {-90, -45.5}};
  const float starts[][2] = {{12, 39}, {-179.9f, 0}, {179.5f, 180}, {0, 90}, {179.9f, 30}};
  for (const auto& c : clients) {
    for (const auto& s : starts) {
      SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << " from " << s[0] << "," << s[1]);
      ViewState v = flighttoclient(at(11.5, s[0], s[1]), c[0], c[1]);
      EXPECT_EQ(v.viewdist, kCloseDist);
      EXPECT_EQ(v.viewlon, s[0]);  // the flight moves the view, not its start
      const int ticks = flyto(v);
      EXPECT_GE(ticks, 0);
      EXPECT_LT(ticks, 400);
      EXPECT_EQ(v.viewlon, static_cast<float>(c[1]));
      EXPECT_EQ(v.viewtilt, static_cast<float>(90 - c[0]));
      EXPECT_EQ(v.viewdist, kCloseDist);
    }
  }
  // Recentring puts the view there at once; a longitude past the seam is
  // the same meridian.
  ViewState v = at(2.87);
  centreon(v, 51.5, 190);
  EXPECT_EQ(v.viewlon, -170.0f);
  EXPECT_EQ(v.viewtilt, 38.5f);
}

TEST(Flight, ARegionKeyTakesOverAFlightToAClient) {
  ViewState v = flighttoclient(at(11.5), -33.95, 151.18);
  for (int i = 0; i < 10; ++i) gohome(v);
  const KeyAction a = keyaction('w', SceneState{}, v, true);
  EXPECT_FALSE(a.view.exacttarget);
  v = a.view;
  EXPECT_GE(flyto(v), 0);
  // Europe as the region keys reach it: within a degree above, not snapped.
  EXPECT_GE(v.viewlon - 12, 0);
  EXPECT_LT(v.viewlon - 12, 1);
  EXPECT_EQ(v.viewdist, kCloseDist);
}

}  // namespace
}  // namespace netglobe

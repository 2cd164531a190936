#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "geo/globe_coords.h"
#include "geo/great_circle.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/marker_ring.h"
#include "layers/station_layers.h"
#include "layers/trail_layer.h"
#include "scene/scene_state.h"
#include "scene/pick_names.h"
#include "scene/scene_state.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

using Kind = DrawOp::Kind;
using Rgba4 = std::array<float, 4>;

struct LatLon {
  double lat, lon;
};

// One primitive as GL draws it: the name loaded (and any pushed over it,
// the loaded one first) and each vertex, read back as a position, with the
// colour current at it.
struct Drawn {
  Prim prim;
  std::uint32_t name;
  std::vector<std::uint32_t> names;
  std::vector<LatLon> at;
  std::vector<Rgba4> colour;
};

std::vector<Drawn> drawn(const DrawList& list) {
  std::vector<Drawn> out;
  std::vector<std::uint32_t> names{0};  // the frame's name stack
  Rgba4 colour{1, 1, 1, 1};
  bool open = false;
  for (const DrawOp& op : list.ops()) {
    if (op.kind == Kind::LoadName) names.back() = op.name();
    if (op.kind == Kind::PushName) names.push_back(op.name());
    if (op.kind == Kind::PopName) {
      EXPECT_GT(names.size(), 1u);  // never the frame's own
      if (names.size() > 1) names.pop_back();
    }
    if (op.kind == Kind::Color) {
      const Rgba c = op.rgba();
      colour = {c.r, c.g, c.b, c.a};
    }
    if (op.kind == Kind::Begin) out.push_back({op.prim(), names.front(), names, {}, {}});
    if (op.kind == Kind::Vertex) {  // the inverse of getxyz
      EXPECT_TRUE(open);
      const GlobePoint p = op.point();
      const double r = std::hypot(p.x, p.y, p.z);
      const double lon = std::atan2(p.y, p.x) / kDegToRad + 90;
      out.back().at.push_back({std::asin(p.z / r) / kDegToRad, lon > 180 ? lon - 360 : lon});
      out.back().colour.push_back(colour);
    }
    if (op.kind == Kind::Begin || op.kind == Kind::End) {
      EXPECT_EQ(open, op.kind == Kind::End);
      open = op.kind == Kind::Begin;
    }
  }
  EXPECT_FALSE(open);
  EXPECT_EQ(names.size(), 1u);  // a layer pops what it pushes
  return out;
}

void expectat(const LatLon& got, double lat, double lon) {
  EXPECT_NEAR(got.lat, lat, 1e-4);
  EXPECT_NEAR(got.lon, lon, 1e-4);
}

// A client line with the positions the layers read, the others filled.
std::string record(const std::string& callsign, const std::string& lat = "0",
                   const std::string& lon = "0", const std::string& speed = "0",
                   const std::string& dest = "", const std::string& id = "1") {
  std::vector<std::string> f(40, "x");
  f[0] = callsign, f[1] = id, f[5] = lat, f[6] = lon, f[8] = speed, f[13] = dest;
  std::string line;
  for (const std::string& s : f) line += s + ":";
  return line;
}

void fill(std::vector<std::string>& list, int& count, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) appendline(list, count, line);
}

class TrafficLayers : public ::testing::Test {
 protected:
  TrafficLayers() {
    folder.write("airports.dat", "EDDF:F:F:::50.03:8.57\nEDDF:Later:L:::50.5:9\nEDDM:M:M:::48.35:11.78\n"
                                 "EDDB:B:B:::50:11\nEDDH:H:H:::60:10\n");
    folder.write("firs.dat", "EDGG::L:::50:8:EDGX\nEDMM::M:::48:11\nLONG::L:::1:1\nEDLA::L:::1:1\n"
                             "EMPT::E:::1:1\n");
    std::string longblock = "!LONG\n";
    for (int i = 0; i < 501; ++i) longblock += "40:" + std::to_string(i * 0.01) + "\n";
    folder.write("fir1.dat", "!EDGX\n50:8\n51:9\n52:8\n!\n!EDMM\n47:11\n48:12\n46:12\n!\n" + longblock +
                                 "!\n!EMPT\n!\n!EDLA\n53:13\n54:14\n55:13");
    refs.refresh();
  }
  void remove(const std::string& name) {
    std::filesystem::remove(folder.file(name));
    refs.refresh();
  }
  TempFolder folder;
  RefDirectories refs{folder.path()};
  StatusLists lists;
};

TEST_F(TrafficLayers, AircraftDiscsByKindOfPilot) {
  fill(lists.pillines, lists.pilcount,
       {record("A", "50", "10", "0", "EDDM"), record("B", "51", "10", "0", "EDDT"),
        record("C", "52", "10", "0", "eddt", "811402"), record("D", "53", "10", "0", "EDDB", "811402"),
        // Cut short, or without a longitude: no position, so no disc (not
        // one at 0,0, nor at the place of the pilot before).
        "E:5:n:PILOT:", "G:7:n:PILOT::51::", record("F", "0", "0", "0", "")});
  const Layer layer = drawaircraft(lists, FriendIds({"811402"}), 0.05);
  EXPECT_EQ(layer.list, 3);
  const std::vector<Drawn> discs = drawn(layer.ops);
  ASSERT_EQ(discs.size(), 5u);
  const std::array<int, 5> entries{1, 2, 3, 4, 7};
  const Rgba4 red{1, 0, 0, 1}, green{0, 0.5f, 0, 1}, blue{0, 0, 1, 1};
  const std::array<Rgba4, 5> rims{red, green, blue, blue, red};
  const std::array<double, 5> radii{0.05, 0.065, 0.065, 0.08, 0.05};
  const std::array<LatLon, 5> centres{{{50, 10}, {51, 10}, {52, 10}, {53, 10}, {0, 0}}};
  for (int i = 0; i < 5; ++i) {
    const Drawn& disc = discs[i];
    EXPECT_EQ(disc.prim, Prim::TriangleFan);
    EXPECT_EQ(disc.name, pickname(PickKind::Aircraft, entries[i]));
    ASSERT_EQ(disc.at.size(), 14u);  // centre and 13 rim vertices
    expectat(disc.at[0], centres[i].lat, centres[i].lon);
    EXPECT_EQ(disc.colour[0], (Rgba4{1, 1, 1, 1}));
    EXPECT_EQ(disc.colour[1], rims[i]);
    expectat(disc.at[1], centres[i].lat + radii[i], centres[i].lon);
    expectat(disc.at[13], disc.at[1].lat, disc.at[1].lon);  // the fan closes
  }
}

TEST_F(TrafficLayers, DirectionLinesOfMovingPilotsWithADestination) {
  fill(lists.pillines, lists.pilcount,
       {record("A", "50", "10", "300", "EDDB"), record("B", "50", "10", "29.9", "EDDB"),
        record("C", "50", "10", "450", ""), record("D", "10", "10", "30", "ZZZZ"),
        record("E", "50", "11", "100", "EDDB"), record("F", "", "", "100", "EDDB"),
        record("G", "50", "", "100", "EDDB")});  // no position: no line from 0,0
  Layer layer = drawaircraftdir(lists, refs.airports);
  EXPECT_EQ(layer.list, 12);
  std::vector<Drawn> lines = drawn(layer.ops);
  ASSERT_EQ(lines.size(), 1u);
  const std::vector<LatLon>& at = lines[0].at;
  ASSERT_EQ(at.size(), 6u);
  expectat(at[0], 50, 10);  // course 89 to 50 N 11 E, 0.3 degree long
  expectat(at[1], 50.00524, 10.46665);
  EXPECT_EQ(lines[0].colour[0], (Rgba4{1, 0.5f, 0, 1}));
  EXPECT_EQ(lines[0].colour[1], (Rgba4{1, 1, 0, 1}));
  // 30 knots to a code that is no airport: 0.03 degree towards 0 N 0 E.
  expectat(at[2], 10, 10);
  EXPECT_NEAR(std::hypot(at[3].lat - 10, (at[3].lon - 10) * std::cos(10 * kDegToRad)), 0.03, 1e-4);
  EXPECT_TRUE(at[3].lat < 10 && at[3].lon < 10);
  expectat(at[4], 50, 11);  // at its destination already; the pilots after it still get lines

  remove("airports.dat");
  layer = drawaircraftdir(lists, refs.airports);
  EXPECT_EQ(layer.failure, "airports.dat cannot be read");
  lines = drawn(layer.ops);
  EXPECT_TRUE(lines.size() == 1 && lines[0].at.empty());
}

TEST_F(TrafficLayers, StationsWithoutAPositionStandAtTheAirportOfTheirCodeOrNowhere) {
  // The code is the callsign before its first "_"; a station that reports
  // a position keeps the first-four-characters rule and its own place.
  fill(lists.applines, lists.appcount,
       {record("EDDM_N_APP", "", ""), record("ZZZZ_APP", "", ""), record("EDDF_DEP", "50.1", "")});
  fill(lists.twrlines, lists.twrcount,
       {record("EDDBX_TWR", "", ""), record("EDDB_TWR", "", ""), record("EDDBX_TWR", "1", "2"),
        record("QQQQ_GND", "", "")});
  const std::vector<Drawn> spots = drawn(drawapp(lists, refs.airports, 0.8).ops);
  ASSERT_EQ(spots.size(), 2u);
  EXPECT_EQ(spots[0].name, pickname(PickKind::Approach, 1));
  expectat(spots[0].at[0], 48.35, 11.78);
  EXPECT_EQ(spots[1].name, pickname(PickKind::Approach, 3));
  expectat(spots[1].at[0], 50.5, 9);  // the last line of the code, as for any station

  const std::vector<Drawn> triangles = drawn(drawtwr(lists, refs.airports, 0.1).ops);
  ASSERT_EQ(triangles.size(), 2u);
  EXPECT_EQ(triangles[0].name, pickname(PickKind::Tower, 2));
  expectat(triangles[0].at[0], 50.1, 11);
  EXPECT_EQ(triangles[1].name, pickname(PickKind::Tower, 3));
  expectat(triangles[1].at[0], 50.1, 11);  // with a position: EDDB by its first four characters
}

TEST_F(TrafficLayers, ApproachAndTowerStationsAtTheirAirports) {
  fill(lists.applines, lists.appcount,
       {record("EDDF_APP"), record("EDDM_CTR"), record("EDDM_app"), record("XXXX_DEP", "45.5", "7.25")});
  fill(lists.twrlines, lists.twrcount, {record("EDDH_TWR"), record("YYYY_GND", "-20", "30")});

  const std::vector<Drawn> spots = drawn(drawapp(lists, refs.airports, 0.8).ops);
  ASSERT_EQ(spots.size(), 3u);
  const std::array<int, 3> entries{1, 3, 4};
  const std::array<LatLon, 3> places{{{50.5, 9}, {48.35, 11.78}, {45.5, 7.25}}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(spots[i].name, pickname(PickKind::Approach, entries[i]));
    ASSERT_EQ(spots[i].at.size(), 14u);
    expectat(spots[i].at[0], places[i].lat, places[i].lon);
    expectat(spots[i].at[1], places[i].lat + 0.8, places[i].lon);
    EXPECT_EQ(spots[i].colour[0], (Rgba4{0, 1, 0, 1}));
    EXPECT_EQ(spots[i].colour[13], (Rgba4{0, 1, 0, 0}));
  }
  // The widening takes the cosine of the rim vertex's latitude, not the centre's.
  const double rimlat = 50.5 + 0.8 * std::cos(30 * kDegToRad);
  EXPECT_NEAR(spots[0].at[2].lon - 9, 0.4 / std::cos(rimlat * kDegToRad), 1e-4);

  const std::vector<Drawn> triangles = drawn(drawtwr(lists, refs.airports, 0.1).ops);
  ASSERT_EQ(triangles.size(), 2u);
  EXPECT_EQ(triangles[0].prim, Prim::Triangles);
  EXPECT_EQ(triangles[1].name, pickname(PickKind::Tower, 2));
  EXPECT_EQ(triangles[0].colour[2], (Rgba4{0, 1, 1, 1}));
  expectat(triangles[0].at[0], 60.1, 10);
  expectat(triangles[0].at[1], 59.9, 10.1);  // no widening by latitude
  expectat(triangles[0].at[2], 59.9, 9.9);
  expectat(triangles[1].at[0], -19.9, 30);

  remove("airports.dat");  // both end at their first station and say why
  for (const Layer& layer : {drawapp(lists, refs.airports, 0.8), drawtwr(lists, refs.airports, 0.1)}) {
    EXPECT_EQ(layer.failure, "airports.dat cannot be read");
    EXPECT_TRUE(drawn(layer.ops).empty());
  }
}

TEST_F(TrafficLayers, ActiveFirsOutlinedAndFilledOncePerFirAndKindUnderEveryStationsName) {
  fill(lists.ctrlines, lists.ctrcount,
       {record("EDGG_CTR"), record("LONG_CTR"), record("UNKN_CTR"), record("EMPT_CTR"),
        record("EDMM_fss"), record("EDMM_OBS"), record("EDLA_CTR"), record("EDGG_CTR"),
        record("EDMM_CTR"), record("EDGG_CTR")});
  Layer layer = drawactfir(lists, refs.firs, refs.outlines, 1);
  EXPECT_EQ(layer.list, 8);
  // Outline and even-odd fill for EDGG (under its boundary code EDGX) where
  // its first station comes, carrying its three stations; EDMM as an FSS;
  // EDLA (the last block, no "!" after it); EDMM as a centre. The outline of
  // over 500 points and the empty block are left out.
  const std::vector<Drawn> shapes = drawn(layer.ops);
  ASSERT_EQ(shapes.size(), 8u);
  const auto fir = [](int entry) { return pickname(PickKind::ActiveFir, entry); };
  const std::array<std::vector<std::uint32_t>, 4> names{
      {{fir(1), fir(8), fir(10)}, {fir(5)}, {fir(7)}, {fir(9)}}};
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(shapes[s].prim, s % 2 ? Prim::EvenOddFill : Prim::Lines);
    EXPECT_EQ(shapes[s].names, names[s / 2]);
  }
  const std::vector<LatLon>& ring = shapes[0].at;  // A-B, B-C, A-C
  const std::array<LatLon, 6> abc{{{50, 8}, {51, 9}, {51, 9}, {52, 8}, {50, 8}, {52, 8}}};
  ASSERT_EQ(ring.size(), 6u);
  for (int k = 0; k < 6; ++k) expectat(ring[k], abc[k].lat, abc[k].lon);
  ASSERT_EQ(shapes[1].at.size(), 3u);  // the fill's ring: A, B, C
  for (int k = 0; k < 3; ++k) expectat(shapes[1].at[k], abc[k == 2 ? 3 : 2 * k].lat, abc[k == 2 ? 3 : 2 * k].lon);
  // Three blends at 0.2 leave 0.8^3 of what was below.
  EXPECT_EQ(shapes[0].colour[0], (Rgba4{1, 0, 0.5f, 1}));
  EXPECT_EQ(shapes[1].colour[0], (Rgba4{1, 0, 0.5f, float(1 - 0.8 * 0.8 * 0.8)}));
  EXPECT_EQ(shapes[2].colour[0], (Rgba4{0, 0.5f, 0.75f, 1}));  // lower-case FSS marker
  EXPECT_EQ(shapes[3].colour[0], (Rgba4{0, 0.2f, 0.3f, 0.7f}));
  expectat(shapes[4].at[5], 55, 13);
  EXPECT_EQ(shapes[5].colour[0], (Rgba4{1, 0, 0.5f, 0.2f}));
  EXPECT_EQ(shapes[7].colour[0], (Rgba4{1, 0, 0.5f, 0.2f}));  // EDMM as a centre
  EXPECT_EQ(layer.ops.countof(Kind::Disable), 4u);  // depth test, before each fill

  layer = drawactfir(lists, refs.firs, refs.outlines, -1);  // fill off: outlines only
  EXPECT_EQ(drawn(layer.ops).size(), 4u);
  EXPECT_EQ(layer.ops.countof(Kind::Disable), 0u);

  // A FIR staffed more often than GL's name stack is sure to hold (64):
  // every station named once, in order, and blended as often in all.
  StatusLists crowded;
  for (int i = 0; i < 70; ++i) appendline(crowded.ctrlines, crowded.ctrcount, record("EDLA_CTR"));
  std::vector<std::uint32_t> named;
  double through = 1;  // what the fills leave of the pixel below
  for (const Drawn& shape : drawn(drawactfir(crowded, refs.firs, refs.outlines, 1).ops)) {
    EXPECT_LE(shape.names.size(), 64u);
    if (shape.prim == Prim::Lines) named.insert(named.end(), shape.names.begin(), shape.names.end());
    if (shape.prim == Prim::EvenOddFill) through *= 1 - shape.colour[0][3];
  }
  ASSERT_EQ(named.size(), 70u);
  for (int i = 0; i < 70; ++i) EXPECT_EQ(named[i], fir(i + 1));
  EXPECT_NEAR(through, std::pow(0.8, 70), 1e-9);

  remove("fir1.dat");
  layer = drawactfir(lists, refs.firs, refs.outlines, 1);
  EXPECT_EQ(layer.failure, "fir1.dat cannot be read");
  EXPECT_TRUE(drawn(layer.ops).empty());
  remove("firs.dat");
  EXPECT_EQ(drawactfir(lists, refs.firs, refs.outlines, 1).failure, "firs.dat cannot be read");
}

TEST_F(TrafficLayers, ChiefOutlinesFromTheStatusFile) {
  const std::string path = folder.write(
      "whazzup.txt", "!GENERAL\nEDMM-CH:in the header\n3\n4\n5\n6\n!CLIENTS\n" + record("EDGX-CH") +
                         "\r\n" + record("EDGG_CTR") + "\n" + record("XXXX-CH") + "\n" +
                         record("EMPT-ach") + "\n!SERVERS\nEDLA:x:y:a -ACH: anywhere\n");
  Layer layer = drawchiefs(path, refs.outlines);
  EXPECT_EQ(layer.list, 11);
  EXPECT_EQ(layer.failure, "");
  ASSERT_GE(layer.ops.ops().size(), 2u);
  EXPECT_EQ(layer.ops.ops()[1].kind, Kind::LoadName);
  // One primitive for all chiefs: EDGX and EDLA; no block for XXXX, and the
  // block of EMPT has no points.
  const std::vector<Drawn> lines = drawn(layer.ops);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].prim, Prim::Lines);
  EXPECT_EQ(lines[0].name, 0u);
  EXPECT_EQ(lines[0].colour[0], (Rgba4{1, 1, 1, 1}));
  const std::array<LatLon, 12> expected{{{50, 8}, {51, 9}, {51, 9}, {52, 8}, {50, 8}, {52, 8},
                                         {53, 13}, {54, 14}, {54, 14}, {55, 13}, {53, 13}, {55, 13}}};
  ASSERT_EQ(lines[0].at.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) expectat(lines[0].at[k], expected[k].lat, expected[k].lon);

  std::filesystem::remove(path);
  layer = drawchiefs(path, refs.outlines);
  EXPECT_EQ(layer.failure, "whazzup.txt cannot be read");
  EXPECT_TRUE(drawn(layer.ops).empty());
}

TEST(MarkerRing, RoundRingAroundTheClientWithoutAName) {
  for (const LatLon c : {LatLon{52.5, 13.4}, LatLon{-70, 179.9}}) {
    const Layer layer = drawmarker(c.lat, c.lon);
    EXPECT_EQ(layer.list, kMarkerList);
    EXPECT_EQ(layer.ops.countof(Kind::LoadName), 0u);
    EXPECT_EQ(layer.ops.countof(Kind::LineWidth), 1u);
    const std::vector<Drawn> ring = drawn(layer.ops);
    ASSERT_EQ(ring.size(), 1u);
    EXPECT_EQ(ring[0].prim, Prim::LineLoop);
    ASSERT_GE(ring[0].at.size(), 16u);
    for (std::size_t k = 0; k < ring[0].at.size(); ++k) {
      const LatLon& p = ring[0].at[k];
      const double arckm = kMarkerRadius * kDegToRad * 6378.137;
      EXPECT_NEAR(dist(c.lat, c.lon, p.lat, p.lon), arckm, 0.02 * arckm) << k;
      EXPECT_EQ(ring[0].colour[k], (Rgba4{1, 0, 1, 1}));
    }
  }
}

}  // namespace
}  // namespace netglobe

namespace netglobe {
namespace {

struct Seen {
  const char* callsign;
  const char* memberid;
  double lat, lon;
};

PositionFrame frame(std::int64_t minute, const std::vector<Seen>& seen) {
  PositionFrame f{static_cast<std::uint64_t>(minute + 1000), minute * 60'000, {}};
  for (const Seen& p : seen) f.pilots.push_back(pilotposition(p.callsign, p.memberid, p.lat, p.lon));
  return f;
}

TEST(Trails, EachDrawnPilotsTrackInItsRimColourBrokenByGapsAndJumps) {
  StatusLists lists;
  fill(lists.pillines, lists.pilcount,
       {record("A", "50", "10", "0", "", "811402"), record("B", "40", "0", "0", "EDDT", "2"),
        record("C", "0", "0", "0", "", "3"), record("A", "50", "10", "0", "", "811402")});
  // Minutes before the end at 100; A's callsign also flies under another
  // member id, which is another pilot and not drawn.
  std::vector<PositionFrame> frames = {
      frame(60, {{"A", "811402", 49.0, 9.0}}),  // outside the 30 minutes
      frame(71, {{"A", "811402", 49.1, 9.1}, {"B", "2", 39.0, 0}, {"A", "9", 0, 100}}),
      frame(72, {{"A", "811402", 49.2, 9.2}, {"A", "811402", 1, 1}, {"B", "2", 39.1, 0}}),
      frame(73, {{"A", "811402", 49.3, 9.3}, {"B", "2", 44.11, 0}, {"A", "9", 0, 101}}),
      frame(74, {{"A", "811402", 49.4, 9.4}, {"B", "2", 49.08, 0}}),
      frame(85, {{"A", "811402", 49.5, 9.5}, {"B", "2", 49.1, 0}, {"C", "3", 1, 1}}),
      frame(90, {{"A", "811402", 49.6, 9.6}}),
      frame(95, {{"A", "811402", 49.7, 9.7}}),
      frame(100, {{"A", "811402", 50, 10}, {"B", "2", 40, 0}}),
      frame(101, {{"A", "811402", 0, 0}, {"B", "2", 0, 0}}),  // after the end: a later refresh
  };
  std::swap(frames[2], frames[7]);  // the order of receipt decides, not the order given
  const Layer layer = drawtrails(frames, lists, FriendIds({"811402"}), 100 * 60'000);
  EXPECT_EQ(layer.list, kTrailList);
  EXPECT_EQ(layer.ops.countof(Kind::LoadName), 0u);

  const std::vector<Drawn> lines = drawn(layer.ops);
  const Rgba4 blue{0, 0, 1, 1}, green{0, 0.5f, 0, 1};
  struct Expected {
    Rgba4 colour;
    std::vector<LatLon> at;
  };
  // A: joined minute by minute, broken by the 11 minutes from 74 to 85,
  // then joined at 5-minute steps (the duplicate in minute 72 is not a fix).
  // B: broken by its jump of 5.01 degrees (301 NM) after 72, joined over
  // 4.97 degrees (299 NM) and broken by the gap after 74; its lone fixes at
  // 85 and 100 draw nothing. C has a single fix.
  const std::vector<Expected> expected = {
      {blue, {{49.1, 9.1}, {49.2, 9.2}, {49.3, 9.3}, {49.4, 9.4}}},
      {blue, {{49.5, 9.5}, {49.6, 9.6}, {49.7, 9.7}, {50, 10}}},
      {green, {{39.0, 0}, {39.1, 0}}},
      {green, {{44.11, 0}, {49.08, 0}}},
  };
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].prim, Prim::LineStrip);
    ASSERT_EQ(lines[i].at.size(), expected[i].at.size()) << "line " << i;
    for (std::size_t k = 0; k < lines[i].at.size(); ++k) {
      expectat(lines[i].at[k], expected[i].at[k].lat, expected[i].at[k].lon);
      EXPECT_EQ(lines[i].colour[k], expected[i].colour);
    }
  }
}

TEST(Trails, PositionsAreThePilotLinesOfAStatusText) {
  const std::string text =
      "!GENERAL\r\n1\r\n2\r\n3\r\n4\r\n5\r\n!CLIENTS\r\n"
      "EDDB_TWR:100:Tom:ATC:118.1:52.3:13.5:0:0:\r\n"
      "DLH1:811402:Jo Jones:PILOT::52.1:13.2:35000:450:\r\n"
      "SHORT:7:name-long:PILOT:\r\n"  // no position: no fix, as no disc
      "ZERO:8:Zed:PILOT::0:0:\r\n"
      "!SERVERS\r\nLATE:9:name-long:PILOT::1:1:\r\n";
  const std::vector<PilotPosition> pilots = decodepositions(text);
  ASSERT_EQ(pilots.size(), 2u);
  EXPECT_EQ(pilots[0].callsign, "DLH1");
  EXPECT_EQ(pilots[0].memberid, "811402");
  EXPECT_DOUBLE_EQ(pilots[0].lat, 52.1);
  EXPECT_DOUBLE_EQ(pilots[0].lon, 13.2);
  EXPECT_EQ(pilots[0].key, pilotkey("DLH1", "811402"));
  EXPECT_NE(pilotkey("DLH1", "811402"), pilotkey("DLH18", "11402"));
  EXPECT_EQ(pilots[1].callsign, "ZERO");  // a reported 0 N 0 E is a position
  EXPECT_EQ(pilots[1].lat, 0);
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "geo/globe_coords.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/station_layers.h"
#include "scene/pick_names.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

using Kind = DrawOp::Kind;
using Rgba4 = std::array<float, 4>;

struct LatLon {
  double lat;
  double lon;
};

// One primitive as GL would draw it: the name loaded and each vertex with
// the colour current at it.
struct Drawn {
  Prim prim;
  std::uint32_t name;
  std::vector<LatLon> at;
  std::vector<Rgba4> colour;
};

// The inverse of getxyz, for reading vertices back as positions.
LatLon latlon(const DrawOp& op) {
  const double r = std::sqrt(op.f[0] * op.f[0] + op.f[1] * op.f[1] + op.f[2] * op.f[2]);
  double lon = std::atan2(op.f[1], op.f[0]) / kDegToRad + 90;
  if (lon > 180) lon -= 360;
  return {std::asin(op.f[2] / r) / kDegToRad, lon};
}

std::vector<Drawn> drawn(const DrawList& list) {
  std::vector<Drawn> out;
  std::uint32_t name = 0;
  Rgba4 colour{1, 1, 1, 1};
  bool open = false;
  for (const DrawOp& op : list.ops()) {
    switch (op.kind) {
      case Kind::LoadName: name = op.u; break;
      case Kind::Color: colour = {op.f[0], op.f[1], op.f[2], op.f[3]}; break;
      case Kind::Begin:
        EXPECT_FALSE(open);
        open = true;
        out.push_back({static_cast<Prim>(op.u), name, {}, {}});
        break;
      case Kind::End:
        EXPECT_TRUE(open);
        open = false;
        break;
      case Kind::Vertex:
        EXPECT_TRUE(open);
        out.back().at.push_back(latlon(op));
        out.back().colour.push_back(colour);
        break;
      default: break;
    }
  }
  EXPECT_FALSE(open);
  return out;
}

void expectat(const LatLon& got, double lat, double lon) {
  EXPECT_NEAR(got.lat, lat, 1e-4);
  EXPECT_NEAR(got.lon, lon, 1e-4);
}

// A client line with the positions the layers read, the rest filled.
std::string record(const std::string& callsign, const std::string& id, const std::string& type,
                   const std::string& lat, const std::string& lon, const std::string& speed = "0",
                   const std::string& dest = "") {
  std::vector<std::string> f(40, "x");
  f[0] = callsign, f[1] = id, f[3] = type, f[5] = lat, f[6] = lon, f[8] = speed, f[13] = dest;
  std::string line;
  for (const std::string& s : f) line += s + ":";
  return line;
}

void add(std::vector<std::string>& list, int& count, const std::string& line) { list[++count] = line; }

class TrafficLayers : public ::testing::Test {
 protected:
  TrafficLayers() {
    folder.write("airports.dat", "EDDF:Frankfurt:Frankfurt:::50.03:8.57\nEDDF:Later:Later:::50.5:9\n"
                                 "EDDM:Munich:Munich:::48.35:11.78\nEDDB:Berlin:Berlin:::50:11\n"
                                 "EDDH:Hamburg:Hamburg:::60:10\n");
    std::string longblock = "!LONG\n";
    for (int i = 0; i < 501; ++i) longblock += "40:" + std::to_string(i * 0.01) + "\n";
    folder.write("firs.dat", "EDGG::Langen:::50:8:EDGX\nEDMM::Munich:::48:11\nLONG::Long:::1:1\n"
                             "EDLA::Last:::1:1\nEMPT::Empty:::1:1\n");
    folder.write("fir1.dat", "!EDGX\n50:8\n51:9\n52:8\n!\n!EDMM\n47:11\n48:12\n46:12\n!\n" + longblock +
                                 "!\n!EMPT\n!\n!EDLA\n53:13\n54:14\n55:13");
    refs.refresh();
  }
  TempFolder folder;
  RefDirectories refs{folder.path()};
  StatusLists lists;
};

TEST_F(TrafficLayers, AircraftDiscsByKindOfPilot) {
  const FriendIds friends({"811402"});
  add(lists.pillines, lists.pilcount, record("DLH1", "1", "PILOT", "50", "10", "300", "EDDM"));
  add(lists.pillines, lists.pilcount, record("DLH2", "2", "PILOT", "51", "10", "300", "EDDT"));
  add(lists.pillines, lists.pilcount, record("DLH3", "811402", "PILOT", "52", "10", "0", "eddt"));
  add(lists.pillines, lists.pilcount, record("DLH4", "811402", "PILOT", "53", "10", "0", "EDDB"));
  // Cut short after the type: its position is empty, not the pilot's before it.
  add(lists.pillines, lists.pilcount, "DLH5:5:n:PILOT:");
  const Layer layer = drawaircraft(lists, friends, 0.05);
  EXPECT_EQ(layer.list, 3);
  const std::vector<Drawn> discs = drawn(layer.ops);
  ASSERT_EQ(discs.size(), 5u);
  const Rgba4 red{1, 0, 0, 1}, green{0, 0.5f, 0, 1}, blue{0, 0, 1, 1}, white{1, 1, 1, 1};
  const std::array<Rgba4, 5> rims{red, green, blue, blue, red};
  const std::array<double, 5> radii{0.05, 0.065, 0.065, 0.08, 0.05};
  const std::array<double, 5> lats{50, 51, 52, 53, 0};
  for (int i = 0; i < 5; ++i) {
    const Drawn& disc = discs[i];
    EXPECT_EQ(disc.prim, Prim::TriangleFan);
    EXPECT_EQ(disc.name, pickname(PickKind::Aircraft, i + 1));
    ASSERT_EQ(disc.at.size(), 14u);  // centre and 13 rim vertices
    expectat(disc.at[0], lats[i], i < 4 ? 10 : 0);
    EXPECT_EQ(disc.colour[0], white);
    EXPECT_EQ(disc.colour[1], rims[i]);
    expectat(disc.at[1], lats[i] + radii[i], i < 4 ? 10 : 0);
    expectat(disc.at[13], disc.at[1].lat, disc.at[1].lon);  // the fan closes
  }
  // East of the centre the rim widens by 1/cos of its own latitude.
  EXPECT_NEAR(discs[0].at[4].lon - 10, 0.05 / std::cos(50 * kDegToRad), 1e-4);
  EXPECT_TRUE(drawaircraft(StatusLists{}, friends, 0.05).ops.empty());
}

TEST_F(TrafficLayers, DirectionLinesOfMovingPilotsWithADestination) {
  add(lists.pillines, lists.pilcount, record("A", "1", "PILOT", "50", "10", "300", "EDDB"));
  add(lists.pillines, lists.pilcount, record("B", "1", "PILOT", "50", "10", "29.9", "EDDB"));
  add(lists.pillines, lists.pilcount, record("C", "1", "PILOT", "50", "10", "450", ""));
  add(lists.pillines, lists.pilcount, record("D", "1", "PILOT", "10", "10", "30", "ZZZZ"));
  add(lists.pillines, lists.pilcount, record("E", "1", "PILOT", "50", "11", "100", "EDDB"));
  add(lists.pillines, lists.pilcount, record("F", "1", "PILOT", "", "", "100", "EDDB"));
  Layer layer = drawaircraftdir(lists, refs.airports);
  EXPECT_EQ(layer.list, 12);
  EXPECT_EQ(layer.failure, "");
  std::vector<Drawn> lines = drawn(layer.ops);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].prim, Prim::Lines);
  const std::vector<LatLon>& at = lines[0].at;
  ASSERT_EQ(at.size(), 8u);
  expectat(at[0], 50, 10);  // course 89 towards 50 N 11 E, 0.3 degree long
  EXPECT_NEAR(at[1].lat, 50.0052, 1e-4);
  EXPECT_NEAR(at[1].lon, 10.4666, 1e-4);
  EXPECT_EQ(lines[0].colour[0], (Rgba4{1, 0.5f, 0, 1}));
  EXPECT_EQ(lines[0].colour[1], (Rgba4{1, 1, 0, 1}));
  // 30 knots to an unknown code: 0.03 degree towards 0 N 0 E (south-west).
  expectat(at[2], 10, 10);
  EXPECT_NEAR(std::hypot(at[3].lat - 10, (at[3].lon - 10) * std::cos(10 * kDegToRad)), 0.03, 1e-4);
  EXPECT_TRUE(at[3].lat < 10 && at[3].lon < 10);
  // At its destination already: a line all the same, and the pilots after it too.
  expectat(at[4], 50, 11);
  expectat(at[6], 0, 0);

  std::filesystem::remove(folder.file("airports.dat"));
  refs.refresh();
  layer = drawaircraftdir(lists, refs.airports);
  EXPECT_EQ(layer.failure, "airports.dat cannot be read");
  lines = drawn(layer.ops);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].at.empty());
}

TEST_F(TrafficLayers, ApproachAndTowerStationsAtTheirAirports) {
  add(lists.applines, lists.appcount, record("EDDF_APP", "1", "ATC", "1", "1"));
  add(lists.applines, lists.appcount, record("EDDM_CTR", "1", "ATC", "1", "1"));
  add(lists.applines, lists.appcount, record("EDDM_app", "1", "ATC", "1", "1"));
  add(lists.applines, lists.appcount, record("XXXX_DEP", "1", "ATC", "45.5", "7.25"));
  add(lists.twrlines, lists.twrcount, record("EDDH_TWR", "1", "ATC", "1", "1"));
  add(lists.twrlines, lists.twrcount, record("YYYY_GND", "1", "ATC", "-20", "30"));

  const std::vector<Drawn> spots = drawn(drawapp(lists, refs.airports, 0.8).ops);
  ASSERT_EQ(spots.size(), 3u);
  const std::array<std::uint32_t, 3> names{1, 3, 4};
  const std::array<LatLon, 3> places{{{50.5, 9}, {48.35, 11.78}, {45.5, 7.25}}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(spots[i].name, pickname(PickKind::Approach, int(names[i])));
    ASSERT_EQ(spots[i].at.size(), 14u);
    expectat(spots[i].at[0], places[i].lat, places[i].lon);
    expectat(spots[i].at[1], places[i].lat + 0.8, places[i].lon);
    EXPECT_EQ(spots[i].colour[0], (Rgba4{0, 1, 0, 1}));
    EXPECT_EQ(spots[i].colour[13], (Rgba4{0, 1, 0, 0}));
  }
  // The widening takes the cosine of the rim vertex's latitude, not the centre's.
  const double rimlat = 50.5 + 0.8 * std::cos(30 * kDegToRad);
  EXPECT_NEAR(spots[0].at[2].lon - 9, 0.4 / std::cos(rimlat * kDegToRad), 1e-4);

  Layer towers = drawtwr(lists, refs.airports, 0.1);
  EXPECT_EQ(towers.list, 10);
  std::vector<Drawn> triangles = drawn(towers.ops);
  ASSERT_EQ(triangles.size(), 2u);
  EXPECT_EQ(triangles[0].prim, Prim::Triangles);
  EXPECT_EQ(triangles[1].name, pickname(PickKind::Tower, 2));
  EXPECT_EQ(triangles[0].colour[2], (Rgba4{0, 1, 1, 1}));
  expectat(triangles[0].at[0], 60.1, 10);
  expectat(triangles[0].at[1], 59.9, 10.1);  // no widening by latitude
  expectat(triangles[0].at[2], 59.9, 9.9);
  expectat(triangles[1].at[0], -19.9, 30);

  // Without airports.dat both end at their first station and say why.
  std::filesystem::remove(folder.file("airports.dat"));
  refs.refresh();
  const Layer apps = drawapp(lists, refs.airports, 0.8);
  towers = drawtwr(lists, refs.airports, 0.1);
  EXPECT_EQ(apps.failure, "airports.dat cannot be read");
  EXPECT_EQ(towers.failure, "airports.dat cannot be read");
  EXPECT_TRUE(drawn(apps.ops).empty());
  EXPECT_TRUE(drawn(towers.ops).empty());
}

TEST_F(TrafficLayers, ActiveFirsOutlinedAndFilledPerStation) {
  add(lists.ctrlines, lists.ctrcount, record("EDGG_CTR", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("LONG_CTR", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("UNKN_CTR", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("EMPT_CTR", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("EDMM_fss", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("EDMM_OBS", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("EDLA_CTR", "1", "ATC", "0", "0"));
  add(lists.ctrlines, lists.ctrcount, record("EDGG_CTR", "1", "ATC", "0", "0"));

  Layer layer = drawactfir(lists, refs.firs, refs.outlines, 1);
  EXPECT_EQ(layer.list, 8);
  EXPECT_EQ(layer.failure, "");
  std::vector<Drawn> shapes = drawn(layer.ops);
  // Outline and two fill passes for each of EDGG (under its boundary code
  // EDGX), EDMM, EDLA (last block, no "!" after it) and EDGG again; the
  // outline over 500 points and the empty block are left out.
  ASSERT_EQ(shapes.size(), 12u);
  const std::array<int, 4> stations{1, 5, 7, 8};
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(shapes[3 * s].prim, Prim::Lines);
    EXPECT_EQ(shapes[3 * s + 2].prim, Prim::Polygon);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(shapes[3 * s + k].name, pickname(PickKind::ActiveFir, stations[s]));
  }
  const std::vector<LatLon>& ring = shapes[0].at;
  ASSERT_EQ(ring.size(), 6u);  // A-B, B-C, A-C
  expectat(ring[0], 50, 8), expectat(ring[1], 51, 9), expectat(ring[2], 51, 9);
  expectat(ring[3], 52, 8), expectat(ring[4], 50, 8), expectat(ring[5], 52, 8);
  EXPECT_EQ(shapes[0].colour[0], (Rgba4{1, 0, 0.5f, 1}));
  EXPECT_EQ(shapes[2].colour[0], (Rgba4{1, 0, 0.5f, 0.2f}));
  EXPECT_EQ(shapes[3].colour[0], (Rgba4{0, 0.5f, 0.75f, 1}));  // lower-case FSS marker
  EXPECT_EQ(shapes[5].colour[0], (Rgba4{0, 0.2f, 0.3f, 0.7f}));
  expectat(shapes[6].at[5], 55, 13);
  EXPECT_EQ(layer.ops.countof(Kind::ClearStencil), 1u);
  EXPECT_EQ(layer.ops.countof(Kind::Disable), 8u);  // depth and stencil per fill

  // Fill off: outlines only, no stencil work, depth testing left alone.
  layer = drawactfir(lists, refs.firs, refs.outlines, -1);
  EXPECT_EQ(drawn(layer.ops).size(), 4u);
  EXPECT_EQ(layer.ops.countof(Kind::Disable) + layer.ops.countof(Kind::ClearStencil), 0u);

  std::filesystem::remove(folder.file("fir1.dat"));
  refs.refresh();
  layer = drawactfir(lists, refs.firs, refs.outlines, 1);
  EXPECT_EQ(layer.failure, "fir1.dat cannot be read");
  EXPECT_TRUE(drawn(layer.ops).empty());
  std::filesystem::remove(folder.file("firs.dat"));
  refs.refresh();
  EXPECT_EQ(drawactfir(lists, refs.firs, refs.outlines, 1).failure, "firs.dat cannot be read");
}

TEST_F(TrafficLayers, ChiefOutlinesFromTheStatusFile) {
  std::string status = "!GENERAL\nEDMM-CH:in the header\n3\n4\n5\n6\n!CLIENTS\n";
  status += record("EDGX-CH", "1", "ATC", "0", "0") + "\r\n";  // A, B, C
  status += record("EDGG_CTR", "1", "ATC", "0", "0") + "\n";   // no chief
  status += record("XXXX-CH", "1", "ATC", "0", "0") + "\n";    // no block
  status += record("EMPT-ach", "1", "ATC", "0", "0") + "\n";   // a block without points
  status += "!SERVERS\nEDLA:x:y:mentions a -ACH: too\n";
  const std::string path = folder.write("whazzup.txt", status);

  Layer layer = drawchiefs(path, refs.outlines);
  EXPECT_EQ(layer.list, 11);
  EXPECT_EQ(layer.failure, "");
  ASSERT_GE(layer.ops.ops().size(), 2u);
  EXPECT_EQ(layer.ops.ops()[1].kind, Kind::LoadName);
  const std::vector<Drawn> lines = drawn(layer.ops);
  ASSERT_EQ(lines.size(), 1u);  // one primitive for all chiefs
  EXPECT_EQ(lines[0].prim, Prim::Lines);
  EXPECT_EQ(lines[0].name, 0u);
  EXPECT_EQ(lines[0].colour[0], (Rgba4{1, 1, 1, 1}));
  const std::array<LatLon, 12> expected{
      {{50, 8}, {51, 9}, {51, 9}, {52, 8}, {50, 8}, {52, 8},
       {53, 13}, {54, 14}, {54, 14}, {55, 13}, {53, 13}, {55, 13}}};
  ASSERT_EQ(lines[0].at.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) expectat(lines[0].at[k], expected[k].lat, expected[k].lon);

  std::filesystem::remove(path);
  layer = drawchiefs(path, refs.outlines);
  EXPECT_EQ(layer.failure, "whazzup.txt cannot be read");
  EXPECT_TRUE(drawn(layer.ops).empty());
}

}  // namespace
}  // namespace netglobe

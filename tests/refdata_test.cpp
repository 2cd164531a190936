#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "geo/globe_coords.h"
#include "refdata/directories.h"
#include "layers/static_layers.h"

namespace netglobe {
namespace {

using Kind = DrawOp::Kind;
using Vertex = std::array<float, 3>;

// A program folder holding the reference files a test writes.
class RefFolder : public ::testing::Test {
 protected:
  RefFolder() : dir_(std::filesystem::temp_directory_path() / ("netglobe_ref_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~RefFolder() override { std::filesystem::remove_all(dir_); }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; }
  std::string folder() const { return dir_.string(); }
  std::filesystem::path dir_;
};

std::vector<Vertex> vertices(const DrawList& list) {
  std::vector<Vertex> out;
  for (const DrawOp& op : list.ops())
    if (op.kind == Kind::Vertex) {
      const GlobePoint p = op.point();
      out.push_back({float(p.x), float(p.y), float(p.z)});
    }
  return out;
}

std::vector<Vertex> at(std::initializer_list<std::pair<double, double>> latlon) {
  DrawList list;
  for (auto [lat, lon] : latlon) list.vertex(getxyz(lat, lon, 0));
  return vertices(list);
}

// Every Begin has its End and no vertex lies outside a primitive.
void expectbalanced(const DrawList& list) {
  int open = 0;
  for (const DrawOp& op : list.ops()) {
    open += op.kind == Kind::Begin ? 1 : op.kind == Kind::End ? -1 : 0;
    ASSERT_TRUE(open == 0 || open == 1);
    ASSERT_TRUE(op.kind != Kind::Vertex || open == 1);
  }
  EXPECT_EQ(open, 0);
}

TEST(Graticule, HoldsBothSweepsAndAsksForPointSize1) {
  const Layer grade = drawgrade();
  EXPECT_EQ(grade.pointsize, 1.0f);
  EXPECT_EQ(vertices(grade.ops).size(), 2u * 4440);
  expectbalanced(grade.ops);
  // Meridian 360 is drawn on top of meridian 0.
  EXPECT_EQ(vertices(grade.ops)[36 * 120 + 2], at({{-87, 360}})[0]);
}

TEST_F(RefFolder, CoastlineRunsDoNotJoin) {
  write("coastline.dat", "10:20\r\n11:21\r\nend\r\nend\r\n30:40\r\n31:41:7\r\n");
  const Layer coast = drawcoast(folder() + "/coastline.dat");
  expectbalanced(coast.ops);
  EXPECT_EQ(vertices(coast.ops), at({{10, 20}, {11, 21}, {30, 40}, {30, 40}, {30, 40}, {31, 41}}));
}

TEST_F(RefFolder, CoastlineStopsAtFirstBadLine) {
  write("coastline.dat", "10:20\n11:21\n\n12:22\n");
  EXPECT_EQ(vertices(drawcoast(folder() + "/coastline.dat").ops), at({{10, 20}, {11, 21}}));
  write("coastline.dat", "10:20\n11:21\nend\n");
  EXPECT_EQ(vertices(drawcoast(folder() + "/coastline.dat").ops), at({{10, 20}, {11, 21}}));
  write("coastline.dat", "10:20\n11 21\n12:22\n");
  const Layer cut = drawcoast(folder() + "/coastline.dat");
  expectbalanced(cut.ops);
  EXPECT_TRUE(vertices(cut.ops).empty());
  EXPECT_TRUE(drawcoast(folder() + "/absent/coastline.dat").ops.empty());
}

TEST_F(RefFolder, FirOutlinesCloseEveryLoop) {
  write("fir1.dat", "!EDGG\n50:8\n51:9\n52:8\n!\n!EDMM\n47:11\n48:12\n!!\n");
  const Layer firs = drawfirs(folder() + "/fir1.dat");
  expectbalanced(firs.ops);
  EXPECT_EQ(firs.ops.countof(Kind::Begin), 2u);
  // Each outline returns to its first point.
  EXPECT_EQ(vertices(firs.ops), at({{50, 8}, {51, 9}, {52, 8}, {50, 8}, {47, 11}, {48, 12}, {47, 11}}));
}

TEST_F(RefFolder, FirOutlinesSurviveBrokenFiles) {
  // A header that closes the block directly: the next block's first point is passed over.
  write("fir1.dat", "!EDGG\n50:8\n51:9\n!EDMM\n47:11\n48:12\n49:13");
  Layer firs = drawfirs(folder() + "/fir1.dat");
  expectbalanced(firs.ops);
  EXPECT_EQ(vertices(firs.ops), at({{50, 8}, {51, 9}, {50, 8}, {48, 12}, {49, 13}, {48, 12}}));
  write("fir1.dat", "!EDGG\n50:8\n51 9\n52:8\n!!\n");
  firs = drawfirs(folder() + "/fir1.dat");
  expectbalanced(firs.ops);
  EXPECT_EQ(vertices(firs.ops), at({{50, 8}, {50, 8}}));
  EXPECT_TRUE(drawfirs(folder() + "/absent/fir1.dat").ops.empty());
}

// One lookup in a directory read just now.
FirInfo firinfo(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  FirDirectory firs(folder + "/firs.dat");
  firs.refresh();
  return firs.getfirinfo(icao, fieldbuf);
}

AirportPos airport(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  AirportDirectory airports(folder + "/airports.dat");
  airports.refresh();
  return airports.getdestlatlon(icao, fieldbuf);
}

TEST_F(RefFolder, FirDirectoryPrefersBoundaryCode) {
  write("firs.dat", "EDGG:x:Langen:::50.1:8.6\nEDGG:x:Langen 2:::51:9:EDGX\nEDGG:x:Late:::1:1:EDGY\n"
                    "LFFF:x:Paris:::48:2\nLFFF:x:Paris 2:::49:3\n");
  FieldBuf fieldbuf;
  FirInfo info = firinfo(folder(), "EDGG", fieldbuf);
  EXPECT_TRUE(info.readable && info.firfound == 1 && info.destlat == 51 && info.destlon == 9);
  EXPECT_EQ(info.fircode, "EDGX");
  EXPECT_EQ(fieldbuf(3), "Langen 2");
  info = firinfo(folder(), "LFFF", fieldbuf);  // position 8 left over from EDGG must not count
  EXPECT_EQ(info.fircode, "LFFF");
  EXPECT_EQ(info.destlon, 3);
  info = firinfo(folder(), "KZNY", fieldbuf);
  EXPECT_TRUE(info.firfound == 0 && info.destlat == 0 && info.destlon == 0);
  EXPECT_EQ(fieldbuf(3), "Paris 2");
  EXPECT_FALSE(firinfo(folder() + "/absent", "EDGG", fieldbuf).readable);
}

TEST_F(RefFolder, AirportLookupTakesFirstExactMatch) {
  write("airports.dat", "EDDF:Frankfurt:Frankfurt:x:x:50.03:8.57\nEDDF:Other:Other:x:x:1:1\n"
                        "FZAA:Ndjili:Kinshasa:x:x:0:15\n");
  FieldBuf fieldbuf;
  AirportPos pos = airport(folder(), "EDDF", fieldbuf);
  EXPECT_TRUE(pos.destlat == 50.03 && pos.destlon == 8.57);
  EXPECT_EQ(fieldbuf(2), "Frankfurt");
  pos = airport(folder(), "eddf", fieldbuf);
  EXPECT_TRUE(pos.readable && pos.destlat == 0);
  EXPECT_EQ(fieldbuf(2), "Frankfurt");  // untouched without a match
  pos = airport(folder(), "FZAA", fieldbuf);
  EXPECT_TRUE(pos.destlat == 0 && pos.destlon == 15);
  EXPECT_FALSE(airport(folder() + "/absent", "EDDF", fieldbuf).readable);
}

}  // namespace
}  // namespace netglobe

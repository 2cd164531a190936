// Checks the shipped reference files against the reading rules of the layers
// and lookups that use them: a file that breaks one of these draws a wrong
// layer or fails a lookup without any message at run time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/fields.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "geo/globe_coords.h"
#include "layers/static_layers.h"

namespace netglobe {
namespace {

const std::string kData = NETGLOBE_DATA_DIR;

std::vector<std::string> lines(const std::string& name) {
  LineReader reader(kData + "/" + name);
  EXPECT_TRUE(reader.isopen()) << name;
  std::vector<std::string> out;
  std::string line;
  while (reader.next(line)) out.push_back(line);
  return out;
}

std::string bytes(const std::string& name) {
  std::ifstream in(kData + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A coordinate line as the outline readers want it: two plain decimal
// numbers, nothing after them that the leading-number reading would drop.
const std::regex kCoordinate(R"(-?\d{1,3}(\.\d{1,5})?:-?\d{1,3}(\.\d{1,5})?)");

struct Point {
  double lat, lon;
};

Point point(const std::string& line) {
  FieldBuf f;
  EXPECT_TRUE(getfields2(line, f)) << line;
  return {leadingnumber(f(1)), leadingnumber(f(2))};
}

// Shoelace area in square degrees, for comparing the parts of one FIR.
double area(const std::vector<Point>& ring) {
  double sum = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Point& a = ring[i];
    const Point& b = ring[(i + 1) % ring.size()];
    sum += a.lon * b.lat - b.lon * a.lat;
  }
  return std::fabs(sum) / 2;
}

bool inside(const std::vector<Point>& ring, Point p) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const Point& a = ring[i];
    const Point& b = ring[j];
    if ((a.lat > p.lat) != (b.lat > p.lat) &&
        p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon) {
      in = !in;
    }
  }
  return in;
}

TEST(DataFiles, AllTextFilesAreWindows1252WithLfLineEnds) {
  for (const char* name : {"coastline.dat", "airports.dat", "fir1.dat", "firs.dat"}) {
    SCOPED_TRACE(name);
    const std::string text = bytes(name);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      ASSERT_TRUE(c == '\n' || c >= 0x20) << "control byte " << int(c) << " at " << i;
      // Code points windows-1252 leaves unassigned.
      ASSERT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << "at " << i;
      // A complete UTF-8 sequence means the text was written as UTF-8 and
      // would show as two to four odd glyphs.
      const std::size_t tail = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
      if (tail && i + tail < text.size()) {
        std::size_t k = 1;
        while (k <= tail && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80) ++k;
        ASSERT_LE(k, tail) << "UTF-8 sequence at " << i;
      }
    }
  }
}

TEST(DataFiles, GlobeImageIsATextureSizedJpeg) {
  const std::string jpg = bytes("velmar.jpg");
  ASSERT_GE(jpg.size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>(jpg[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(jpg[1]), 0xD8);
  // Walk the segments to the frame header, which holds the size.
  std::size_t i = 2;
  int width = 0, height = 0;
  while (i + 9 < jpg.size() && static_cast<unsigned char>(jpg[i]) == 0xFF) {
    const auto marker = static_cast<unsigned char>(jpg[i + 1]);
    const std::size_t length = (static_cast<unsigned char>(jpg[i + 2]) << 8) | static_cast<unsigned char>(jpg[i + 3]);
    if (marker >= 0xC0 && marker <= 0xC2) {
      height = (static_cast<unsigned char>(jpg[i + 5]) << 8) | static_cast<unsigned char>(jpg[i + 6]);
      width = (static_cast<unsigned char>(jpg[i + 7]) << 8) | static_cast<unsigned char>(jpg[i + 8]);
      break;
    }
    i += 2 + length;
  }
  // An equirectangular world map of power-of-two sides, as the texture needs.
  EXPECT_EQ(width, 2048);
  EXPECT_EQ(height, 1024);
}

TEST(DataFiles, CoastlineFollowsTheRunRules) {
  const auto coast = lines("coastline.dat");
  ASSERT_GT(coast.size(), 10000u);
  EXPECT_TRUE(std::regex_match(coast.front(), kCoordinate)) << coast.front();
  int runs = 1;
  for (std::size_t i = 0; i < coast.size(); ++i) {
    const std::string& line = coast[i];
    if (line == "end") {
      ++runs;
      // A final "end" would make the layer read past the end of the file.
      EXPECT_LT(i + 1, coast.size());
      continue;
    }
    ASSERT_TRUE(std::regex_match(line, kCoordinate)) << "line " << i + 1 << ": \"" << line << '"';
    const Point p = point(line);
    ASSERT_LE(std::fabs(p.lat), 90.0) << line;
    ASSERT_LE(std::fabs(p.lon), 180.0) << line;
  }
  EXPECT_GT(runs, 1000);
}

TEST(DataFiles, AirportsHaveOneWellFormedLinePerCode) {
  const std::regex code("[A-Z]{4}");
  std::map<std::string, int> count;
  std::map<std::string, Point> where;
  FieldBuf f;
  for (const std::string& line : lines("airports.dat")) {
    f(8).clear();
    getfields(line, f);
    ASSERT_TRUE(std::regex_match(f(1), code)) << line;
    ASSERT_FALSE(f(7).empty()) << line;
    ASSERT_TRUE(f(8).empty()) << "more than 7 fields: " << line;
    EXPECT_FALSE(f(2).empty()) << line;
    EXPECT_FALSE(f(3).empty()) << line;
    // Lookups compare the first four characters: the code must begin the line.
    ASSERT_EQ(line.substr(0, 5), f(1) + ":");
    const Point p{leadingnumber(f(6)), leadingnumber(f(7))};
    EXPECT_LE(std::fabs(p.lat), 90.0) << line;
    EXPECT_LE(std::fabs(p.lon), 180.0) << line;
    ++count[f(1)];
    where[f(1)] = p;
  }
  EXPECT_GT(count.size(), 4000u);
  for (const auto& [c, n] : count) EXPECT_EQ(n, 1) << "duplicate code " << c;
  // The home aerodromes of the side lists all lie in eastern Germany; a
  // missing one, or one with latitude and longitude swapped, shows here.
  for (const char* home : {"EDDT", "EDDI", "EDDB", "EDDP", "EDDE", "EDDC", "ETNL", "EDOP", "EDBM",
                           "EDAC", "EDAB", "ETNU", "EDBC", "ETSH"}) {
    ASSERT_EQ(count[home], 1) << home;
    EXPECT_TRUE(where[home].lat > 50.5 && where[home].lat < 54.5) << home;
    EXPECT_TRUE(where[home].lon > 10.5 && where[home].lon < 15.0) << home;
  }
}

struct Block {
  std::string code;
  std::vector<Point> points;
};

class FirFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    outline = lines("fir1.dat");
    ASSERT_FALSE(outline.empty());
    for (std::size_t i = 0; i < outline.size(); ++i) {
      const std::string& line = outline[i];
      if (line.rfind("!!", 0) == 0) break;
      if (line[0] != '!') {
        ASSERT_FALSE(blocks.empty()) << "points before the first header";
        ASSERT_TRUE(std::regex_match(line, kCoordinate)) << "line " << i + 1 << ": \"" << line << '"';
        blocks.back().points.push_back(point(line));
      } else if (line.size() >= 5) {
        blocks.push_back({line.substr(1, 4), {}});
      }
    }
    FieldBuf f;
    for (const std::string& line : lines("firs.dat")) {
      f(8).clear();
      getfields(line, f);
      directory.push_back({f(1), f(3), f(6), f(7), f(8)});
    }
  }

  // The outline the active-FIR layer draws for a code: the points of the
  // first block whose header carries it.
  const Block* firstblock(const std::string& code) const {
    for (const Block& b : blocks) {
      if (b.code == code) return &b;
    }
    return nullptr;
  }

  // getfirinfo: the first record that names an outline code wins, otherwise
  // the last record of the code.
  std::string fircode(const std::string& key) const {
    std::string found;
    for (const auto& r : directory) {
      if (r[0] != key) continue;
      if (!r[4].empty()) return r[4];
      found = r[0];
    }
    return found;
  }

  std::vector<std::string> outline;
  std::vector<Block> blocks;
  std::vector<std::vector<std::string>> directory;  // code, name, lat, lon, outline
};

TEST_F(FirFiles, OutlineLayerDrawsEveryPointOfEveryBlock) {
  // The layer as the program builds it, against the blocks read above: one
  // closed strip per block, every point in its order, none lost to the way
  // the builder passes over the line after each block.
  const Layer layer = drawfirs(kData + "/fir1.dat");
  std::vector<std::vector<GlobePoint>> strips;
  for (const DrawOp& op : layer.ops.ops()) {
    if (op.kind == DrawOp::Kind::Begin) strips.emplace_back();
    if (op.kind == DrawOp::Kind::Vertex) {
      ASSERT_FALSE(strips.empty());
      strips.back().push_back(op.point());
    }
  }
  ASSERT_EQ(strips.size(), blocks.size());
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    SCOPED_TRACE(blocks[b].code + ", block " + std::to_string(b + 1));
    const std::vector<GlobePoint>& strip = strips[b];
    ASSERT_EQ(strip.size(), blocks[b].points.size() + 1);
    for (std::size_t i = 0; i <= blocks[b].points.size(); ++i) {
      const Point& p = blocks[b].points[i % blocks[b].points.size()];
      const GlobePoint want = getxyz(p.lat, p.lon, 0);
      ASSERT_EQ(strip[i].x, float(want.x)) << "point " << i + 1;
      ASSERT_EQ(strip[i].y, float(want.y)) << "point " << i + 1;
      ASSERT_EQ(strip[i].z, float(want.z)) << "point " << i + 1;
    }
  }
}

TEST_F(FirFiles, OutlinesFitTheLayerBufferAndStayContinuous) {
  ASSERT_GT(blocks.size(), 200u);
  for (const Block& b : blocks) {
    SCOPED_TRACE(b.code);
    ASSERT_GE(b.points.size(), 3u);
    ASSERT_LE(b.points.size(), 500u);
    for (std::size_t i = 0; i < b.points.size(); ++i) {
      const Point& p = b.points[i];
      const Point& q = b.points[(i + 1) % b.points.size()];
      ASSERT_LE(std::fabs(p.lat), 90.0);
      ASSERT_LT(std::fabs(q.lon - p.lon), 180.0) << "jump after point " << i + 1;
    }
  }
}

TEST_F(FirFiles, DirectoryAndOutlinesMatch) {
  std::set<std::string> outlined, listed;
  for (const Block& b : blocks) outlined.insert(b.code);
  for (const auto& r : directory) {
    SCOPED_TRACE(r[0]);
    ASSERT_EQ(r[0].size(), 4u);
    EXPECT_FALSE(r[1].empty());
    EXPECT_LE(std::fabs(leadingnumber(r[2])), 90.0);
    EXPECT_LE(std::fabs(leadingnumber(r[3])), 180.0);
    EXPECT_TRUE(outlined.count(fircode(r[0]))) << "no outline block for " << fircode(r[0]);
    listed.insert(r[0]);
  }
  for (const std::string& code : outlined) EXPECT_TRUE(listed.count(code)) << code << " has no directory entry";
}

TEST_F(FirFiles, ActiveLayerShowsTheLargestPartOfEachFir) {
  std::map<std::string, double> first;
  for (const Block& b : blocks) {
    const double a = area(b.points);
    if (!first.count(b.code)) first[b.code] = a;
    EXPECT_LE(a, first[b.code]) << b.code << ": a later block is larger than the first";
  }
}

TEST_F(FirFiles, GermanFirsOfTheDemoNetworkResolve) {
  // Reference points, and the place each outline must cover.
  const std::map<std::string, Point> inside_point = {
      {"EDWW", {52.5, 13.4}},  // Berlin
      {"EDGG", {50.1, 8.7}},   // Frankfurt
      {"EDMM", {48.1, 11.6}},  // Munich
  };
  for (const auto& [code, p] : inside_point) {
    SCOPED_TRACE(code);
    ASSERT_EQ(fircode(code), code);
    const Block* b = firstblock(code);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(inside(b->points, p));
  }
  EXPECT_EQ(fircode("EDBB"), "EDWW");
}

}  // namespace
}  // namespace netglobe

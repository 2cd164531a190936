#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "fir_import.h"
#include "temp_folder.h"

namespace netglobe::importer {
namespace {

struct Block {
  std::string code;
  std::vector<std::pair<double, double>> points;  // latitude, longitude
};

// fir1.dat read the way the program reads it.
std::vector<Block> blocksof(const std::string& fir1) {
  std::vector<Block> blocks;
  std::size_t at = 0;
  while (at < fir1.size()) {
    const std::size_t end = fir1.find('\n', at);
    const std::string line = fir1.substr(at, end - at);
    at = end + 1;
    if (line.rfind("!!", 0) == 0) break;
    if (line[0] == '!') {
      if (line.size() >= 5) blocks.push_back({line.substr(1, 4), {}});
    } else {
      const std::size_t colon = line.find(':');
      blocks.back().points.emplace_back(std::stod(line.substr(0, colon)), std::stod(line.substr(colon + 1)));
    }
  }
  return blocks;
}

double maxlonstep(const Block& b) {
  double m = 0;
  for (std::size_t i = 0; i < b.points.size(); ++i) {
    m = std::max(m, std::abs(b.points[(i + 1) % b.points.size()].second - b.points[i].second));
  }
  return m;
}

std::string feature(const std::string& props, const std::string& coordinates, const char* type = "Polygon") {
  return R"({"type":"Feature","properties":{)" + props + R"(},"geometry":{"type":")" + type +
         R"(","coordinates":)" + coordinates + "}}";
}

std::string collection(const std::vector<std::string>& features) {
  std::string out = R"({"type":"FeatureCollection","features":[)";
  for (std::size_t i = 0; i < features.size(); ++i) out += (i ? "," : "") + features[i];
  return out + "]}";
}

TEST(ImportFirs, ExampleGivesTheFilesOfTheFormerImporter) {
  TempFolder folder;
  const FirImport result = importfile(NETGLOBE_SOURCE_DIR "/tools/examples/firs-example.geojson", folder.path(), true);
  // Halves cut at the 180th meridian are one continuous outline again, the
  // hole is dropped, the larger island comes first.
  EXPECT_EQ(folder.read("fir1.dat"),
            "!EXDL\n-20:-190\n-20:-165\n-10:-165\n-10:-190\n!\n"
            "!EXIS\n30:24\n30:28\n34:28\n34:24\n!\n"
            "!EXIS\n30:20\n30:21\n31:21\n31:20\n!\n"
            "!EXMP\n48:8\n48:13\n53:13\n53:8\n!!\n");
  EXPECT_EQ(folder.read("firs.dat"),
            "EXDL::EXDL:::-15:-177.5\nEXIS::Islands:::32:26\n"
            "EXMP::Example - Z\xFCrich\x96L\xF3" "dz:::50.5:10.5\n");
  EXPECT_EQ(result.outlines, 4u);
}

TEST(ImportFirs, SectorsJoinIntoTheirFirWithoutTheEdgesTheyShare) {
  const FirImport result = importfirs(collection({
      feature(R"("id":"ABCD-EAST")", "[[[1,0],[2,0],[2,1],[1,1],[1,0]]]"),
      feature(R"("id":"ABCD","name":"Alpha","label_lat":"0.5","label_lon":" 0.75")",
              "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"),
      feature(R"("id":"ABCD-N","name":"North sector","label_lat":1.5,"label_lon":1)",
              "[[[0,1],[2,1],[2,2],[0,2],[0,1]]]"),
      feature(R"("id":"ABCD-ISLE")", "[[[5,5],[5.5,5],[5.5,5.5],[5,5.5]]]"),
      feature(R"("id":"EFGH-A")", "[[[10,10],[12,10],[10,12],[10,10]]]"),
  }));
  EXPECT_TRUE(result.problems.empty());
  // One square, its sector corners gone, then the island; the plain id's
  // name and label (numeric text) win over the sectors' wherever it stands.
  EXPECT_EQ(result.fir1,
            "!ABCD\n0:0\n0:2\n2:2\n2:0\n!\n"
            "!ABCD\n5:5\n5:5.5\n5.5:5.5\n5.5:5\n!\n"
            "!EFGH\n10:10\n10:12\n12:10\n!!\n");
  EXPECT_EQ(result.firs, "ABCD::Alpha:::0.5:0.75\nEFGH::EFGH:::10.6667:10.6667\n");
}

TEST(ImportFirs, OutlinesStayContinuousAcrossTheAntimeridianAndAroundThePole) {
  const FirImport result = importfirs(collection({
      feature(R"("id":"WRAP")", "[[[175,-5],[-175,-5],[-175,5],[175,5],[175,-5]]]"),
      feature(R"("id":"WRAP-E")", "[[[-175,-5],[-170,-5],[-170,5],[-175,5],[-175,-5]]]"),
      feature(R"("id":"POLE")",
              "[[[-180,-70],[-90,-72],[0,-70],[90,-72],[180,-70],[180,-90],[-180,-90],[-180,-70]]]"),
  }));
  const std::vector<Block> blocks = blocksof(result.fir1);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].code, "POLE");
  EXPECT_LT(maxlonstep(blocks[0]), 180);
  int onpole = 0, oncoast = 0;
  for (const auto& [lat, lon] : blocks[0].points) onpole += lat == -90, oncoast += lat == -70;
  EXPECT_GE(onpole, 2);
  EXPECT_GE(oncoast, 2);
  EXPECT_EQ(result.fir1.substr(result.fir1.find("!WRAP")), "!WRAP\n-5:-185\n-5:-170\n5:-170\n5:-185\n!!\n");
}

TEST(ImportFirs, UnusableFeaturesAreSkippedAndCountedAndStrictRefusesThem) {
  const std::string square = "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]";
  const std::string input = collection({
      feature(R"("id":"XYZ")", square), feature(R"("id":"OCEAN1")", square), feature(R"("id":"ABCD-")", square),
      feature("", square), feature(R"("id":"PNTS")", "[0,0]", "Point"),
      feature(R"("id":"BOWT")", "[[[0,0],[1,1],[1,0],[0,1],[0,0]]]"),
      feature(R"("id":"FARX")", "[[[0,0],[1,0],[1,95],[0,0]]]"),
      feature(R"("id":"LBL1","label_lat":"x","label_lon":3)", square), feature(R"("id":"GOOD")", square),
      feature(R"("id":1234)", square)});
  const FirImport result = importfirs(input);
  EXPECT_EQ(result.firs_written, 3u);
  EXPECT_EQ(result.skipped(), 7u);
  const std::string summary = importsummary(result);
  EXPECT_NE(summary.find("7 of 10 features skipped\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("  4 x id is not a four-character code (A-Z, 0-9) or CODE-sector: feature 1 \"XYZ\", "
                         "feature 2 \"OCEAN1\", feature 3 \"ABCD-\", ...\n"),
            std::string::npos) << summary;
  for (const char* reason : {"1 x geometry is not a Polygon", "1 x not a valid area", "1 x coordinates are not",
                             "1 x label ignored: label_lat and label_lon are not both numbers: feature 8"}) {
    EXPECT_NE(summary.find(reason), std::string::npos) << reason << "\n" << summary;
  }
  EXPECT_EQ(result.firs, "1234::1234:::0.5:0.5\nGOOD::GOOD:::0.5:0.5\nLBL1::LBL1:::0.5:0.5\n");

  // --strict writes nothing, and no import leaves anything but the two files.
  TempFolder folder;
  folder.write("fir1.dat", "old outlines");
  folder.write("firs.dat", "old directory");
  const std::string path = folder.write("in.geojson", input);
  EXPECT_THROW(importfile(path, folder.path(), true), ImportError);
  EXPECT_EQ(folder.read("fir1.dat"), "old outlines");
  EXPECT_EQ(folder.read("firs.dat"), "old directory");
  importfile(path, folder.path(), false);
  EXPECT_EQ(folder.read("firs.dat"), result.firs);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
  for (const char* bad : {"not json", R"({"type":"Feature"})", R"({"type":"FeatureCollection","features":{}})",
                          R"({"type":"FeatureCollection","features":[1e999]})"}) {
    EXPECT_THROW(importfirs(bad), ImportError) << bad;
  }
}

TEST(ImportFirs, SaysWhichOutlinesTheFillCannotTessellate) {
  // Along the equator over nearly half the globe: its ends lie at the edge of
  // the view from above its middle, where it cannot be laid flat.
  const std::string wide = "[[[-88,-10],[0,-10],[88,-10],[88,10],[0,10],[-88,10],[-88,-10]]]";
  const FirImport result = importfirs(collection({feature(R"("id":"WIDE")", wide),
                                                  feature(R"("id":"GOOD")", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]")}));
  EXPECT_EQ(result.firs_written, 2u);  // written all the same
  EXPECT_EQ(result.stencilfills, std::vector<std::string>{"WIDE"});
  const std::string summary = importsummary(result);
  EXPECT_NE(summary.find("1 outlines the tessellator refuses, filled through the stencil buffer: WIDE\n"),
            std::string::npos) << summary;
}

TEST(ImportFirs, AJoinedOutlineOverThePointLimitIsSimplifiedAndKeepsItsShape) {
  // Two half discs of a wavy circle around (10, 50), west and east of the
  // diameter they share: joined first, then simplified.
  std::string halves[2];
  for (int h = 0; h < 2; ++h) {
    std::string ring = h ? "[[[10,45]" : "[[[10,55]";
    for (int i = 1; i < 1000; ++i) {
      const double a = std::numbers::pi * (0.5 + h + i / 1000.0);
      char point[64];
      std::snprintf(point, sizeof point, ",[%.9f,%.9f]", 10 + 5 * std::cos(a) + 0.001 * std::sin(40 * a),
                    50 + 5 * std::sin(a));
      ring += point;
    }
    halves[h] = ring + (h ? ",[10,55],[10,45]]]" : ",[10,45],[10,55]]]");
  }
  const FirImport result = importfirs(collection({feature(R"("id":"CIRC-W")", halves[0]),
                                                  feature(R"("id":"CIRC-E")", halves[1])}));
  const std::vector<Block> blocks = blocksof(result.fir1);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_LE(blocks[0].points.size(), kMaxOutlinePoints);
  EXPECT_GT(blocks[0].points.size(), 20u);
  for (const auto& [lat, lon] : blocks[0].points) EXPECT_NEAR(std::hypot(lat - 50, lon - 10), 5, 0.01);
}

}  // namespace
}  // namespace netglobe::importer

#include <gtest/gtest.h>

#include <array>
#include <iomanip>
#include <string>
#include <vector>

#include "geo/globe_coords.h"
#include "lists/pilot_labels.h"
#include "lists/station_labels.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

struct Label {
  std::array<float, 3> at;
  std::string text;
  bool operator==(const Label&) const = default;
  friend void PrintTo(const Label& l, std::ostream* os) {
    *os << std::setprecision(9) << "(" << l.at[0] << ", " << l.at[1] << ", " << l.at[2] << ") \"" << l.text << "\"";
  }
};

Label label(double lat, double lon, const std::string& text) {
  const GlobePoint p = getxyz(lat, lon, 0);
  return {{float(p.x), float(p.y), float(p.z)}, text};
}

// The labels of a layer as its raster positions and the glyphs after each.
std::vector<Label> labels(const Layer& layer) {
  std::vector<Label> out;
  for (const DrawOp& op : layer.ops.ops()) {
    if (op.kind == DrawOp::Kind::RasterPos) {
      const GlobePoint p = op.point();
      out.push_back({{float(p.x), float(p.y), float(p.z)}, ""});
    }
    if (op.kind == DrawOp::Kind::Glyph) out.back().text += char(op.glyph());
  }
  return out;
}

std::array<float, 3> colour(const Layer& layer) {
  const DrawOp& first = layer.ops.ops().at(0);
  EXPECT_EQ(first.kind, DrawOp::Kind::Color);
  const Rgba c = first.rgba();
  return {c.r, c.g, c.b};
}

// A station reporting a position; an empty latitude or longitude is none.
std::string station(const std::string& callsign, const std::string& id, const std::string& name,
                    const std::string& rating, const std::string& lat = "1", const std::string& lon = "2") {
  return callsign + ":" + id + ":" + name + ":ATC::" + lat + ":" + lon + "::::::::::" + rating + ":";
}

std::string pilot(const std::string& callsign, const std::string& name, const std::string& lat,
                  double lon, int altitude, int speed, const std::string& dest) {
  return callsign + ":100001:" + name + ":PILOT::" + lat + ":" + std::to_string(lon) + ":" +
         std::to_string(altitude) + ":" + std::to_string(speed) + ":::::" + dest + ":";
}

void fill(std::vector<std::string>& lines, int& count, std::vector<std::string> entries) {
  count = 0;
  for (const std::string& line : entries) appendline(lines, count, line);
}

class Labels : public ::testing::Test {
 protected:
  Labels() : airports(folder.file("airports.dat")), firs(folder.file("firs.dat")) {
    folder.write("airports.dat",
                 "EDDT:Berlin-Tegel International Airport:Berlin:::52.5597:13.2877\n"
                 "EDDC:Dresden:Dresden:::51.1328:13.7672\n"
                 "EDDP:Leipzig/Halle:Leipzig:::51.4239:12.2364\n"
                 "EDLZ:Zero Field:Nowhere:::0:10\n");
    folder.write("firs.dat", "EDWW::Bremen:::53:10\nEDGG::Langen:::50:8.5\nEDLZ::Zero FIR:::48:9\n");
    airports.refresh();
    firs.refresh();
    fill(lists.ctrlines, lists.ctrcount,
         {station("EDWW_CTR", "1", "Ann Example", "5"), station("EDMM_CTR", "2", "Bob", "9")});
    fill(lists.applines, lists.appcount,
         {station("EDDT_APP", "3", "Cid", "3"), station("EDGG_APP", "4", "Dan", "5"),
          station("EDLZ_APP", "5", "Eve", "1"), station("XXXX_APP", "6", "Fay", "12")});
    fill(lists.twrlines, lists.twrcount,
         {station("EDDT_TWR", "7", "Gus", "4"), station("EDDC_TWR", "8", "Hal", "8"),
          station("ED", "100009", "Ida", "7")});
  }
  TempFolder folder;
  AirportDirectory airports;
  FirDirectory firs;
  StatusLists lists;
};

TEST_F(Labels, StationLabelTextsAndAnchors) {
  const Layer ctr = showctrname(lists, firs);
  EXPECT_EQ(colour(ctr), (std::array<float, 3>{1, 0.7f, 1}));
  EXPECT_EQ(labels(ctr), (std::vector<Label>{label(53 + 0.4, 10 - 1.5, "EDWW_CTR Ann Example C1"),
                                             label(0.4, -1.5, "EDMM_CTR Bob 9")}));
  const Layer apr = showaprname(lists, airports, firs);
  EXPECT_EQ(colour(apr), (std::array<float, 3>{0, 1, 0}));
  EXPECT_EQ(labels(apr), (std::vector<Label>{
                             label(52.5597 + 0.6, 13.2877 - 0.3, "EDDT Berlin Cid S2"),
                             label(50 + 0.6, 8.5 - 0.3, "EDGG Langen Dan C1"),  // a FIR, not an airport
                             label(48 + 0.6, 9 - 0.3, "EDLZ Zero FIR Eve --"),  // airport at latitude 0
                             label(0.6, -0.3, "XXXX_APP Fay Fay ADM")}));
  const Layer twr = showtwrname(lists, airports);
  EXPECT_EQ(colour(twr), (std::array<float, 3>{0, 1, 1}));
  EXPECT_EQ(labels(twr),
            (std::vector<Label>{
                label(52.5597 - 0.02, 13.2877 + 0.3,
                      "EDDT Berlin-Berlin-Tegel International Airport Gus S3"),
                label(51.1328 - 0.02, 13.7672 + 0.3, "EDDC Dresden Hal I1"),  // one name
                label(-0.02, 0.3, "ED Ida-100009 Ida C3")}));  // short callsign, not found
  for (const Layer* layer : {&ctr, &apr, &twr}) EXPECT_EQ(layer->failure, "");
}

TEST_F(Labels, StationsWithoutAPositionAreLabelledWhereTheirCodePlacesThemOrNotAtAll) {
  fill(lists.ctrlines, lists.ctrcount,
       {station("EDGG_W_CTR", "1", "Al", "5", "", ""), station("EDMM_CTR", "2", "Bo", "5", "", "")});
  fill(lists.applines, lists.appcount,
       {station("EDDT_APP", "3", "Cy", "3", "", ""), station("EDGG_APP", "4", "Di", "5", "", ""),
        station("XXXX_APP", "6", "Ed", "5", "", "")});
  fill(lists.twrlines, lists.twrcount,
       {station("EDDC_TWR", "8", "Fo", "8", "51", ""), station("ED", "9", "Gu", "7", "", ""),
        station("EDDTX_TWR", "9", "Hu", "7", "", "")});
  EXPECT_EQ(labels(showctrname(lists, firs)), (std::vector<Label>{label(50 + 0.4, 8.5 - 1.5, "EDGG_W_CTR Al C1")}));
  EXPECT_EQ(labels(showaprname(lists, airports, firs)),
            (std::vector<Label>{label(52.5597 + 0.6, 13.2877 - 0.3, "EDDT Berlin Cy S2"),
                                label(50 + 0.6, 8.5 - 0.3, "EDGG Langen Di C1")}));
  EXPECT_EQ(labels(showtwrname(lists, airports)),
            (std::vector<Label>{label(51.1328 - 0.02, 13.7672 + 0.3, "EDDC Dresden Fo I1")}));
}

TEST_F(Labels, MissingDirectoryClosesOnlyItsListWithWhatWasBuilt) {
  std::filesystem::remove(folder.file("firs.dat"));
  firs.refresh();
  const Layer ctr = showctrname(lists, firs);
  EXPECT_TRUE(labels(ctr).empty());
  EXPECT_EQ(ctr.failure, "centre labels: cannot read firs.dat");
  const Layer apr = showaprname(lists, airports, firs);
  EXPECT_EQ(labels(apr).size(), 1u);  // EDDT needed no FIR; EDGG did
  EXPECT_EQ(apr.failure, "approach labels: cannot read firs.dat");
  EXPECT_EQ(labels(showtwrname(lists, airports)).size(), 3u);
}

// Latitude the given nautical miles due south of a point, in the program's
// own degrees and earth radius, as a status line writes it (six decimals).
double southby(double lat, double nm) {
  return std::stod(std::to_string(lat - nm * 1.8531902 / 6378.137 / (3.14159 / 180)));
}

TEST_F(Labels, PilotLabelsInEveryMode) {
  const double tegelsouth = southby(52.5597, 245.4);
  const double dresdensouth = southby(51.1328, 40.2);
  fill(lists.pillines, lists.pilcount,
       {pilot("SLOW", "Abc D", "51", 12, 0, 79, "EDDP"),
        pilot("NOPOS", "Nobody", "", 12, 0, 300, "EDDT"),
        pilot("ABC123", "Ann Example EDDF", std::to_string(tegelsouth), 13.2877, 35000, 450, "EDDT"),
        pilot("NODEST", "Abcd", "10", 10, 0, 0, ""),
        pilot("EDGE80", "Abc", std::to_string(dresdensouth), 13.7672, 0, 80, "EDDC"),
        pilot("LOWER", "Zo\xFF", "20", 20, 0, 0, "eddt")});
  const auto at = [](double lat, double lon, const std::string& text) {
    return label(lat - 0.01, lon + 0.1, text);
  };
  const std::vector<Label> expected[] = {
      {at(51, 12, "SLOW"), at(tegelsouth, 13.2877, "ABC123"), at(10, 10, "NODEST"),
       at(dresdensouth, 13.7672, "EDGE80"), at(20, 20, "LOWER")},
      {at(51, 12, "SLOW > EDDP"), at(tegelsouth, 13.2877, "ABC123 > EDDT"),
       at(10, 10, "NODEST > ?"), at(dresdensouth, 13.7672, "EDGE80 > EDDC"),
       at(20, 20, "LOWER > eddt")},
      {at(51, 12, "SLOW Abc D"), at(tegelsouth, 13.2877, "ABC123 Ann Example"),
       at(10, 10, "NODEST Abcd"), at(dresdensouth, 13.7672, "EDGE80 Abc"),
       at(20, 20, "LOWER Zo")},  // byte 255 has no glyph
      {at(51, 12, "SLOW > EDDP"), at(tegelsouth, 13.2877, "ABC123 > EDDT"),
       at(dresdensouth, 13.7672, "EDGE80 > EDDC")},
      {at(51, 12, "SLOW > EDDP Abc D  0 NM / 79 Knts / 0 min"),
       at(tegelsouth, 13.2877, "ABC123 > EDDT Ann Example  245 NM / 450 Knts / 50 min"),
       at(dresdensouth, 13.7672, "EDGE80 > EDDC Abc  40 NM / 80 Knts / 30 min")},
  };
  for (int mode = 1; mode <= 5; ++mode) {
    const Layer layer = showpilotname(lists, airports, mode);
    EXPECT_EQ(colour(layer), (std::array<float, 3>{1, 1, 0}));
    EXPECT_EQ(labels(layer), expected[mode - 1]) << "mode " << mode;
    EXPECT_EQ(layer.failure, "");
  }

  std::filesystem::remove(folder.file("airports.dat"));
  airports.refresh();
  const Layer cut = showpilotname(lists, airports, 5);
  EXPECT_EQ(labels(cut), std::vector<Label>{expected[4][0]});  // the slow pilot needed no lookup
  EXPECT_EQ(cut.failure, "pilot labels: cannot read airports.dat");
}

}  // namespace
}  // namespace netglobe

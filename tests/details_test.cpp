// The details panel: what it shows of a pilot or an aerodrome, how it
// follows its pilot, the line to the destination, and the home region.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "geo/globe_coords.h"
#include "layers/destination_line.h"
#include "lists/flight_details.h"
#include "refdata/home_file.h"
#include "scene/pick_names.h"
#include "session/session.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const std::string kHeader = "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n";

AirportDirectory directory() {
  AirportDirectory airports("/nonexistent/airports.dat");
  airports.load(LineReader::fromtext("EDDB:Berlin Brandenburg Airport:Berlin:::52.36225:13.50067\n"
                                     "EDDT:Tegel:Berlin:::52.5597:13.2877\n"
                                     "NFFN:Nadi International Airport:Nadi:::-17.7554:177.44299\n"
                                     "PHNL:Honolulu Airport:Honolulu:::21.32062:-157.92423\n"));
  return airports;
}

std::vector<std::string> texts(const DetailsView& view) {
  std::vector<std::string> out;
  for (const DetailsLine& line : view.lines) out.push_back(line.text);
  return out;
}

TEST(FlightDetails, PilotWithAndWithoutPlanAcrossTheAntimeridianAndUnknownDestination) {
  const AirportDirectory airports = directory();
  // A full record: plan, position, heading, logon, route and remarks.
  const std::string full =
      "DLH1:100001:Jane Doe:PILOT::52.36225:13.50067:35000:400:A320:450:EDDB:FL350:EDDT:S1:100:3:2000:"
      "::1:I:1200:1200:1:5:3:0:EDDP:/v/ NICE:DCT TGL:52.4:13.5:52.6:13.3:::20261207101500:271:";
  PilotDetails p = pilotdetails(full, airports);
  EXPECT_EQ(texts(pilotview(p)),
            (std::vector<std::string>{"DLH1  Jane Doe  100001  S2", "Aircraft A320",
                                      "From EDDB Berlin Brandenburg Airport", "To EDDT Tegel (Berlin)",
                                      "Planned FL350 at 450 kt", "Altitude 35000 ft  GS 400 kt  Heading 271",
                                      "Flown 0 NM  Left 14 NM  Time left 0:02", "Logon 2026-12-07 10:15 UTC",
                                      "Route DCT TGL", "Remarks /v/ NICE"}));
  ASSERT_TRUE(p.lineto());
  EXPECT_DOUBLE_EQ(p.lineto()->lat, 52.5597);

  // Over the antimeridian the distance is the short way round, and the
  // line stays near 180 degrees instead of circling the globe.
  const std::string pacific = "ANZ1:100002:Kiri:PILOT::-17.5:-179.5:30000:480:B789:480:PHNL:FL300:NFFN:";
  p = pilotdetails(pacific, airports);
  ASSERT_TRUE(p.leftnm);
  EXPECT_NEAR(*p.leftnm, 2.94 * 60, 2);  // 2.94 degrees of longitude at 17.5 S, in NM
  ASSERT_TRUE(p.minutesleft);
  EXPECT_NEAR(*p.minutesleft, *p.leftnm / 480 * 60, 1e-9);
  const Layer line = drawpanelflight(PanelFlight{"ANZ1", "100002", -17.5, -179.5, -17.7554, 177.44299}, {}, 0);
  const GlobePoint end = getxyz(-17.7554, 177.44299, 0);
  std::size_t vertices = 0;
  GlobePoint last;
  for (const DrawOp& op : line.ops.ops()) {
    if (op.kind != DrawOp::Kind::Vertex) continue;
    ++vertices;
    last = op.point();
    // Every point within the chord of the whole line from the destination.
    const double dx = last.x - end.x, dy = last.y - end.y, dz = last.z - end.z;
    EXPECT_LT(std::sqrt(dx * dx + dy * dy + dz * dz), 0.11);
    EXPECT_NEAR(std::sqrt(last.x * last.x + last.y * last.y + last.z * last.z), kLayerRadius, 1e-3);
  }
  EXPECT_GE(vertices, 4u);  // more than one chord: it follows the sphere
  EXPECT_FLOAT_EQ(float(last.x), float(end.x));
  EXPECT_FLOAT_EQ(float(last.y), float(end.y));

  // The trail: the pilot's fixes of the window, wherever it stands in each
  // frame, and no other pilot's.
  const auto frame = [](std::int64_t ms, std::vector<PilotPosition> pilots) {
    return PositionFrame{std::uint64_t(ms), ms, std::move(pilots)};
  };
  const std::vector<PositionFrame> frames = {
      frame(1000, {pilotposition("ANZ1", "100002", -17.0, -179.0), pilotposition("X", "1", 0, 0)}),
      frame(31000, {pilotposition("X", "1", 0, 1), pilotposition("Y", "2", 0, 2),
                    pilotposition("ANZ1", "100002", -17.2, -179.2)}),
      frame(61000, {pilotposition("ANZ1", "999", -17.4, -179.4)})};
  const Layer trail = drawpanelflight(PanelFlight{"ANZ1", "100002", {}, {}, {}, {}}, frames, 61000);
  std::vector<double> xs;
  for (const DrawOp& op : trail.ops.ops()) {
    if (op.kind == DrawOp::Kind::Vertex) xs.push_back(op.point().x);
  }
  ASSERT_EQ(xs.size(), 2u);
  EXPECT_FLOAT_EQ(float(xs[0]), float(getxyz(-17.0, -179.0, 0).x));
  EXPECT_FLOAT_EQ(float(xs[1]), float(getxyz(-17.2, -179.2, 0).x));

  // A destination not in the directory: the code alone, no distance left,
  // no line; the distance flown still comes from the departure.
  p = pilotdetails("DLH2:100003:Max:PILOT::52.5:13.4:5000:45:C172:100:EDDB:5500:XXXX:", airports);
  const std::vector<std::string> unknown = texts(pilotview(p));
  EXPECT_EQ(unknown[3], "To XXXX");
  EXPECT_NE(unknown[6].find("Flown "), std::string::npos);
  EXPECT_EQ(unknown[6].find("Left"), std::string::npos);
  EXPECT_FALSE(p.lineto());
  EXPECT_FALSE(p.minutesleft);

  // Absurd numbers from a server are shown as unknown, never as garbage.
  p = pilotdetails("BIG1:1:X:PILOT::52.5:13.4:1e300:1e300:::::", airports);
  EXPECT_EQ(texts(pilotview(p))[2], "Altitude ? ft  GS ? kt  Heading -");
  EXPECT_FALSE(p.minutesleft);

  // Without a flight plan: what the record has, and no line.
  p = pilotdetails("GABC:100004:Solo:PILOT::52.5:13.4:1500:30:::::", airports);
  EXPECT_EQ(texts(pilotview(p)), (std::vector<std::string>{"GABC  Solo  100004  ", "No flight plan",
                                                           "Altitude 1500 ft  GS 30 kt  Heading -"}));
  EXPECT_FALSE(p.lineto());
  EXPECT_TRUE(drawpanelflight(std::nullopt, {}, 0).ops.empty());
}

TEST(FlightDetails, AerodromeListsItsStationsArrivalsNearestFirstAndDepartures) {
  const AirportDirectory airports = directory();
  StatusLists lists;
  const auto pilot = [](const std::string& call, double lat, double lon, int gs, const std::string& dep,
                        const std::string& dest) {
    return call + ":1" + call.substr(3) + ":Name " + call + ":PILOT::" + std::to_string(lat) + ":" +
           std::to_string(lon) + ":10000:" + std::to_string(gs) + ":A320:450:" + dep + ":FL100:" + dest + ":";
  };
  appendline(lists.pillines, lists.pilcount, pilot("FAR1", 55.0, 13.4, 400, "EKCH", "EDDT"));
  appendline(lists.pillines, lists.pilcount, pilot("NEA2", 52.8, 13.3, 300, "LOWW", "EDDT"));
  appendline(lists.pillines, lists.pilcount, pilot("OUT3", 52.7, 13.3, 40, "EDDT", "EDDB"));
  appendline(lists.pillines, lists.pilcount, pilot("MID4", 53.5, 13.3, 250, "LFPG", "EDDT"));
  appendline(lists.twrlines, lists.twrcount, "EDDT_TWR:200001:Tom Tower:ATC:118.700:52.56:13.29:0:0:");
  appendline(lists.twrlines, lists.twrcount, "EDDB_TWR:200002:Other:ATC:120.025:52.36:13.5:0:0:");
  appendline(lists.applines, lists.appcount, "EDDT_APP:200003:Anna App:ATC:119.625:52.56:13.29:0:0:");

  const AerodromeDetails d = aerodromedetails("EDDT", lists, airports);
  EXPECT_EQ(d.stations, (std::vector<std::string>{"EDDT_APP  119.625  Anna App", "EDDT_TWR  118.700  Tom Tower"}));
  ASSERT_EQ(d.arrivals.size(), 3u);
  EXPECT_EQ(d.arrivals[0].pilot.callsign, "NEA2");
  EXPECT_EQ(d.arrivals[1].pilot.callsign, "MID4");
  EXPECT_EQ(d.arrivals[2].pilot.callsign, "FAR1");
  EXPECT_LT(*d.arrivals[0].nm, *d.arrivals[1].nm);
  ASSERT_EQ(d.departures.size(), 1u);
  EXPECT_EQ(d.departures[0].other, "EDDB");
  EXPECT_FALSE(d.departures[0].minutesleft);

  const DetailsView view = aerodromeview(d);
  EXPECT_EQ(view.lines[0].text, "EDDT  Tegel (Berlin)");
  // The rows of flights name their pilots, for a click to fly there.
  std::vector<std::string> targets;
  for (const DetailsLine& line : view.lines) {
    if (line.target) targets.push_back(line.target->callsign);
  }
  EXPECT_EQ(targets, (std::vector<std::string>{"NEA2", "MID4", "FAR1", "OUT3"}));
}

TEST(HomeFile, BoxAndCodesWithABadLineSkippedAndSaid) {
  std::vector<std::string> notes;
  const HomeRegion home = parsehome({"# home", "box 47 55 5.5 15", "eddf, EDDM", "box 1 2", "EDDF-X", "", "LOWW"},
                                    notes);
  EXPECT_EQ(home.airports, (std::vector<std::string>{"EDDF", "EDDM", "LOWW"}));
  EXPECT_EQ(home.box, (RegionBox{47, 55, 5.5, 15}));
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].substr(0, 20), "home.txt line 4: \"bo");
  EXPECT_EQ(notes[1].substr(0, 17), "home.txt line 5: ");
  // A box across 180 degrees, and a file that sets no codes keeps the built-in ones.
  notes.clear();
  const HomeRegion pacific = parsehome({"box -30 0 170 -170"}, notes);
  EXPECT_TRUE(notes.empty());
  EXPECT_TRUE(pacific.box.contains(-17, 179.9));
  EXPECT_TRUE(pacific.box.contains(-17, -175));
  EXPECT_FALSE(pacific.box.contains(-17, 0));
  EXPECT_TRUE(pacific.ishome("EDDT"));
}

// ---- the panel in the session ---------------------------------------------

FetchResult answer(const std::string& update, const std::string& clients) {
  FetchResult result;
  result.ok = true;
  result.body = "!GENERAL\nVERSION = 8\nRELOAD = 2\nUPDATE = " + update + "\n4\n5\n!CLIENTS\n" + clients +
                "!SERVERS\n";
  return result;
}

std::string pilotat(double lat, int altitude) {
  return "DLH1:100001:Jane Doe:PILOT::" + std::to_string(lat) + ":13.3:" + std::to_string(altitude) +
         ":420:A320:450:EDDB:FL350:EDDT:\n";
}

struct PanelRun {
  TempFolder folder;
  std::optional<Session> session;
  std::optional<DetailsView> details;  // as the window last shows it
  std::vector<std::array<bool, 6>> shown;
  std::vector<std::string> notes;

  PanelRun() {
    std::filesystem::copy(std::filesystem::path(NETGLOBE_DATA_DIR) / "airports.dat", folder.path());
  }
  void start(const FetchResult& reply) {
    session.emplace(ServerAddress{}, onefolder(folder.path()), HistoryRetention::hours(24), SessionSetup{});
    take(session->startup());
    take(session->downloaded(reply));
  }
  void take(Effects e) {
    for (;;) {
      if (e.details) details = e.details;
      for (const std::string& note : e.notes) notes.push_back(note);
      if (!e.more) return;
      e = session->next();
    }
  }
  void refresh(const FetchResult& reply) {
    take(session->tick(TimerId::Refresh));
    take(session->downloaded(reply));
  }
  // A click: the pick under the pointer names the first pilot, then the
  // button goes down and up on the same spot.
  void clickpilot() {
    const std::uint32_t hit[] = {1, 0, 0, pickname(PickKind::Aircraft, 1)};
    take(session->move(0, 300, 300));
    take(session->picked(1, hit));
    take(session->press(kLeftButton, 300, 300));
    take(session->release(kLeftButton));
  }
  std::string line(std::size_t i) const { return details->lines.at(i).text; }
};

TEST(DetailsPanel, FollowsItsPilotAcrossRefreshesAndReplayAndEscClosesItFirst) {
  PanelRun r;
  r.start(answer("20261207100000", pilotat(53.0, 30000)));
  r.clickpilot();
  ASSERT_TRUE(r.details && r.details->open);
  EXPECT_EQ(r.line(0), "DLH1  Jane Doe  100001  ");
  EXPECT_EQ(r.line(3), "To EDDT Berlin-Tegel International Airport");
  EXPECT_EQ(r.session->scene().details, 1);

  // A refresh moves the pilot: the panel shows the new values.
  r.refresh(answer("20261207100030", pilotat(52.9, 20000)));
  EXPECT_EQ(r.line(5).substr(0, 18), "Altitude 20000 ft ");
  EXPECT_FALSE(r.details->gone);
  // Gone: the last values stay, greyed, and the line goes.
  r.refresh(answer("20261207100100", "OTHR:100009:Someone:PILOT::50:10:0:0:::EDDB::EDDT:\n"));
  EXPECT_TRUE(r.details->gone);
  EXPECT_EQ(r.line(5).substr(0, 18), "Altitude 20000 ft ");
  EXPECT_EQ(r.session->scene().details, -1);
  // A step back into a kept refresh where the pilot flew: it is back.
  r.take(r.session->key(','));
  ASSERT_TRUE(r.session->replaying());
  EXPECT_FALSE(r.details->gone);
  EXPECT_EQ(r.line(5).substr(0, 18), "Altitude 20000 ft ");
  r.take(r.session->key(','));
  EXPECT_EQ(r.line(5).substr(0, 18), "Altitude 30000 ft ");

  // A drag is no click: the panel stays as it is.
  r.take(r.session->key('l'));
  r.take(r.session->closedetails());
  r.take(r.session->press(kLeftButton, 300, 300));
  r.take(r.session->move(kLeftButton, 340, 300));
  r.take(r.session->release(kLeftButton));
  EXPECT_FALSE(r.details->open);

  // Esc closes an open panel and nothing else; the next Esc hides the lists.
  r.take(r.session->key(8));  // Backspace: every side list on
  r.clickpilot();
  ASSERT_TRUE(r.details->open);
  Effects esc = r.session->key(27);
  EXPECT_TRUE(esc.listshow.empty());
  ASSERT_TRUE(esc.details);
  EXPECT_FALSE(esc.details->open);
  EXPECT_EQ(r.session->scene().details, -1);
  esc = r.session->key(27);
  ASSERT_FALSE(esc.listshow.empty());
  EXPECT_FALSE(esc.listshow.front().visible);
}

TEST(DetailsPanel, HomeFileSetsTheInboundListAndAnAerodromeCodeIsFound) {
  PanelRun r;
  r.folder.write("home.txt", "EDDT\nnot a code\n");
  SideListRows inbound{0, {}};
  r.session.emplace(ServerAddress{}, onefolder(r.folder.path()), HistoryRetention::hours(24), SessionSetup{});
  std::vector<std::string> notes;
  for (Effects e = r.session->startup();;) {
    for (const std::string& note : e.notes) notes.push_back(note);
    for (const SideListRows& rows : e.sidelists) {
      if (rows.box == 5) inbound = rows;
    }
    if (e.startdownload) {
      e = r.session->downloaded(answer("1", pilotat(53, 3000) + "AFR2:100002:Ann:PILOT::50:10:0:300:A320:0:EDDT::EDDB:\n"));
      continue;
    }
    if (!e.more) break;
    e = r.session->next();
  }
  EXPECT_EQ(inbound.rows, (std::vector<std::string>{"DLH1 in> EDDT Jane Doe"}));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("home.txt line 2"), std::string::npos);

  // The search finds the aerodrome's code and opens its traffic.
  Effects e = r.session->searchfor("eddt");
  ASSERT_FALSE(e.search->rows.empty());
  EXPECT_EQ(e.search->rows[0].substr(0, 10), "EDDT APT> ");
  r.take(r.session->choosematch(0));
  ASSERT_TRUE(r.details->open);
  EXPECT_EQ(r.details->title, "Aerodrome");
  // A click on its arrival flies to the pilot and shows the flight.
  std::size_t arrival = 0;
  while (arrival < r.details->lines.size() && !r.details->lines[arrival].target) ++arrival;
  r.take(r.session->choosedetailsline(arrival));
  EXPECT_EQ(r.details->title, "Flight");
  EXPECT_EQ(r.line(0).substr(0, 4), "DLH1");
}

}  // namespace
}  // namespace netglobe

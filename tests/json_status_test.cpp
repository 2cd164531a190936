#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "feed/client_fields.h"
#include "feed/feed_refresh.h"
#include "feed/json_status.h"
#include "feed/status_answer.h"
#include "feed/status_copy.h"
#include "lists/side_lists.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

std::string example(const std::string& name) {
  std::ifstream in(std::string(NETGLOBE_JSON_CORPUS) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The answer as the download hands it on, after the format is told apart.
FetchResult answered(std::string body) {
  FetchResult result;
  result.ok = true;
  result.body = std::move(body);
  readanswer(result);
  return result;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The record of one callsign in a converted document; empty if none.
std::string record(const std::string& text, const std::string& callsign) {
  for (const std::string& line : lines(text)) {
    if (line.rfind(callsign + ":", 0) == 0) return line;
  }
  return {};
}

std::string field(const std::string& line, int position) {
  std::string f;
  std::istringstream in(line);
  for (int i = 0; i < position; ++i) {
    if (!std::getline(in, f, ':')) return {};
  }
  return f;
}

std::string headervalue(const std::string& text, const std::string& key) {
  for (const std::string& line : lines(text)) {
    if (line.rfind(key + " = ", 0) == 0) return line.substr(key.size() + 3);
  }
  return "(none)";
}

TEST(JsonStatus, LayoutAExampleBecomesTheRecordsOfTheTextLayout) {
  const FetchResult got = answered(example("layout-a-example.json"));
  ASSERT_TRUE(got.ok) << got.failure;
  const std::vector<std::string> all = lines(got.body);
  ASSERT_EQ(all.size(), 11u) << got.body;
  EXPECT_EQ(all[0], "!GENERAL");
  EXPECT_EQ(all[6], "!CLIENTS");
  EXPECT_EQ(headervalue(got.body, "UPDATE"), "20240101120000");
  EXPECT_EQ(headervalue(got.body, "CONNECTED CLIENTS"), "3");
  EXPECT_EQ(headervalue(got.body, "RELOAD"), "1");
  EXPECT_EQ(headervalue(got.body, "CONNECTED SERVERS"), "0");
  EXPECT_EQ(record(got.body, "XYZ123"),
            "XYZ123:1000001:Ann Example EGLL:PILOT::51.47:-0.45:1200:160:A320/M-SDFGY/LB1:450:EGLL:FL350:"
            "LFPG:EAST:::0421:::1:I:1130::1:5:2:30::PBN/A1B1 /V/:DCT ABC DCT:::::::20240101110000:270:29.92:1013");
  // A station has no position in this layout: none is made up.
  EXPECT_EQ(record(got.body, "EGLL_TWR"),
            "EGLL_TWR:1000002:1000002:ATC:118.500::::::::::EAST::3::4:50::::::::::::::::::20240101100000:::");
  const std::string atis = record(got.body, "EGLL_ATIS");
  EXPECT_EQ(field(atis, 4), "ATC");
  EXPECT_EQ(field(atis, 19), "4");
  EXPECT_EQ(field(atis, 36), "INFORMATION KILO^\xC2\xA7RWY 27L");
}

TEST(JsonStatus, LayoutBExampleBecomesTheRecordsOfTheTextLayout) {
  const FetchResult got = answered(example("layout-b-example.json"));
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(headervalue(got.body, "UPDATE"), "20240101120000");
  EXPECT_EQ(headervalue(got.body, "CONNECTED CLIENTS"), "3");
  EXPECT_EQ(headervalue(got.body, "CONNECTED SERVERS"), "1");
  EXPECT_EQ(record(got.body, "EGLL_TWR"),
            "EGLL_TWR:100002::ATC:118.500:51.4775:-0.4614:0:0::::::S1::5:0000:4:60::::::::::::::::"
            "voice.example/EGLL_TWR^\xC2\xA7London Tower^\xC2\xA7 Information KILO recorded at 1150z:"
            "20240101115000:20240101100000:0::");
  EXPECT_EQ(record(got.body, "XYZ123"),
            "XYZ123:100001::PILOT::51.47:-0.45:1200:160:A320:N0450:EGLL:F350:LFPG:S1::4:0421:::1:I:1130::1:5:2:30:"
            ":PBN/A1B1:DCT ABC DCT:::::::20240101110000:270::");
  // The observer: no position, facility 0, the observer lists' mark.
  const std::string obs = record(got.body, "EGLL_OBS");
  EXPECT_EQ(field(obs, 5), "199.999");
  EXPECT_EQ(field(obs, 6), "");
  EXPECT_EQ(field(obs, 19), "0");
  EXPECT_EQ(field(obs, 20), "200");
  EXPECT_EQ(field(obs, 36), std::string(kObserverMark));
}

// The pitfalls of real layout-A documents, one entry each.
TEST(JsonStatus, LayoutAPitfalls) {
  const std::string doc = R"({"pilots":[
    {"cid":1,"name":" Jos\u00e9 Ni\u00f1o ","callsign":"NOPLAN","latitude":10.0,"longitude":-20.5,"altitude":-4,
     "groundspeed":0,"transponder":"9999","heading":360,"flight_plan":null,"logon_time":"2020-12-01T10:00:00Z",
     "pilot_rating":7,"military_rating":0},
    {"cid":2.0,"name":"Name: with colon\r\nand break","callsign":"ODD1","latitude":1,"longitude":2,
     "altitude":35000,"groundspeed":450,"transponder":"7000","heading":90,"qnh_i_hg":29.92,"qnh_mb":1013,
     "logon_time":"2021-05-01T09:08:07.1234567Z","future_key":{"x":[1,2]},
     "flight_plan":{"flight_rules":"V","aircraft":"H/B744/L","departure":"","arrival":"KJFK","alternate":"",
      "cruise_tas":"0","altitude":"F350","deptime":"7000","enroute_time":"0105","fuel_time":"02134",
      "remarks":"RMK/see https://example.org","route":"DCT"}}],
   "controllers":[
    {"cid":3,"name":"Sup","callsign":"SUPERVISOR","frequency":"199.998","facility":0,"rating":11,"server":"X",
     "visual_range":48,"text_atis":null,"logon_time":"2024-02-01T00:00:00.12345Z"},
    {"cid":4,"name":"Obs","callsign":"ABC_OBS","frequency":"199.998","facility":0,"rating":1,"server":"X",
     "visual_range":0,"text_atis":["hello"],"logon_time":"2024-02-01T00:00:00.5Z"}],
   "general":{"update":"20201201100000","connected_clients":9,"reload":2}})";
  const FetchResult got = answered(doc);
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(headervalue(got.body, "CONNECTED CLIENTS"), "9");  // the server's count, not ours
  EXPECT_EQ(headervalue(got.body, "UPDATE"), "20201201100000");

  const std::string noplan = record(got.body, "NOPLAN");
  for (int p : {10, 11, 12, 13, 14, 21, 22, 23, 25, 26, 27, 28, 29, 30, 31}) {
    EXPECT_EQ(field(noplan, p), "") << "position " << p;
  }
  EXPECT_EQ(field(noplan, 3), " Jos\xC3\xA9 Ni\xC3\xB1o ");  // as typed, blanks and all
  EXPECT_EQ(field(noplan, 6), "10");
  EXPECT_EQ(field(noplan, 8), "-4");
  EXPECT_EQ(field(noplan, 17), "");  // the pilot rating is another scale
  EXPECT_EQ(field(noplan, 18), "9999");
  EXPECT_EQ(field(noplan, 39), "360");

  const std::string odd = record(got.body, "ODD1");
  EXPECT_EQ(field(odd, 2), "2");
  EXPECT_EQ(field(odd, 3), "Name  with colon  and break");
  EXPECT_EQ(field(odd, 30), "RMK/see https //example.org");
  EXPECT_EQ(field(odd, 12), "");
  EXPECT_EQ(field(odd, 11), "0");
  EXPECT_EQ(field(odd, 13), "F350");
  EXPECT_EQ(field(odd, 23), "7000");
  EXPECT_EQ(field(odd, 25) + "/" + field(odd, 26), "1/5");
  EXPECT_EQ(field(odd, 27) + "/" + field(odd, 28), "21/34");
  EXPECT_EQ(field(odd, 38), "20210501090807");  // the fraction cut, not rounded
  EXPECT_EQ(lines(odd).size(), 1u);

  // Facility 0 is an observer, the supervisor among them.
  EXPECT_EQ(field(record(got.body, "SUPERVISOR"), 36), std::string(kObserverMark));
  EXPECT_EQ(field(record(got.body, "ABC_OBS"), 36), std::string(kObserverMark) + "^\xC2\xA7hello");
  EXPECT_EQ(field(record(got.body, "ABC_OBS"), 38), "20240201000000");
  // ... and the observer lists show them as they showed marked text.
  const ObsLists obs = getobs(LineReader::fromtext(tocp1252(got.body)));
  ASSERT_EQ(obs.listbox1.rows.size(), 1u);
  EXPECT_EQ(obs.listbox1.rows[0].rfind("SUPERVISOR Sup", 0), 0u) << obs.listbox1.rows[0];
  ASSERT_EQ(obs.listbox2.rows.size(), 1u);
  EXPECT_EQ(obs.listbox2.rows[0].rfind("ABC_OBS Obs", 0), 0u) << obs.listbox2.rows[0];
}

TEST(JsonStatus, LayoutBPitfalls) {
  const std::string doc = R"({"updatedAt":"2023-01-05T18:30:00.999Z","connections":{"total":811,"pilot":800},
   "clients":{"followMe":[{"callsign":"FM1"}],
    "pilots":[{"userId":7,"id":50000009,"callsign":"NOTRACK","rating":2,"lastTrack":null,"createdAt":"2023-01-05T18:00:00.000Z",
      "flightPlan":{"aircraftId":"C172","departureId":null,"arrivalId":null,"alternativeId":null,"speed":"M084",
       "level":"S1040","flightRules":"Y","flightType":"G","departureTime":27000,"eet":59,"endurance":3600,
       "actualDepartureTime":null,"revision":3,"remarks":"N\u00fcrnberg\u00a0\u201dquote\u201d","route":"DCT"}}],
    "atcs":[{"userId":8,"callsign":"EDDF_APP","rating":5,"lastTrack":{"latitude":50,"longitude":8.5,"altitude":-3,
       "groundSpeed":0,"heading":0,"transponder":21},"atcSession":{"frequency":135,"position":"APP"},"atis":null},
     {"userId":9,"callsign":"EDFF_FMP","rating":5,"lastTrack":null,"atcSession":{"frequency":121.2,"position":"FMP"},
      "atis":{"lines":["a:b"],"revision":"A","timestamp":"2023-01-05T18:00:00.000Z"}}],
    "observers":[{"userId":10,"callsign":"XX-ABC","rating":10,"lastTrack":null,
      "atcSession":{"frequency":122.8,"position":null}}]}})";
  const FetchResult got = answered(doc);
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(headervalue(got.body, "UPDATE"), "20230105183000");
  EXPECT_EQ(headervalue(got.body, "CONNECTED CLIENTS"), "811");
  EXPECT_EQ(record(got.body, "FM1"), "");  // followMe elements are not clients we can read

  const std::string p = record(got.body, "NOTRACK");
  for (int n : {6, 7, 8, 9, 18, 39, 12, 14, 29, 24}) EXPECT_EQ(field(p, n), "") << "position " << n;
  EXPECT_EQ(field(p, 2), "7");  // the member, never the session id
  EXPECT_EQ(field(p, 17), "2");
  EXPECT_EQ(field(p, 11), "M084");
  EXPECT_EQ(field(p, 13), "S1040");
  EXPECT_EQ(field(p, 22), "Y");
  EXPECT_EQ(field(p, 23), "730");
  EXPECT_EQ(field(p, 25) + "/" + field(p, 26), "0/0");
  EXPECT_EQ(field(p, 27) + "/" + field(p, 28), "1/0");
  EXPECT_EQ(field(p, 30), "N\xC3\xBCrnberg\xC2\xA0\xE2\x80\x9Dquote\xE2\x80\x9D");

  const std::string app = record(got.body, "EDDF_APP");
  EXPECT_EQ(field(app, 5), "135.000");
  EXPECT_EQ(field(app, 8), "-3");
  EXPECT_EQ(field(app, 18), "0021");
  EXPECT_EQ(field(app, 19) + "/" + field(app, 20), "5/120");
  EXPECT_EQ(field(app, 36), "");

  // A position word of no known kind keeps the station without a type.
  const std::string fmp = record(got.body, "EDFF_FMP");
  EXPECT_EQ(field(fmp, 19) + "/" + field(fmp, 20), "/");
  EXPECT_EQ(field(fmp, 36), "a b");
  EXPECT_EQ(field(fmp, 37), "20230105180000");

  const std::string obs = record(got.body, "XX-ABC");
  EXPECT_EQ(field(obs, 19), "0");
  EXPECT_EQ(field(obs, 36), std::string(kObserverMark));
}

TEST(JsonStatus, AnEntryThatCannotBeReadIsLeftOutAndCounted) {
  std::string doc = R"({"updatedAt":"2024-01-01T00:00:00.000Z","clients":{
    "pilots":[{"callsign":"GOOD1","userId":1},{"callsign":"WRONG","userId":"x"},{"userId":3},
              {"callsign":null},{"callsign":"  "},7,null,{"callsign":"BADTRACK","lastTrack":{"latitude":"n"}},
              {"callsign":"GOOD2","lastTrack":null,"flightPlan":null}],
    "atcs":[{"callsign":"LINES","atis":{"lines":["ok",5]}},{"callsign":"GOOD3","atcSession":{"position":"CTR"}}]}})";
  const JsonStatus status = readjsonstatus(doc);
  ASSERT_TRUE(status.ok) << status.failure;
  EXPECT_EQ(status.skipped, 8);
  for (const char* kept : {"GOOD1", "GOOD2", "GOOD3"}) EXPECT_NE(record(status.text, kept), "") << kept;
  EXPECT_EQ(lines(status.text).size(), 7u + 3u + 1u);
}

// Answers that are no status document fail the update with a reason.
TEST(StatusAnswer, WhatIsNoStatusDocumentIsRefusedWithItsReason) {
  const std::string a = example("layout-a-example.json");
  const std::string b = example("layout-b-example.json");
  auto without = [](std::string doc, const std::string& what, const std::string& with) {
    const std::size_t at = doc.find(what);
    return doc.replace(at, what.size(), with);
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "not a status file"},
      {"  \r\n", "not a status file"},
      {"<!DOCTYPE html><html><body>Sign in</body></html>", "not a status file"},
      {"Too many requests\n", "not a status file"},
      {"!GENERAL\nUPDATE = 20240101000000\n", "not a status file"},
      {"[{\"callsign\":\"X\"}]", "not a status file"},
      {"{\"error\":1}", "unknown JSON layout"},
      {"{}", "unknown JSON layout"},
      {"{\"general\":{},\"pilots\":{}}", "unknown JSON layout"},
      {"{\"general\":{},\"pilots\":[],\"controllers\":[]} {", "JSON error at byte 45"},
      {"{\"general\":{},\"pilots\":[],\"controllers\":[]} x", "JSON error at byte 45"},
      {"{\"general\":{} \"pilots\":[]}", "JSON error at byte 14"},
      {"{\"updatedAt\":\"x\",\"clients\":{\"pilots\":[],\"atcs\":[]}}", "no time in the status document"},
      {"{\"general\":{\"update\":\"20240101000000\"},\"pilots\":[\"\xFF\"],\"controllers\":[]}",
       "JSON error: not UTF-8"},
      {without(a, "\"controllers\"", "\"controller\""), "layout A: controllers is missing"},
      {without(a, "\"atis\":[", "\"atis\":\"none\",\"was\":["), "layout A: atis is not an array"},
      {without(b, "\"atcs\"", "\"atc\""), "layout B: clients.atcs is missing"},
      {without(b, "\"pilots\":[", "\"pilots\":7,\"was\":["), "layout B: clients.pilots is not an array"},
  };
  for (const auto& [body, reason] : cases) {
    const FetchResult got = answered(body);
    EXPECT_FALSE(got.ok) << body;
    EXPECT_EQ(got.failure, reason) << body;
    EXPECT_TRUE(got.body.empty());
  }
}

// A document cut short anywhere is refused, never read in part.
TEST(StatusAnswer, EveryCutOfADocumentIsRefused) {
  for (const std::string& doc : {example("layout-a-example.json"), example("layout-b-example.json")}) {
    const std::size_t end = doc.find_last_of('}');
    for (std::size_t cut = 0; cut < end; ++cut) {
      const FetchResult got = answered(doc.substr(0, cut));
      ASSERT_FALSE(got.ok) << "cut at " << cut;
      EXPECT_TRUE(got.failure.starts_with("JSON error") || got.failure == "not a status file")
          << "cut at " << cut << ": " << got.failure;
    }
  }
}

TEST(StatusAnswer, TextLayoutPassesAsItIs) {
  for (const std::string text : {"!GENERAL\nUPDATE = 1\n!CLIENTS\nA:1:B:PILOT:\n", "x\r\n!CLIENTS:\r\n", "\n!CLIENTS"}) {
    const FetchResult got = answered(text);
    EXPECT_TRUE(got.ok) << text;
    EXPECT_EQ(got.body, text);
  }
}

// A refused answer leaves the stored copy and the last good text alone; a
// JSON answer is stored in the text layout.
TEST(StatusAnswer, TheStoredCopyIsTextAndSurvivesARefusal) {
  TempFolder folder;
  FeedState state;
  state.folder = folder.path();
  FetchResult good;
  good.ok = true;
  good.body = example("layout-b-example.json");
  readanswer(good);
  const std::string title = takeanswer(state, good);
  EXPECT_NE(title.find(" CTR=0 APP=0 TWR=1 "), std::string::npos) << title;
  EXPECT_NE(title.find(" CLI=3 "), std::string::npos) << title;
  const std::string copy = folder.read(kStatusFileName);
  EXPECT_EQ(copy.rfind("!GENERAL\r\n", 0), 0u);
  EXPECT_NE(copy.find("London Tower^\xA7"), std::string::npos);  // stored as windows-1252
  const ObsLists obs = getobs(folder.file(kStatusFileName));
  ASSERT_EQ(obs.listbox2.rows.size(), 1u);
  EXPECT_EQ(obs.listbox2.rows[0].rfind("EGLL_OBS ", 0), 0u) << obs.listbox2.rows[0];

  for (const std::string bad : {"{\"error\":1}", "{\"general\":{", "Too many requests"}) {
    FetchResult refused;
    refused.ok = true;
    refused.body = bad;
    const std::string after = takeanswer(state, refused);
    EXPECT_NE(after.find("(update failed: "), std::string::npos) << after;
    EXPECT_EQ(folder.read(kStatusFileName), copy) << bad;
    EXPECT_TRUE(state.feedtext.empty());
  }
}

}  // namespace
}  // namespace netglobe

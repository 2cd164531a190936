#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "feed/status_parser.h"
#include "lists/said_once.h"
#include "lists/side_list_layout.h"
#include "lists/side_lists.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

// A client line with the positions the side lists read; the rest empty.
std::string client(const std::string& callsign, const std::string& id, const std::string& name,
                   const std::string& type, const std::string& lat, const std::string& lon,
                   const std::string& rating, const std::string& observer = "",
                   const std::string& dep = "", const std::string& dest = "") {
  std::vector<std::string> f(40);
  f[0] = callsign, f[1] = id, f[2] = name, f[3] = type, f[5] = lat, f[6] = lon;
  f[11] = dep, f[13] = dest, f[16] = rating, f[35] = observer;
  std::string line;
  for (const std::string& field : f) line += field + ":";
  return line + "\r\n";
}

TEST(SideLists, RowsOfEveryBox) {
  const std::string obs = client("ABC_OBS", "100001", "Ann One", "ATC", "0", "0", "1", "ZELV Observer");
  const std::string header = client("HDR-CH", "811402", "In Header", "ATC", "52", "13", "5");
  TempFolder folder;
  const std::string path = folder.write(
      "whazzup.txt",
      "!GENERAL\r\n" + header + "x\r\nx\r\nx\r\nx\r\n!CLIENTS\r\n" + obs +
          client("ABC_obs", "100002", "Bob Two", "ATC", "0", "0", "9", "ZELV Observer ok") +
          client("ABC_TWR", "100003", "Cid Three", "ATC", "0", "0", "12", "ZELV Observer") +
          client("EDDB-CH", "100004", "Dan Four", "ATC", "0", "0", "11") +
          client("XYZ_OBS", "100005", "Not Listed", "ATC", "0", "0", "1", "zelv observer") +
          client("EDBB_CTR", "811402", "Eve Five", "ATC", "50.78", "14.59", "5") +
          client("EDBB_FSS", "100006", "Not Listed", "ATC", "50.78", "14.59", "5") +
          client("EDDT_TWR", "100007", "Fay Six", "ATC", "54.16", "10.92", "4") +
          "EDDB_GND:100008\r\n" +  // cut short: no position of its own
          client("EDDT_APP", "100009", "Not Listed", "ATC", "54.17", "12", "4") + obs +
          client("DLH1", "100010", "Gus Seven", "PILOT", "52", "13", "", "", "EDDB", "EDDT") +
          "DLH3:100011:Short Line:PILOT::52:13:0:0:0:0:EDDB\r\n" +  // cut before its destination
          client("DLH2", "100012", "Not Listed", "PILOT", "52", "13", "", "", "EDDF", "eddt") +
          "!SERVERS\r\nSRV-CH:srv.example:Zurich:Zurich Server:1:\r\n");
  StatusLists lists;
  what2array(path, lists);
  const ObsLists obslists = getobs(path);
  RefDirectories refs(folder.path());  // none: a station without a position is not placed
  refs.refresh();

  const struct {
    const char* box;
    SideList list;
    std::vector<std::string> rows;
  } cases[] = {
      {"Listbox1", obslists.listbox1,
       {"ABC_TWR Cid Three ADM", "EDDB-CH Dan Four SUP", "SRV-CH Zurich "}},
      {"Listbox2", obslists.listbox2,
       {"ABC_OBS Ann One --", "ABC_obs Bob Two 9", "ABC_OBS Ann One --"}},
      {"Listbox3", getfriends(path, FriendIds({"811402"})), {"EDBB_CTR STB> Eve Five C1"}},
      {"Listbox4", getedbb(path, refs), {"EDBB_CTR FIR> Eve Five C1", "EDDT_TWR FIR> Fay Six S3"}},
      {"Listbox5", getinbound(lists), {"DLH1 in> EDDT Gus Seven"}},
      {"Listbox6", getoutbound(lists), {"DLH1 out> EDDT Gus Seven", "DLH3 out>  Short Line"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.list.rows, c.rows) << c.box;
    EXPECT_TRUE(c.list.readable()) << c.box;
  }
}

TEST(SideLists, RegionListPlacesStationsWithoutAPositionByTheirCode) {
  TempFolder folder;
  folder.write("airports.dat", "EDDB:B:Berlin:::52.36:13.5\nEDDT:T:Berlin:::52.56:13.29\nEDDF:F:F:::50.03:8.57\n");
  folder.write("firs.dat", "EDWW::Bremen:::53:11\nEDMM::Munich:::48.5:11.5\n");
  RefDirectories refs(folder.path());
  refs.refresh();
  const std::string path = folder.write(
      "whazzup.txt",
      "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n" + client("EDDB_GND", "1", "Airport", "ATC", "", "", "5") +
          client("EDWW_CTR", "2", "Fir", "ATC", "", "", "5") +
          client("EDDF_TWR", "3", "Airport Outside", "ATC", "", "", "5") +
          client("EDMM_CTR", "4", "Fir Outside", "ATC", "", "", "5") +
          client("ZZZZ_APP", "5", "Unknown Code", "ATC", "", "", "5") +
          client("EDDTX_TWR", "6", "Longer Code", "ATC", "", "", "5") +
          client("EDDB_APP", "7", "Reports 0 0", "ATC", "0", "0", "5") +
          client("EDDT_N_DEP", "8", "Latitude Only", "ATC", "52.5", "", "5") +
          client("EDDB_TWR", "9", "Own Place", "ATC", "52", "13", "5"));
  EXPECT_EQ(getedbb(path, refs).rows,
            (std::vector<std::string>{"EDDB_GND FIR> Airport C1", "EDWW_CTR FIR> Fir C1",
                                      "EDDT_N_DEP FIR> Latitude Only C1", "EDDB_TWR FIR> Own Place C1"}));
  // Without the directories only a reported position counts.
  std::filesystem::remove(folder.file("airports.dat"));
  std::filesystem::remove(folder.file("firs.dat"));
  refs.refresh();
  const SideList alone = getedbb(path, refs);
  EXPECT_EQ(alone.rows, std::vector<std::string>{"EDDB_TWR FIR> Own Place C1"});
  EXPECT_TRUE(alone.readable());
}

TEST(SideLists, StackFiveApartWithEmptyBoxesAtHeightZero) {
  using P = SideBoxPlace;
  EXPECT_EQ(stacksidelists({3, 0, 2, 0, 0, 1}),
            (std::array<P, 6>{P{0, 48}, P{53, 0}, P{58, 32}, P{95, 0}, P{100, 0}, P{105, 16}}));
  EXPECT_EQ(stacksidelists({}),
            (std::array<P, 6>{P{0, 0}, P{5, 0}, P{10, 0}, P{15, 0}, P{20, 0}, P{25, 0}}));
}

TEST(SideLists, UnreadableCopyEmptiesTheListsAndIsSaidOnce) {
  TempFolder folder;
  const std::string path = folder.file("whazzup.txt");
  const SideList lists[] = {getobs(path).listbox1, getobs(path).listbox2,
                            getfriends(path, FriendIds()), getedbb(path, RefDirectories(folder.path()))};
  for (const SideList& list : lists) {
    EXPECT_TRUE(list.rows.empty());
    EXPECT_NE(list.failure.find(path), std::string::npos) << list.failure;
  }
  SaidOnce said;
  EXPECT_TRUE(said.shouldsay("getobs", lists[0].failure));
  EXPECT_FALSE(said.shouldsay("getobs", getobs(path).listbox1.failure));
  EXPECT_TRUE(said.shouldsay("getedbb", lists[3].failure));
  EXPECT_FALSE(said.shouldsay("getobs", ""));  // read again: nothing to say
  EXPECT_TRUE(said.shouldsay("getobs", lists[0].failure));
}

}  // namespace
}  // namespace netglobe

// The stored status copy: the parse into the status lists and the side
// lists read from the copy and from the pilot list.
#include <cstdint>
#include <string>

#include "feed/client_lines.h"
#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/side_lists.h"

namespace {

using namespace netglobe;

// The lists live as long as the program's do: each parse reuses them, so
// whatever an earlier input left above the counts is there to show through.
const StatusLists& parse(std::string_view copy, StatusLists& lists) {
  lists.topcount = 0;
  what2array(LineReader::fromtext(copy), lists);
  return lists;
}

bool sameentries(const std::vector<std::string>& a, const std::vector<std::string>& b, int count) {
  for (int i = 1; i <= count; ++i) {
    if (a[std::size_t(i)] != b[std::size_t(i)]) return false;
  }
  return true;
}

bool sameparse(const StatusLists& a, const StatusLists& b) {
  return a.appcount == b.appcount && a.ctrcount == b.ctrcount && a.twrcount == b.twrcount &&
         a.pilcount == b.pilcount && a.clicount == b.clicount &&
         sameentries(a.applines, b.applines, a.appcount) &&
         sameentries(a.ctrlines, b.ctrlines, a.ctrcount) &&
         sameentries(a.twrlines, b.twrlines, a.twrcount) &&
         sameentries(a.pillines, b.pillines, a.pilcount);
}

// Entries 1 to count are client lines of that kind.
template <class IsKind>
void checklist(const std::vector<std::string>& lines, int count, IsKind iskind) {
  FUZZ_CHECK(count >= 0 && std::size_t(count) < lines.size());
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lines[std::size_t(i)];
    FUZZ_CHECK(!line.starts_with('!'));
    FUZZ_CHECK(line.find('\n') == std::string::npos);
    FUZZ_CHECK(iskind(classifyclient(line)));
  }
}

void checkparse(const StatusLists& l) {
  checklist(l.applines, l.appcount, [](ClientKinds k) { return k.app > 0; });
  checklist(l.ctrlines, l.ctrcount, [](ClientKinds k) { return k.ctr; });
  checklist(l.twrlines, l.twrcount, [](ClientKinds k) { return k.twr > 0; });
  checklist(l.pillines, l.pilcount, [](ClientKinds k) { return k.pilot; });
  FUZZ_CHECK(l.pilcount <= l.clicount && l.ctrcount <= l.clicount);
  FUZZ_CHECK(l.appcount <= 2 * l.clicount && l.twrcount <= 2 * l.clicount);
  FUZZ_CHECK(l.topcount >= l.clicount);
}

// An earlier network with every kind of client, and a higher peak of the day.
constexpr std::string_view kEarlier =
    "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
    "EDDB_APP:100:Al:ATC:119.000:52.3:13.5:0:0:x_DEP:\n"
    "EDWW_CTR:101:Bo:ATC:127.000:53.0:10.0:0:0:\n"
    "EDDB_TWR:102:Cy:ATC:118.100:52.3:13.5:0:0:x_GND:\n"
    "DLH1:103:Di:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:\n";
constexpr int kEarlierPeak = 40;

// Places for stations that report none: an aerodrome and a FIR inside the
// region box, one of each outside.
const RefDirectories& directories() {
  static const RefDirectories refs = [] {
    RefDirectories r(std::string("/nonexistent"));
    r.airports.load(LineReader::fromtext("EDDB:B:B:::52.36:13.5\nKJFK:J:J:::40.6:-73.8\n"));
    r.firs.load(LineReader::fromtext("EDWW::W:::53:11\nLFFF::F:::48:2\n"));
    return r;
  }();
  return refs;
}

void checksidelists(std::string_view copy, const StatusLists& lists) {
  const ObsLists obs = getobs(LineReader::fromtext(copy));
  const SideList friends = getfriends(LineReader::fromtext(copy), FriendIds());
  const SideList edbb = getedbb(LineReader::fromtext(copy), directories());
  FUZZ_CHECK(obs.listbox1.readable() && obs.listbox2.readable());
  FUZZ_CHECK(friends.readable() && edbb.readable());
  for (const std::string& row : friends.rows) FUZZ_CHECK(row.find(" STB> ") != std::string::npos);
  for (const std::string& row : edbb.rows) FUZZ_CHECK(row.find(" FIR> ") != std::string::npos);
  const SideList in = getinbound(lists);
  const SideList out = getoutbound(lists);
  FUZZ_CHECK(in.rows.size() <= std::size_t(lists.pilcount));
  FUZZ_CHECK(out.rows.size() <= std::size_t(lists.pilcount));
  for (const std::string& row : in.rows) FUZZ_CHECK(row.find(" in> ") != std::string::npos);
  for (const std::string& row : out.rows) FUZZ_CHECK(row.find(" out> ") != std::string::npos);
}

// The copy with the client section marker put on line 8, or "" when the
// copy has no eighth line or already holds the marker there.
std::string withmarker(std::string_view copy) {
  std::size_t at = 0;
  for (int i = 0; i < kStatusHeaderLines; ++i) {
    at = copy.find('\n', at);
    if (at == std::string_view::npos) return {};
    ++at;
  }
  const std::string_view rest = copy.substr(at);
  if (rest.empty() || isclientmarker(rest.substr(0, rest.find('\n')))) return {};
  // The marker ends in CR LF when the copy's own lines do.
  const bool crlf = copy.substr(0, at).ends_with("\r\n");
  return std::string(copy.substr(0, at)) + (crlf ? "!CLIENTS\r\n" : "!CLIENTS:\n") +
         std::string(rest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static StatusLists plain, reused, marked;
  const std::string_view copy = fuzz::text(data, size);
  const StatusLists& lists = parse(copy, plain);
  checkparse(lists);
  // Nothing of an earlier parse shows through, and the day's peak stays.
  parse(kEarlier, reused);
  reused.topcount = kEarlierPeak;
  what2array(LineReader::fromtext(copy), reused);
  FUZZ_CHECK(sameparse(reused, lists));
  FUZZ_CHECK(reused.topcount == std::max(kEarlierPeak, lists.clicount));
  checksidelists(copy, lists);

  // A client section marker on line 8 changes nothing for any reader.
  const std::string withmark = withmarker(copy);
  if (!withmark.empty()) {
    FUZZ_CHECK(sameparse(parse(withmark, marked), lists));
    const ObsLists a = getobs(LineReader::fromtext(copy));
    const ObsLists b = getobs(LineReader::fromtext(withmark));
    FUZZ_CHECK(a.listbox1.rows == b.listbox1.rows && a.listbox2.rows == b.listbox2.rows);
    FUZZ_CHECK(getedbb(LineReader::fromtext(copy), directories()).rows ==
               getedbb(LineReader::fromtext(withmark), directories()).rows);
  }
  return 0;
}

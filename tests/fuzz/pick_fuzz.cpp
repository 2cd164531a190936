// The selection buffer of a pick pass as the pick is decoded: the first
// four bytes are what glRenderMode reported, the next four the object
// picked before, the rest the buffer's words.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/pick_decode.h"
#include "scene/pick_names.h"

namespace {

using namespace netglobe;

const StatusLists& network() {
  static const StatusLists lists = [] {
    StatusLists l;
    what2array(LineReader::fromtext(
                   "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                   "EDDB_APP:100:Al:ATC:119.000:52.3:13.5:0:0:\n"
                   "EDWW_CTR:101:Bo:ATC:127.000:53.0:10.0:0:0:\n"
                   "EDDB_TWR:102:Cy:ATC:118.100:52.3:13.5:0:0:\n"
                   "DLH1:103:Di Long Name Of A Pilot:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:\n"
                   "DLH2\n"),
               l);
    return l;
  }();
  return lists;
}

// Whether a name stands for an entry of the current lists.
bool namesentry(std::uint32_t name) {
  const StatusLists& l = network();
  const PickTarget t = decodepick(name);
  const int counts[] = {0, l.appcount, l.ctrcount, l.twrcount, l.pilcount};
  return t.kind != PickKind::None && t.index >= 1 && t.index <= counts[int(t.kind)];
}

std::uint32_t word(const std::uint8_t*& data, std::size_t& size) {
  std::uint32_t w = 0;
  const std::size_t n = std::min(size, sizeof w);
  std::memcpy(&w, data, n);
  data += n;
  size -= n;
  return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int hits = static_cast<std::int32_t>(word(data, size));
  const std::uint32_t before = word(data, size);
  std::vector<std::uint32_t> selbuf;
  while (size > 0 && selbuf.size() < std::size_t(kSelectBufferSize)) {
    selbuf.push_back(word(data, size));
  }

  const std::vector<HitRecord> records = hitrecords(hits, selbuf);
  FUZZ_CHECK(records.size() <= std::size_t(std::max(hits, 0)));
  const PickOutcome out = decodehits(hits, selbuf, before, network());
  if (hits < 0) FUZZ_CHECK(out.pickedname == 0);
  if (hits == 0) FUZZ_CHECK(out.pickedname == before);
  if (hits > 0 && out.pickedname != 0) {
    FUZZ_CHECK(std::any_of(records.begin(), records.end(),
                           [&](const HitRecord& r) { return r.name() == out.pickedname; }));
  }
  // One line per name of a record that names an entry, up to the list's length.
  std::size_t named = 0;
  for (const HitRecord& r : records) {
    named += std::size_t(std::count_if(r.names.begin(), r.names.end(), namesentry));
  }
  FUZZ_CHECK(out.lines.size() == std::min<std::size_t>(named, kMaxPickLines));
  FUZZ_CHECK((out.summary == "  ") != namesentry(out.pickedname));
  const std::string list = out.listtext();
  std::size_t lineends = 0;
  for (std::size_t at = list.find("\r\n"); at != std::string::npos; at = list.find("\r\n", at + 2)) {
    ++lineends;
  }
  FUZZ_CHECK(lineends == out.lines.size());
  return 0;
}

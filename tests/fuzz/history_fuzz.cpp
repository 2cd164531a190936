// A history segment as the store reads it back at start: its records and
// the refreshes unpacked from them. The same bytes read as a status text
// give the pilot positions and a trails layer.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "feed/client_fields.h"
#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "history/history_codec.h"
#include "history/history_format.h"
#include "history/pilot_positions.h"
#include "history/update_time.h"
#include "layers/trail_layer.h"
#include "scene/scene_state.h"

namespace {

using namespace netglobe;

// The records' texts, unpacked along their chain up to the first that
// does not unpack.
std::vector<std::string> unpackall(std::string_view bytes, const std::vector<RecordInfo>& records) {
  HistoryUnpacker unpacker;
  std::vector<std::string> texts;
  for (const RecordInfo& r : records) {
    const std::string_view prefix =
        r.kind == RecordKind::Full ? std::string_view{} : std::string_view(texts.back());
    std::string text;
    if (!unpacker.unpack(bytes.substr(r.offset, r.packedsize), prefix, r.rawsize, text)) {
      break;
    }
    FUZZ_CHECK(text.size() == r.rawsize);
    texts.push_back(std::move(text));
  }
  return texts;
}

void checksegment(std::string_view bytes) {
  const SegmentRead read = readsegment(MemorySource(bytes));
  if (!read.ours) {
    FUZZ_CHECK(read.records.empty() && read.damage.empty());
    return;
  }
  // Records lie one after the other inside the input, a full one first.
  std::uint64_t end = kSegmentMagic.size();
  for (const RecordInfo& r : read.records) {
    FUZZ_CHECK(r.offset >= end + kRecordHeaderBytes);
    FUZZ_CHECK(r.offset + r.packedsize <= bytes.size());
    FUZZ_CHECK(r.update.size() <= kMaxUpdateText && r.rawsize <= kMaxKeptBytes);
    end = r.offset + r.packedsize;
  }
  FUZZ_CHECK(read.records.empty() || read.records.front().kind == RecordKind::Full);
  FUZZ_CHECK(read.damage.empty() == (end == bytes.size()));

  // What unpacks, kept again as the store writes it, reads back the same.
  const std::vector<std::string> texts = unpackall(bytes, read.records);
  if (texts.empty()) return;
  HistoryPacker packer;
  std::string rewritten(kSegmentMagic);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const RecordInfo& r = read.records[i];
    const std::string packed = packer.pack(texts[i], i == 0 ? std::string_view{} : texts[i - 1]);
    FUZZ_CHECK(!packed.empty());
    RecordInfo info{i == 0 ? RecordKind::Full : RecordKind::Delta, r.receiptms, r.update,
                    texts[i].size(), historyhash(texts[i])};
    rewritten += encoderecord(info, packed);
  }
  const SegmentRead again = readsegment(MemorySource(rewritten));
  FUZZ_CHECK(again.damage.empty() && again.records.size() == texts.size());
  FUZZ_CHECK(unpackall(rewritten, again.records) == texts);
}

void checkpositions(std::string_view text) {
  const std::string_view update = statusupdatetime(text);
  FUZZ_CHECK(update.size() <= kMaxUpdateText);
  FUZZ_CHECK(update.find_first_of("\r\n") == std::string_view::npos);

  static StatusLists lists;
  lists.topcount = 0;
  what2array(LineReader::fromtext(text), lists);
  std::vector<PilotPosition> pilots = decodepositions(text);
  // Every pilot of the parse that reports a position, and no other.
  std::size_t placed = 0;
  for (int i = 1; i <= lists.pilcount; ++i) {
    const ClientFields f(lists.pillines[std::size_t(i)], kLongitude);
    placed += haspositionfields(f(kLatitude), f(kLongitude));
  }
  FUZZ_CHECK(pilots.size() == placed);
  for (const PilotPosition& p : pilots) {
    FUZZ_CHECK(std::isfinite(p.lat) && std::isfinite(p.lon));
    FUZZ_CHECK(p.key == pilotkey(p.callsign, p.memberid));
    FUZZ_CHECK(std::isfinite(p.at.x) && std::isfinite(p.at.y) && std::isfinite(p.at.z));
  }
  // Every drawn pilot met twice, a minute apart, and once more far away.
  std::vector<PositionFrame> frames = {{1, 0, pilots}, {2, 60'000, pilots}, {3, 120'000, pilots}};
  for (PilotPosition& p : frames[2].pilots) p = pilotposition(p.callsign, p.memberid, p.lat + 50, p.lon);
  const Layer layer = drawtrails(frames, lists, FriendIds(), 120'000);
  fuzz::checklayer(layer, kTrailList);
  FUZZ_CHECK(layer.ops.countof(DrawOp::Kind::LoadName) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::text(data, size);
  checksegment(bytes);
  checkpositions(bytes);
  return 0;
}

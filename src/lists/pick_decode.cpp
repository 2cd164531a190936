#include "lists/pick_decode.h"

#include "base/fields.h"
#include "scene/pick_names.h"

namespace netglobe {
namespace {

constexpr std::size_t kRecordHead = 3;  // names, zmin, zmax
constexpr std::size_t kPersonNameChars = 16;

// Status line of a picked object, or null when the name stands for none.
const std::string* statusline(const StatusLists& lists, std::uint32_t name) {
  const PickTarget t = decodepick(name);
  const auto entry = [&t](const std::vector<std::string>& lines, int count) -> const std::string* {
    const bool listed = t.index >= 1 && t.index <= count && std::size_t(t.index) < lines.size();
    return listed ? &lines[std::size_t(t.index)] : nullptr;
  };
  switch (t.kind) {
    case PickKind::Approach: return entry(lists.applines, lists.appcount);
    case PickKind::ActiveFir: return entry(lists.ctrlines, lists.ctrcount);
    case PickKind::Tower: return entry(lists.twrlines, lists.twrcount);
    case PickKind::Aircraft: return entry(lists.pillines, lists.pilcount);
    case PickKind::None: break;
  }
  return nullptr;
}

// An object as the pick texts show it: callsign (and destination for an
// aircraft), then the person behind it.
struct ObjectText {
  std::string head;
  std::string person;
  bool aircraft = false;

  std::string listline() const { return head + " " + person; }
  // An aircraft's summary keeps one more blank before the name.
  std::string summary() const { return head + (aircraft ? "   " : "  ") + person; }
};

ObjectText objecttext(std::uint32_t name, const std::string& line) {
  FieldBuf f;  // fresh: no field of an earlier record may show through
  getfields(line, f);
  if (decodepick(name).kind == PickKind::Aircraft) {
    return {f(1) + " " + f(14), f(3).substr(0, kPersonNameChars), true};
  }
  return {f(1), f(3)};
}

std::uint32_t nearestname(int hits, const std::vector<HitRecord>& records) {
  if (hits == 2 && records.size() == 2 && (records[0].name() == 0 || records[1].name() == 0)) {
    return records[0].name() + records[1].name();
  }
  const HitRecord* choice = nullptr;
  for (const HitRecord& r : records) {
    if (r.named() && (!choice || r.zmin < choice->zmin)) choice = &r;
  }
  return choice ? choice->name() : 0;
}

}  // namespace

std::vector<HitRecord> hitrecords(int hits, std::span<const std::uint32_t> selbuf) {
  std::vector<HitRecord> records;
  std::size_t pos = 0;
  for (int r = 0; r < hits; ++r) {
    if (selbuf.size() - pos < kRecordHead) break;
    const std::uint32_t names = selbuf[pos];
    if (names > selbuf.size() - pos - kRecordHead) break;
    records.push_back({selbuf[pos + 1], selbuf.subspan(pos + kRecordHead, names)});
    pos += kRecordHead + names;
  }
  return records;
}

std::string PickOutcome::listtext() const {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

PickOutcome decodehits(int hits, std::span<const std::uint32_t> selbuf, std::uint32_t pickedname,
                       const StatusLists& lists) {
  PickOutcome out;
  const std::vector<HitRecord> records = hitrecords(hits, selbuf);
  out.pickedname = hits == 0 ? pickedname : nearestname(hits, records);

  for (const HitRecord& r : records) {
    for (const std::uint32_t name : r.names) {
      if (out.lines.size() == std::size_t(kMaxPickLines)) break;
      if (const std::string* line = statusline(lists, name)) {
        out.lines.push_back(objecttext(name, *line).listline());
      }
    }
  }

  const std::string* line = statusline(lists, out.pickedname);
  out.summary = line ? objecttext(out.pickedname, *line).summary() : "  ";
  return out;
}

std::string drawnsummary(const StatusLists& lists, const std::string& callsign, const std::string& memberid) {
  const std::string key = callsign + ":" + memberid + ":";
  const auto find = [&](const std::vector<std::string>& lines, int count, PickKind kind) -> std::string {
    for (int i = 1; i <= count && i < int(lines.size()); ++i) {
      const std::string& line = lines[std::size_t(i)];
      if (line.starts_with(key)) return objecttext(pickname(kind, i), line).summary();
    }
    return {};
  };
  std::string summary = find(lists.pillines, lists.pilcount, PickKind::Aircraft);
  if (summary.empty()) summary = find(lists.ctrlines, lists.ctrcount, PickKind::ActiveFir);
  if (summary.empty()) summary = find(lists.applines, lists.appcount, PickKind::Approach);
  if (summary.empty()) summary = find(lists.twrlines, lists.twrcount, PickKind::Tower);
  return summary;
}

}  // namespace netglobe

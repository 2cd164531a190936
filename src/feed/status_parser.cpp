#include "feed/status_parser.h"

#include <algorithm>
#include <utility>

#include "feed/client_lines.h"

namespace netglobe {
namespace {

// Lines whose type field holds no type are read by the older rule: the
// type must be a whole field that starts at character 16 or later and ends
// by character 70. The callsign suffixes are looked for in that window too.
constexpr std::size_t kTypeWindowStart = 15;  // 0-based index of character 16
constexpr std::size_t kClassifyWindow = 70;
constexpr int kTypePosition = 4;

bool contains(std::string_view text, std::string_view what, std::size_t from = 0) {
  return text.find(what, from) != std::string_view::npos;
}

enum class TypeField { Atc, Pilot, Other };

// What position 4 says, when it is a whole field ended by a colon like the
// type the window rule looks for.
TypeField typefield(std::string_view line) {
  std::size_t start = 0;
  for (int n = 1; n < kTypePosition; ++n) {
    start = line.find(':', start);
    if (start == std::string_view::npos) return TypeField::Other;
    ++start;
  }
  const std::string_view rest = line.substr(start);
  if (rest.starts_with("ATC:")) return TypeField::Atc;
  if (rest.starts_with("PILOT:")) return TypeField::Pilot;
  return TypeField::Other;
}

// Slots keep their buffers from one parse to the next. A line of several
// megabytes from a broken server would stay allocated in every slot it ever
// passed through, and over many refreshes in nearly all of them: buffers far
// larger than what they hold now are given back, leftovers' big ones too.
// Slots above both this parse's count and the one before were given back
// by an earlier parse already: only the slots up to the higher one are seen.
// A list that once held a far busier network gives its spare slots back as
// well, so that copies of the lists stay as small as what they hold.
constexpr std::size_t kSpareSlotBytes = 4096;
constexpr std::size_t kSpareSlots = 4096;

void givebackspare(std::vector<std::string>& list, int count, int before) {
  const std::size_t seen = static_cast<std::size_t>(std::max(count, before)) + 1;
  for (std::size_t i = 1; i < std::min(list.size(), seen); ++i) {
    std::string& slot = list[i];
    if (slot.capacity() <= kSpareSlotBytes) continue;
    if (i > static_cast<std::size_t>(count)) slot.clear();  // a leftover: never read
    if (slot.capacity() > 2 * slot.size() + kSpareSlotBytes) slot.shrink_to_fit();
  }
  const std::size_t used = static_cast<std::size_t>(count) + 1;
  if (list.size() > 2 * used + kSpareSlots) {
    list.resize(used);
    list.shrink_to_fit();
  }
}

}  // namespace

ClientKinds classifyclient(std::string_view line) {
  const std::string_view h = line.substr(0, kClassifyWindow);
  ClientKinds kinds;
  switch (typefield(line)) {
    case TypeField::Atc: kinds.atc = true; break;
    case TypeField::Pilot: kinds.pilot = true; break;
    case TypeField::Other:
      kinds.atc = contains(h, ":ATC:", kTypeWindowStart);
      kinds.pilot = contains(h, ":PILOT:", kTypeWindowStart);
      break;
  }
  if (kinds.atc) {
    kinds.app = int(contains(h, "_APP:")) + int(contains(h, "_DEP:"));
    kinds.ctr = contains(h, "_CTR:") || contains(h, "_FSS:");
    kinds.twr = int(contains(h, "_TWR:")) + int(contains(h, "_GND:"));
  }
  return kinds;
}

void what2array(const std::string& path, StatusLists& lists) { what2array(LineReader(path), lists); }

void what2array(LineReader copy, StatusLists& lists) {
  const int before[] = {lists.appcount, lists.ctrcount, lists.twrcount, lists.pilcount};
  lists.appcount = lists.ctrcount = lists.twrcount = lists.pilcount = lists.clicount = 0;
  ClientLines reader(std::move(copy));
  std::string curline;
  while (reader.next(curline)) {
    if (!curline.empty() && curline[0] == '!') break;
    ++lists.clicount;
    const ClientKinds kinds = classifyclient(curline);
    for (int i = 0; i < kinds.app; ++i) appendline(lists.applines, lists.appcount, curline);
    if (kinds.ctr) appendline(lists.ctrlines, lists.ctrcount, curline);
    for (int i = 0; i < kinds.twr; ++i) appendline(lists.twrlines, lists.twrcount, curline);
    if (kinds.pilot) appendline(lists.pillines, lists.pilcount, curline);
  }
  givebackspare(lists.applines, lists.appcount, before[0]);
  givebackspare(lists.ctrlines, lists.ctrcount, before[1]);
  givebackspare(lists.twrlines, lists.twrcount, before[2]);
  givebackspare(lists.pillines, lists.pilcount, before[3]);
  if (lists.clicount > lists.topcount) lists.topcount = lists.clicount;
}

std::string countstitle(const StatusLists& lists) {
  return " CTR=" + std::to_string(lists.ctrcount) + " APP=" + std::to_string(lists.appcount) +
         " TWR=" + std::to_string(lists.twrcount) + " PIL=" + std::to_string(lists.pilcount) +
         " CLI=" + std::to_string(lists.clicount) + " TOP=" + std::to_string(lists.topcount);
}

}  // namespace netglobe

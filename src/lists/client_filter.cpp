#include "lists/client_filter.h"

#include <algorithm>
#include <utility>

#include "base/number_text.h"
#include "base/text_search.h"
#include "feed/client_fields.h"
#include "feed/client_lines.h"
#include "feed/status_parser.h"

namespace netglobe {
namespace {

constexpr int kAltitude = 8;
// The reader takes one CR before the LF off each line: a line that ends in
// a CR of its own reads back the same only with a CR LF after it.
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kPlannedType = 10;
constexpr int kDeparture = 12;

bool blank(char c) { return c == ' ' || c == '\t'; }

bool alldigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "FL300" is 30000 ft, "30000" is feet; nothing else is a level.
bool parselevel(std::string_view value, int& feet) {
  bool flightlevel = false;
  if (value.size() > 2 && (value[0] == 'f' || value[0] == 'F') && (value[1] == 'l' || value[1] == 'L')) {
    value.remove_prefix(2);
    flightlevel = true;
  }
  // Six digits reach past any altitude flown; more would overflow.
  if (!alldigits(value) || value.size() > 6) return false;
  feet = std::stoi(std::string(value)) * (flightlevel ? 100 : 1);
  return true;
}

// The type between the wake letter before it and the equipment letter after
// it: "H/B744/L" and "B744/L" are both a B744.
std::string_view baretype(std::string_view planned) {
  std::string_view first;
  while (true) {
    const std::size_t slash = planned.find('/');
    const std::string_view part = planned.substr(0, slash);
    if (first.empty()) first = part;
    if (part.size() > 1) return part;
    if (slash == std::string_view::npos) return first;
    planned.remove_prefix(slash + 1);
  }
}

}  // namespace

FilterQuery parsefilter(std::string_view text) {
  FilterQuery query;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && blank(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !blank(text[end])) ++end;
    if (end == at) break;
    const std::string_view word = text.substr(at, end - at);
    at = end;
    if (!query.text.empty()) query.text += ' ';
    query.text += word;

    const std::string folded = foldcase1252(word);
    FilterTerm term;
    const std::size_t colon = folded.find(':');
    if (colon == std::string::npos) {
      // Callsigns and names hold no colon: every word with one is a key.
      if (folded == "atc") {
        term.key = FilterTerm::Atc;
      } else if (folded == "pilot") {
        term.key = FilterTerm::Pilot;
      } else {
        term.text = folded;
      }
      query.terms.push_back(std::move(term));
      continue;
    }
    const std::string key = folded.substr(0, colon);
    const std::string value = folded.substr(colon + 1);
    const std::string shown(word);
    if (key == "from" || key == "to" || key == "type") {
      term.key = key == "from" ? FilterTerm::From : key == "to" ? FilterTerm::To : FilterTerm::Type;
      term.text = value;
      if (value.empty() || value.find(':') != std::string::npos) {
        query.problems.push_back("\"" + shown + "\" needs a code after " + key + ":");
        continue;
      }
    } else if (key == "above" || key == "below") {
      term.key = key == "above" ? FilterTerm::Above : FilterTerm::Below;
      if (!parselevel(value, term.feet)) {
        query.problems.push_back("\"" + shown + "\" needs a level such as FL300 or 30000");
        continue;
      }
    } else {
      query.problems.push_back("\"" + shown + "\" is no filter word");
      continue;
    }
    query.terms.push_back(std::move(term));
  }
  return query;
}

std::string filterproblemsnote(const FilterQuery& query) {
  std::string note;
  for (const std::string& problem : query.problems) {
    if (!note.empty()) note += "; ";
    note += problem;
  }
  if (!note.empty()) note += query.problems.size() == 1 ? " (it filters nothing)" : " (they filter nothing)";
  return note;
}

FilterIndex::FilterIndex(LineReader copy) {
  if (!copy.isopen()) return;
  read_ = true;
  // The header as every reader passes it over: seven lines, and a client
  // marker right after them.
  std::string line;
  for (int i = 0; i < kStatusHeaderLines; ++i) {
    if (!copy.next(line)) return;
    header_ += line;
    header_ += kLineEnd;
  }
  bool more = copy.next(line);
  if (more && isclientmarker(line)) {
    header_ += line;
    header_ += kLineEnd;
    more = copy.next(line);
  }
  for (; more && !line.starts_with('!'); more = copy.next(line)) {
    const ClientFields f(line, kDestination);
    Entry entry;
    entry.callsign = foldcase1252(f(kCallsign));
    entry.name = foldcase1252(f(kName));
    entry.memberid = f(kMemberId);
    entry.departure = foldcase1252(f(kDeparture));
    entry.destination = foldcase1252(f(kDestination));
    entry.type = foldcase1252(baretype(f(kPlannedType)));
    entry.altitude = leadingnumber(f(kAltitude));
    const ClientKinds kinds = classifyclient(line);
    entry.kind = kinds.pilot ? ClientKind::Pilot : kinds.atc ? ClientKind::Station : ClientKind::Other;
    entries_.push_back(std::move(entry));
    lines_.push_back(std::move(line));
  }
}

bool FilterIndex::matches(const Entry& e, const FilterTerm& term) const {
  switch (term.key) {
    case FilterTerm::Word:
      return e.callsign.find(term.text) != std::string::npos || e.name.find(term.text) != std::string::npos ||
             (alldigits(term.text) && e.memberid.starts_with(term.text));
    case FilterTerm::From: return e.departure.starts_with(term.text);
    case FilterTerm::To: return e.destination.starts_with(term.text);
    case FilterTerm::Type: return e.type.starts_with(term.text);
    case FilterTerm::Above: return e.kind == ClientKind::Pilot && e.altitude >= term.feet;
    case FilterTerm::Below: return e.kind == ClientKind::Pilot && e.altitude < term.feet;
    case FilterTerm::Atc: return e.kind == ClientKind::Station;
    case FilterTerm::Pilot: return e.kind == ClientKind::Pilot;
  }
  return false;
}

std::vector<std::uint8_t> FilterIndex::match(const FilterQuery& query) const {
  std::vector<std::uint8_t> keep(entries_.size(), 1);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    for (const FilterTerm& term : query.terms) {
      if (!matches(entries_[i], term)) {
        keep[i] = 0;
        break;
      }
    }
  }
  return keep;
}

std::string FilterIndex::filteredcopy(const std::vector<std::uint8_t>& keep) const {
  std::string copy = header_;
  for (std::size_t i = 0; i < lines_.size() && i < keep.size(); ++i) {
    if (!keep[i]) continue;
    copy += lines_[i];
    copy += kLineEnd;
  }
  return copy;
}

}  // namespace netglobe

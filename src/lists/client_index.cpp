#include "lists/client_index.h"

#include <utility>

#include "base/number_text.h"
#include "base/text_search.h"
#include "feed/client_fields.h"
#include "feed/client_lines.h"
#include "feed/status_parser.h"

namespace netglobe {

std::optional<ClientPlace> placeof(std::string_view lattext, std::string_view lontext) {
  const std::optional<double> lat = numberat(lattext);
  const std::optional<double> lon = numberat(lontext);
  if (!lat || !lon || *lat < -90 || *lat > 90 || *lon < -180 || *lon > 180) return std::nullopt;
  return ClientPlace{*lat, *lon};
}

namespace {

ClientKind kindof(std::string_view line, const ClientFields& f) {
  if (f(kObserverText).starts_with(kObserverMark)) return ClientKind::Observer;
  const ClientKinds kinds = classifyclient(line);
  if (kinds.pilot) return ClientKind::Pilot;
  if (kinds.atc) return ClientKind::Station;
  return ClientKind::Other;
}

void append(FoldedColumn& column, std::string_view text) {
  column.starts.push_back(column.text.size());
  column.text += foldcase1252(text);
  column.text += '\n';
}

}  // namespace

ClientIndex::ClientIndex(LineReader copy) {
  ClientLines file(std::move(copy));
  if (!file.isopen()) {
    failure_ = file.openfailure();
  } else {
    std::string line;
    while (file.next(line)) {
      if (line.starts_with('!')) break;
      add(line);
    }
  }
  callsigns_.starts.push_back(callsigns_.text.size());
  names_.starts.push_back(names_.text.size());
}

void ClientIndex::add(std::string_view line) {
  // Most lines hold no observer mark: those are split only as far as the
  // position.
  const bool marked = line.find(kObserverMark) != std::string_view::npos;
  const ClientFields f(line, marked ? kObserverText : kLongitude);
  if (f(kCallsign).empty()) return;
  ClientEntry entry;
  entry.callsign = f(kCallsign);
  entry.memberid = f(kMemberId);
  entry.name = f(kName);
  entry.kind = kindof(line, f);
  entry.place = placeof(f(kLatitude), f(kLongitude));
  append(callsigns_, entry.callsign);
  append(names_, entry.name);
  entries_.push_back(std::move(entry));
}

const ClientEntry* ClientIndex::find(std::string_view callsign, std::string_view memberid) const {
  for (const ClientEntry& entry : entries_) {
    if (entry.callsign == callsign && entry.memberid == memberid) return &entry;
  }
  return nullptr;
}

}  // namespace netglobe

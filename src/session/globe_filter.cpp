#include "session/globe_filter.h"

#include <utility>

#include "feed/status_parser.h"

namespace netglobe {

std::string GlobeFilter::load() {
  const StoredFilter stored = file_.read();
  query_ = parsefilter(stored.query);
  return stored.damage;
}

bool GlobeFilter::set(std::string_view text) {
  FilterQuery query = parsefilter(text);
  if (query.text == query_.text) {
    query_ = std::move(query);
    return false;
  }
  query_ = std::move(query);
  if (!on()) {
    index_ = FilterIndex();
    indexed_ = false;
    copy_.clear();
    copy_.shrink_to_fit();
  }
  return true;
}

GlobeFilter::Keeper GlobeFilter::keeper() const {
  return [file = file_](const std::string& query) { return file.write(query); };
}

void GlobeFilter::index(LineReader copy) {
  if (!on()) {
    index_ = FilterIndex();
    indexed_ = false;
    return;
  }
  index_ = FilterIndex(std::move(copy));
  indexed_ = true;
}

StatusLists GlobeFilter::lists(const StatusLists& all) {
  clients_ = all.clicount;
  if (!on()) {
    copy_.clear();
    shown_ = all.clicount;
    // A fresh copy, not an assignment: strings keep their capacity when
    // assigned, and a huge line once parsed would stay held in its slot.
    return StatusLists(all);
  }
  copy_ = index_.filteredcopy(index_.match(query_));
  StatusLists filtered;
  what2array(LineReader::fromtext(copy_), filtered);
  filtered.topcount = all.topcount;
  shown_ = filtered.clicount;
  return filtered;
}

ClientSearch GlobeFilter::matches() const {
  ClientSearch found;
  if (!on()) return found;
  found.searched = true;
  std::vector<std::uint8_t> keep = index_.match(query_);
  for (std::uint8_t& k : keep) {
    if (!k) continue;
    // Only the first few are read into entries, the way the search reads them.
    if (++found.total > kMaxMatches) k = 0;
  }
  const std::string firstfew = index_.filteredcopy(keep);
  const ClientIndex entries(LineReader::fromtext(firstfew));
  for (const ClientEntry& entry : entries.entries()) found.matches.push_back({entry, MatchRank::Callsign});
  return found;
}

std::string GlobeFilter::titlesuffix() const {
  if (!on()) return "";
  return " FILTER \"" + query_.text + "\" " + std::to_string(shown_) + "/" + std::to_string(clients_);
}

}  // namespace netglobe

// The client index read from the stored copy, the search over it and the
// following of a pilot: the index holds the copy's client lines, a search
// finds exactly what a plain scan of the entries finds, best first, and
// every client is followed to itself.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text_search.h"
#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/client_follow.h"
#include "lists/client_index.h"
#include "lists/client_search.h"

namespace {

using namespace netglobe;

void checkentry(const ClientEntry& e) {
  for (const std::string* field : {&e.callsign, &e.memberid, &e.name}) {
    FUZZ_CHECK(field->find(':') == std::string::npos && field->find('\n') == std::string::npos);
  }
  FUZZ_CHECK(!e.callsign.empty() && !e.callsign.starts_with('!'));
  if (e.place) {
    FUZZ_CHECK(e.place->lat >= -90 && e.place->lat <= 90);
    FUZZ_CHECK(e.place->lon >= -180 && e.place->lon <= 180);
  }
}

// The rank of one entry found the slow way, or -1 when it does not match.
int scanrank(const ClientEntry& e, const std::string& what) {
  const std::string callsign = foldcase1252(e.callsign);
  const bool digits = std::all_of(what.begin(), what.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (callsign == what) return int(MatchRank::Callsign);
  if (callsign.starts_with(what)) return int(MatchRank::CallsignPrefix);
  if (digits && e.memberid == what) return int(MatchRank::MemberId);
  if (digits && e.memberid.starts_with(what)) return int(MatchRank::MemberIdPrefix);
  if (callsign.find(what) != std::string::npos) return int(MatchRank::CallsignPart);
  if (foldcase1252(e.name).find(what) != std::string::npos) return int(MatchRank::NamePart);
  return -1;
}

void checksearch(const ClientIndex& index, std::string_view text) {
  const ClientSearch s = searchclients(index, text);
  FUZZ_CHECK(s.matches.size() <= kMaxMatches && s.matches.size() <= s.total);
  std::size_t first = 0, last = text.size();
  while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
  while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
  const std::string what = foldcase1252(text.substr(first, last - first));
  FUZZ_CHECK(s.searched == !what.empty());
  if (what.empty()) {
    FUZZ_CHECK(s.total == 0);
    return;
  }

  // Every match the slow way, stably ordered by rank.
  std::vector<std::pair<int, std::size_t>> found;
  for (std::size_t i = 0; i < index.size(); ++i) {
    const int rank = scanrank(index[i], what);
    if (rank >= 0) found.push_back({rank, i});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  FUZZ_CHECK(s.total == found.size());
  FUZZ_CHECK(s.matches.size() == std::min(found.size(), kMaxMatches));
  for (std::size_t k = 0; k < s.matches.size(); ++k) {
    const ClientEntry& want = index[found[k].second];
    FUZZ_CHECK(int(s.matches[k].rank) == found[k].first);
    FUZZ_CHECK(s.matches[k].client.callsign == want.callsign && s.matches[k].client.name == want.name);
  }
}

}  // namespace

// Input: the stored copy, then "====" and the text typed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> input = fuzz::parts(fuzz::text(data, size), 2);
  const ClientIndex index{LineReader::fromtext(input[0])};
  FUZZ_CHECK(index.failure().empty());
  StatusLists lists;
  what2array(LineReader::fromtext(input[0]), lists);
  FUZZ_CHECK(index.size() <= std::size_t(lists.clicount));
  for (const ClientEntry& e : index.entries()) checkentry(e);

  checksearch(index, input[1]);
  // Each entry's callsign, as typed, finds it among the best.
  for (std::size_t i = 0; i < std::min<std::size_t>(index.size(), 8); ++i) {
    checksearch(index, index[i].callsign);
    const FollowStep step = follow(index, followedpilot(index[i]));
    const ClientEntry* first = index.find(index[i].callsign, index[i].memberid);
    FUZZ_CHECK(first && first <= &index[i]);
    FUZZ_CHECK(step.state == (first->place ? FollowState::Found : FollowState::NoPosition));
    if (first->place) FUZZ_CHECK(step.place == *first->place);
  }
  return 0;
}

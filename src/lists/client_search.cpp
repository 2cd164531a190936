#include "lists/client_search.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/text_search.h"

namespace netglobe {

namespace {

constexpr std::uint8_t kNoMatch = 0xFF;
constexpr std::size_t kRanks = static_cast<std::size_t>(MatchRank::NamePart) + 1;

bool alldigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void better(std::uint8_t& rank, MatchRank r) {
  rank = std::min(rank, static_cast<std::uint8_t>(r));
}

// Runs through a column once: every entry that holds what gets `part`, or
// `whole` / `prefix` where what stands at the entry's start. Only the first
// find in an entry counts: a later one cannot be nearer its start.
void scan(const FoldedColumn& column, std::string_view what, MatchRank whole, MatchRank prefix,
          MatchRank part, std::vector<std::uint8_t>& ranks) {
  const std::string_view text = column.text;
  const std::vector<std::size_t>& starts = column.starts;
  std::size_t entry = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; ) {
    // Finds come in order: the entry is found by walking on, not searched.
    while (starts[entry + 1] <= at) ++entry;
    const std::size_t end = starts[entry + 1] - 1;  // the entry's line feed
    if (at != starts[entry]) {
      better(ranks[entry], part);
    } else {
      better(ranks[entry], at + what.size() == end ? whole : prefix);
    }
    at = text.find(what, end + 1);
  }
}

}  // namespace

ClientSearch searchclients(const ClientIndex& index, std::string_view text) {
  ClientSearch search;
  const std::string what = foldcase1252(trimmed(text));
  if (what.empty()) return search;
  search.searched = true;
  // No field holds a line feed (it ends the line): nothing can match.
  if (what.find('\n') != std::string::npos) return search;

  std::vector<std::uint8_t> ranks(index.size(), kNoMatch);
  scan(index.callsigns(), what, MatchRank::Callsign, MatchRank::CallsignPrefix,
       MatchRank::CallsignPart, ranks);
  if (alldigits(what)) {
    for (std::size_t i = 0; i < index.size(); ++i) {
      const std::string& id = index[i].memberid;
      if (id.starts_with(what)) {
        better(ranks[i], id.size() == what.size() ? MatchRank::MemberId : MatchRank::MemberIdPrefix);
      }
    }
  }
  scan(index.names(), what, MatchRank::NamePart, MatchRank::NamePart, MatchRank::NamePart, ranks);

  std::array<std::size_t, kRanks> counts{};
  for (std::uint8_t r : ranks) {
    if (r != kNoMatch) ++counts[r];
  }
  for (std::size_t c : counts) search.total += c;
  // Best rank first, the copy's order within a rank.
  for (std::uint8_t r = 0; r < kRanks && search.matches.size() < kMaxMatches; ++r) {
    if (counts[r] == 0) continue;
    for (std::size_t i = 0; i < ranks.size() && search.matches.size() < kMaxMatches; ++i) {
      if (ranks[i] == r) search.matches.push_back({index[i], static_cast<MatchRank>(r)});
    }
  }
  return search;
}

std::string_view kindmark(ClientKind kind) {
  switch (kind) {
    case ClientKind::Pilot: return "PIL>";
    case ClientKind::Station: return "ATC>";
    case ClientKind::Observer: return "OBS>";
    case ClientKind::Other: break;
  }
  return "CLI>";
}

std::string searchrow(const ClientEntry& client) {
  std::string row = client.callsign;
  row += ' ';
  row += kindmark(client.kind);
  row += ' ';
  row += client.name;
  if (!client.place) row += " (no position)";
  return row;
}

std::string searchfooter(const ClientSearch& search) {
  if (!search.searched) return "";
  if (search.total == 0) return "no match";
  if (search.more() == 0) return "";
  return std::to_string(search.more()) + " more";
}

}  // namespace netglobe

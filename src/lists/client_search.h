#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lists/client_index.h"

namespace netglobe {

// How well a client matches, best first.
enum class MatchRank : unsigned char {
  Callsign,        // the whole callsign
  CallsignPrefix,  // the callsign begins with the text
  MemberId,        // the whole member id (the text is all digits)
  MemberIdPrefix,  // the member id begins with the text
  CallsignPart,    // the callsign holds the text further in
  NamePart,        // the name holds the text
};

inline constexpr std::size_t kMaxMatches = 20;

struct ClientMatch {
  ClientEntry client;  // a copy: the match outlives the index it came from
  MatchRank rank;
};

struct ClientSearch {
  bool searched = false;  // false for an empty or blank text: nothing to show
  std::vector<ClientMatch> matches;  // at most kMaxMatches, best first
  std::size_t total = 0;             // every client that matches
  std::size_t more() const { return total - matches.size(); }
};

// The clients of the index that match text (windows-1252, any bytes, any
// length; blanks around it do not count): callsign and name compared
// regardless of letter case, the member id when the text is all digits.
// Each client is counted once, at its best rank; within a rank the order of
// the stored copy stays. Reads only the index, never the copy.
ClientSearch searchclients(const ClientIndex& index, std::string_view text);

// "PIL>", "ATC>", "OBS>" or "CLI>" (a line whose type was not found).
std::string_view kindmark(ClientKind kind);

// One match as the field lists it, in the style of the side lists:
// "callsign KIND> name", and " (no position)" when there is nothing to fly to.
std::string searchrow(const ClientEntry& client);

// The line under the matches: "no match", "N more", or empty when every
// match is listed or nothing was searched.
std::string searchfooter(const ClientSearch& search);

}  // namespace netglobe

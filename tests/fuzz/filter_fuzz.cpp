// The globe filter over a stored copy and the friends said to come online
// between two copies: a query reads into as many terms and problems as it
// has words; the filtered copy parses to exactly the lines kept, each of
// which matches again; keeping every line parses as the whole copy does;
// and only friends are ever said to come online, each once.
#include <cstdint>
#include <string>
#include <vector>

#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/client_filter.h"
#include "lists/friends_online.h"

namespace {

using namespace netglobe;

std::size_t kept(const std::vector<std::uint8_t>& flags) {
  std::size_t n = 0;
  for (const std::uint8_t f : flags) n += f;
  return n;
}

void checkquery(std::string_view text, const FilterQuery& q) {
  std::size_t words = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool blank = text[i] == ' ' || text[i] == '\t';
    const bool before = i > 0 && !(text[i - 1] == ' ' || text[i - 1] == '\t');
    if (!blank && !before) ++words;
  }
  FUZZ_CHECK(q.terms.size() + q.problems.size() == words);
  FUZZ_CHECK(q.empty() == (words == 0));
  FUZZ_CHECK(q.text.find("  ") == std::string::npos && q.text.find('\t') == std::string::npos);
  FUZZ_CHECK(!q.text.starts_with(' ') && !q.text.ends_with(' '));
}

}  // namespace

// Input: the stored copy, "====", the query, "====", friend ids one a line,
// "====", the next copy.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> input = fuzz::parts(fuzz::text(data, size), 4);
  // One line of the field: a line feed ends what is typed.
  const std::string_view typed = input[1].substr(0, input[1].find('\n'));
  const FilterQuery query = parsefilter(typed);
  checkquery(typed, query);

  const FilterIndex index{LineReader::fromtext(input[0])};
  StatusLists whole;
  what2array(LineReader::fromtext(input[0]), whole);
  FUZZ_CHECK(index.size() == std::size_t(whole.clicount));

  const std::vector<std::uint8_t> flags = index.match(query);
  FUZZ_CHECK(flags.size() == index.size());
  const std::string copy = index.filteredcopy(flags);
  StatusLists filtered;
  what2array(LineReader::fromtext(copy), filtered);
  FUZZ_CHECK(std::size_t(filtered.clicount) == kept(flags));
  FUZZ_CHECK(filtered.pilcount <= whole.pilcount && filtered.appcount <= whole.appcount);
  const FilterIndex again{LineReader::fromtext(copy)};
  FUZZ_CHECK(kept(again.match(query)) == again.size());

  StatusLists everything;
  what2array(LineReader::fromtext(index.filteredcopy(std::vector<std::uint8_t>(index.size(), 1))), everything);
  FUZZ_CHECK(everything.clicount == whole.clicount && everything.pilcount == whole.pilcount &&
             everything.ctrcount == whole.ctrcount && everything.twrcount == whole.twrcount &&
             everything.appcount == whole.appcount);

  std::vector<std::string> ids;
  for (std::string_view rest = input[2]; !rest.empty();) {
    const std::size_t end = rest.find('\n');
    if (!rest.substr(0, end).empty()) ids.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const FriendIds friends(ids);
  FriendsOnline online;
  const FriendNews first = online.seen(LineReader::fromtext(input[0]), friends);
  FUZZ_CHECK(!first.statusline.empty() && first.notices.size() <= 1);
  const FriendNews next = online.seen(LineReader::fromtext(input[3]), friends);
  FUZZ_CHECK(next.notices.size() <= ids.size());
  for (const std::string& notice : next.notices) FUZZ_CHECK(notice.ends_with(" is online"));
  FUZZ_CHECK(next.statusline.empty() == next.notices.empty());
  return 0;
}

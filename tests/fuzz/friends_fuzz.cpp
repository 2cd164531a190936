// friends.txt as the user's circle of friends is read from it.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "base/line_reader.h"
#include "fuzz_checks.h"
#include "refdata/friends_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace netglobe;
  LineReader file = LineReader::fromtext(fuzz::text(data, size));
  std::vector<std::string> lines;
  std::string line;
  while (file.next(line)) lines.push_back(line);
  std::vector<std::string> notes;
  const FriendIds ids = parsefriends(lines, notes);
  // An id is a member id: digits only, and it is what the lists compare.
  for (const std::string& id : ids.ids()) {
    FUZZ_CHECK(!id.empty());
    FUZZ_CHECK(std::all_of(id.begin(), id.end(),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }));
    FUZZ_CHECK(ids.contains(id));
  }
  // Each line gives at most one id or one note, and every note names its line.
  FUZZ_CHECK(ids.ids().size() + notes.size() <= lines.size());
  for (const std::string& note : notes) {
    FUZZ_CHECK(note.starts_with("friends.txt line "));
    FUZZ_CHECK(note.ends_with("\" is not a member id; skipped"));
  }
  return 0;
}

// An answer of the status server as the download reads it: told apart by
// its content, a JSON document of either layout converted into the text
// layout, and that text read by the parse and the side lists.
#include <algorithm>
#include <cstdint>
#include <string>

#include "base/text_encoding.h"
#include "feed/json_status.h"
#include "feed/status_answer.h"
#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/side_lists.h"

namespace {

using namespace netglobe;

// Seven header lines ending in the client marker, records of exactly 41
// positions one a line, then the marker that ends them.
void checktext(const std::string& text) {
  FUZZ_CHECK(text.starts_with("!GENERAL\n"));
  FUZZ_CHECK(text.ends_with("\n"));
  FUZZ_CHECK(isvalidutf8(text));
  FUZZ_CHECK(text.find('\r') == std::string::npos && text.find('\0') == std::string::npos);
  std::size_t start = 0;
  for (int line = 1; start < text.size(); ++line) {
    const std::size_t end = text.find('\n', start);
    const std::string_view record(text.data() + start, end - start);
    if (line == 4) FUZZ_CHECK(record.size() == 9 + 14 && record.starts_with("UPDATE = "));
    if (line == 7) FUZZ_CHECK(record == "!CLIENTS");
    if (line > 7 && end + 1 == text.size()) {
      FUZZ_CHECK(record == "!SERVERS");
    } else if (line > 7) {
      FUZZ_CHECK(std::count(record.begin(), record.end(), ':') == 40);
      FUZZ_CHECK(!record.starts_with('!') && !record.starts_with(':'));
    }
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FetchResult answer;
  answer.ok = true;
  answer.body.assign(fuzz::text(data, size));
  const std::string input = answer.body;
  readanswer(answer);
  if (!answer.ok) {
    FUZZ_CHECK(!answer.failure.empty() && answer.body.empty());
    return 0;
  }
  if (!looksjson(input)) {
    FUZZ_CHECK(answer.body == input && hasclientsection(input));
    return 0;
  }
  checktext(answer.body);
  // Without its closing brace the document is cut short: never read.
  std::string cut = input.substr(0, input.find_last_of('}'));
  FUZZ_CHECK(!readjsonstatus(cut).ok);

  static StatusLists lists;  // reused, as the program's are
  const std::string copy = tocp1252(answer.body);
  what2array(LineReader::fromtext(copy), lists);
  FUZZ_CHECK(lists.clicount == static_cast<int>(std::count(copy.begin(), copy.end(), '\n')) - 8);
  const ObsLists obs = getobs(LineReader::fromtext(copy));
  FUZZ_CHECK(obs.listbox1.readable() && obs.listbox2.readable());
  return 0;
}

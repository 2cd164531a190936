// The pieces every reader is built from: text conversion, line ends of the
// stored copy, record splitting, leading numbers, the server address, the
// status URL, the validators taken from an answer's header lines.
#include <cmath>
#include <cstdint>
#include <string>

#include "base/fields.h"
#include "base/number_text.h"
#include "base/text_encoding.h"
#include "feed/client_fields.h"
#include "feed/feed_source.h"
#include "feed/server_address.h"
#include "feed/status_copy.h"
#include "feed/validators.h"
#include "fuzz_checks.h"

namespace {

using namespace netglobe;

bool unassignedcp1252(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

void checkencoding(std::string_view input) {
  const std::string utf8 = cp1252toutf8(input);
  FUZZ_CHECK(isvalidutf8(utf8));
  // What the window shows of a record goes back to the same bytes, but for
  // the five bytes windows-1252 leaves unassigned.
  std::string assigned(input);
  for (char& c : assigned) {
    if (unassignedcp1252(c)) c = '?';
  }
  FUZZ_CHECK(tocp1252(cp1252toutf8(assigned)) == assigned);
  const std::string stored = tocp1252(input);
  if (!isvalidutf8(input)) FUZZ_CHECK(stored == input);
  FUZZ_CHECK(stored.size() <= input.size());
}

void checklineends(std::string_view input) {
  const std::string copy = convertlineends(input);
  std::string back;
  for (std::size_t i = 0; i < copy.size(); ++i) {
    if (copy[i] == '\n') {
      FUZZ_CHECK(i > 0 && copy[i - 1] == '\r');
      back.pop_back();
    }
    back += copy[i];
  }
  FUZZ_CHECK(back == input);
}

void checkfields(std::string_view line) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t colon = line.find(':', start);
    pieces.push_back(line.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  FieldBuf buf;
  for (int n = 1; n <= FieldBuf::kPositions; ++n) buf(n) = "left over";
  getfields(line, buf);
  const std::size_t kept = line.empty() ? 0 : std::min<std::size_t>(pieces.size(), 99);
  for (std::size_t n = 1; n <= kept; ++n) FUZZ_CHECK(buf(int(n)) == pieces[n - 1]);
  FUZZ_CHECK(buf(int(kept) + 1).empty());

  const ClientFields client(line);
  for (int n = 1; n <= kLastClientPosition; ++n) {
    const std::size_t i = std::size_t(n) - 1;
    FUZZ_CHECK(client(n) == (!line.empty() && i < pieces.size() ? pieces[i] : std::string_view()));
    // A coordinate read from any field is a finite number.
    FUZZ_CHECK(std::isfinite(leadingnumber(client(n))));
  }

  FieldBuf pair;
  if (getfields2(line, pair)) {
    FUZZ_CHECK(pair(1) + ":" + pair(2) == line);
  } else {
    FUZZ_CHECK(pieces.size() == 1);
  }
}

void checknumber(std::string_view input) {
  const double value = leadingnumber(input);
  FUZZ_CHECK(std::isfinite(value));
  // What numtext shows reads back as a number within its 15 digits.
  const double shown = leadingnumber(numtext(value));
  FUZZ_CHECK(std::isfinite(shown));
  FUZZ_CHECK(std::fabs(shown - value) <= std::fabs(value) * 1e-14);
}

void checkserver(std::string_view input) {
  const auto address = parseserver(std::string(input));
  if (!address) return;
  FUZZ_CHECK(!address->host.empty());
  FUZZ_CHECK(address->port >= 1 && address->port <= 65535);
  // The address as the title and the log show it names the same server.
  const auto again = parseserver(address->text());
  FUZZ_CHECK(again && again->host == address->host && again->port == address->port);
}

void checkurl(std::string_view input) {
  std::string why;
  const auto url = parsestatusurl(std::string(input), why);
  FUZZ_CHECK(url.has_value() == why.empty());
  if (!url) return;
  FUZZ_CHECK(url->starts_with("http://") || url->starts_with("https://"));
  // What is fetched reads back as itself.
  const auto again = parsestatusurl(*url, why);
  FUZZ_CHECK(again && *again == *url);
}

// A validator goes back out in a request header: it must be a clean piece
// of the line it came from.
void checkvalidator(std::string_view line) {
  Validators validators;
  readvalidator(line, validators);
  FUZZ_CHECK(validators.etag.empty() || validators.lastmodified.empty());
  for (const std::string& value : {validators.etag, validators.lastmodified}) {
    if (value.empty()) continue;
    FUZZ_CHECK(value.size() <= 256 && line.find(value) != std::string_view::npos);
    FUZZ_CHECK(value.front() != ' ' && value.back() != ' ' && value.front() != '\t' && value.back() != '\t');
    for (char c : value) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 || c == '\t');
    FUZZ_CHECK(value.find('\x7F') == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::text(data, size);
  checkencoding(input);
  checklineends(input);
  checkfields(input);
  checknumber(input);
  checkserver(input);
  checkurl(input);
  checkvalidator(input);
  return 0;
}

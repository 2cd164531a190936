#include "snapshot.h"

#include <algorithm>
#include <utility>

#include "field_text.h"
#include "json_snapshot.h"

namespace netsim {
namespace {

constexpr std::string_view kFormatVersion = "8";
constexpr std::string_view kReloadMinutes = "1";

std::string joinfields(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) {
    out += f;
    out += ':';
  }
  return out;
}

std::vector<std::string> splitfields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (std::size_t colon; (colon = line.find(':', from)) != std::string::npos; from = colon + 1) {
    fields.push_back(line.substr(from, colon - from));
  }
  if (from < line.size()) fields.push_back(line.substr(from));
  return fields;
}

}  // namespace

std::string malform(const std::string& line, Malformed kind, std::uint64_t variant) {
  std::vector<std::string> fields = splitfields(line);
  if (fields.size() < 4) fields.resize(4);
  switch (kind) {
    case Malformed::TooManyFields: {
      std::string out = line;
      const int extra = 70 + static_cast<int>(variant % 60);
      for (int i = 0; i < extra; ++i) out += "0:";
      return out;
    }
    case Malformed::MissingFields:
      fields.resize(std::min<std::size_t>(fields.size(), 5 + variant % 12));
      return joinfields(fields);
    case Malformed::InvalidUtf8:
      // A lone continuation byte, a cut two-byte sequence and a byte that
      // never occurs in UTF-8.
      fields[2] += variant % 2 ? std::string("\x80\xC3") : std::string("\xC3(\xFF");
      return joinfields(fields);
    case Malformed::HugeLine:
      fields.resize(std::max<std::size_t>(fields.size(), 36));
      fields[35].assign(kHugeLineBytes, 'A' + static_cast<char>(variant % 26));
      return joinfields(fields);
    case Malformed::TypeOutsideWindow:
      if (variant % 2) {
        // A name so long that the type field starts after character 70.
        fields[2] += " " + std::string(70, 'x');
      } else {
        // Callsign, id and name so short that the type field starts before 16.
        fields[0] = fields[0].substr(0, 3);
        fields[1] = "1";
        fields[2] = "X";
      }
      return joinfields(fields);
  }
  return line;
}

std::string snapshot(const Network& network, std::int64_t now, const SnapshotOptions& options) {
  if (options.layout != Layout::Text) return jsonsnapshot(network, now, options);
  const std::vector<Client> clients = network.clients(now);
  const std::string_view eol = options.crlf ? "\r\n" : "\n";
  std::string out;
  out.reserve(clients.size() * 260 + 1024);
  auto addline = [&](std::string_view text) {
    out += text;
    out += eol;
  };
  addline("!GENERAL");
  addline("VERSION = " + std::string(kFormatVersion));
  addline("RELOAD = " + std::string(kReloadMinutes));
  addline("UPDATE = " + timestamp(now));
  addline("ATIS ALLOW MIN = 5");
  addline("CONNECTED CLIENTS = " + std::to_string(clients.size()));
  if (options.markerline8) addline("UNIQUE USERS = " + std::to_string(clients.size()));
  addline("!CLIENTS");
  // The longer layout adds eight fields after the 41 that clients share.
  const std::string_view extrafields = options.markerline8 ? "::::::::" : "";
  bool hugeline = false;  // one is enough to hurt; more would only bloat the body
  for (const Client& c : clients) {
    Rng rng(mixkey(mixkey(network.seed() ^ 0xBADu, static_cast<std::uint64_t>(now)),
                   static_cast<std::uint64_t>(c.slot)));
    if (options.badshare > 0 && rng.unit() < options.badshare) {
      auto kind = static_cast<Malformed>(rng.below(kMalformedKinds));
      if (kind == Malformed::HugeLine && std::exchange(hugeline, true)) {
        kind = Malformed::TypeOutsideWindow;
      }
      addline(malform(c.line(), kind, rng.next()) + std::string(extrafields));
    } else {
      addline(c.line() + std::string(extrafields));
    }
  }
  addline("!SERVERS");
  for (const ServerInfo& s : kServers) {
    addline(std::string(s.ident) + ":" + std::string(s.host) + ":" + std::string(s.location) + ":" +
            std::string(s.name) + ":1:");
  }
  return out;
}

}  // namespace netsim

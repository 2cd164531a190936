#include "options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace netsim {
namespace {

template <typename T>
bool readnumber(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool readshare(const std::string& text, double& value) {
  return readnumber(text, value) && std::isfinite(value) && value >= 0 && value <= 1;
}

}  // namespace

std::string helptext() {
  return R"(Usage: netsim [options]

Simulates an online flight-simulation network and serves its status file
as GET /whazzup.txt over HTTP on 127.0.0.1. When ready it prints
"netsim listening on 127.0.0.1:PORT" on one line. SIGTERM or SIGINT stop it.

The status file comes with an ETag and a Last-Modified time; a request whose
If-None-Match or If-Modified-Since matches the current file is answered
304 Not Modified. It is sent gzip-compressed to clients that ask for that.
GET /redirect/N (N up to 99) redirects N times, the last time to the status
file or to the URL given as the query parameter "to".

Network:
  --port N           listen on port N; 0 (default) takes any free port
  --seed N           the network's seed (default 1); same seed, same network
  --clients N        size of the network: N client places, 0 to 10000
                     (default 600); a few per cent of them are empty at any
                     moment, between one client's logoff and the next logon
  --time EPOCH       fix the network's clock at this unix time (default: the
                     wall clock)
  --time-step S      with --time: each request sees the network S seconds
                     after the one before (0 to 86400; default 0)
  --data DIR         read airports.dat and firs.dat from DIR (default: the
                     folder of this program); built-in sets replace missing files
  --airports FILE    read the airports from FILE instead of DIR/airports.dat
  --firs FILE        read the FIRs from FILE instead of DIR/firs.dat
  --layout L         the format of the status file: text (default), the
                     colon-separated text; a or b, the JSON documents of the
                     two layouts today's networks publish (the same clients)
  --crlf             CR LF line ends (default LF)
  --marker-line8     the longer layout: a seventh header line, the client
                     section marker "!CLIENTS" on line 8, 49 fields a client
  --once             print one status file to standard output and exit

Serving:
  --path PATH        serve the status file at PATH (default /whazzup.txt)
  --tls-cert FILE    serve HTTPS with this PEM certificate (chain) ...
  --tls-key FILE     ... and this PEM private key; both or neither

Faults (shares are 0 to 1, decided per request):
  --fail-share P     answer this share of requests with an HTTP error
  --fail-status N    the status code of those answers (default 503)
  --delay MS         wait MS milliseconds before every answer
  --cut-share P      cut this share of answers off mid-line: fewer bytes
                     than Content-Length declares, then the connection closes
  --drop-share P     close this share of connections without any answer
  --slow-share P     make this share of answers wait --slow-ms more
  --slow-ms MS       the extra wait of those answers (default 25000, past
                     NetGlobe's 20 s request time-out)
  --page-share P     answer this share of requests with status 200 and no
                     status file: an HTML page or, half of the time, nothing
  --bad-lines P      make this share of client lines malformed: over 100
                     fields, missing fields, invalid UTF-8, a line of several
                     megabytes, or the client type outside characters 16..70;
                     in a JSON layout, that share of client entries: a wrong
                     type, a key missing or null, or one string of megabytes
                     (also applies to --once)

  --log FILE         write one line per request to FILE as soon as its
                     answer is decided: the request's number from 0, the
                     answer (ok, cut, fail, drop, page, empty, notmodified),
                     its wait in ms, the UPDATE time and CONNECTED CLIENTS
                     of the status file it carries ("-" when it carries
                     none), and the encodings the request accepted ("-"
                     when none)

  --help             show this text
)";
}

ParsedOptions parseoptions(const std::vector<std::string>& args) {
  Options o;
  ParsedOptions result;
  using Setter = std::function<bool(const std::string&)>;
  const std::map<std::string, Setter> valued = {
      {"--port",
       [&](const std::string& v) {
         return readnumber(v, o.port) && o.port >= 0 && o.port <= 65535;
       }},
      {"--seed", [&](const std::string& v) { return readnumber(v, o.seed); }},
      {"--clients",
       [&](const std::string& v) {
         return readnumber(v, o.clients) && o.clients >= 0 && o.clients <= kMaxClients;
       }},
      {"--time",
       [&](const std::string& v) {
         std::int64_t t = 0;
         if (!readnumber(v, t) || t < 0) return false;
         o.time = t;
         return true;
       }},
      {"--time-step",
       [&](const std::string& v) {
         return readnumber(v, o.timestep) && o.timestep >= 0 && o.timestep <= 86400;
       }},
      {"--data",
       [&](const std::string& v) {
         o.datadir = v;
         return !v.empty();
       }},
      {"--airports",
       [&](const std::string& v) {
         o.airportsfile = v;
         return !v.empty();
       }},
      {"--firs",
       [&](const std::string& v) {
         o.firsfile = v;
         return !v.empty();
       }},
      {"--fail-share", [&](const std::string& v) { return readshare(v, o.faults.failshare); }},
      {"--fail-status",
       [&](const std::string& v) {
         return readnumber(v, o.faults.failstatus) && o.faults.failstatus >= 100 &&
                o.faults.failstatus <= 599;
       }},
      {"--delay",
       [&](const std::string& v) {
         return readnumber(v, o.faults.delayms) && o.faults.delayms >= 0;
       }},
      {"--cut-share", [&](const std::string& v) { return readshare(v, o.faults.cutshare); }},
      {"--drop-share", [&](const std::string& v) { return readshare(v, o.faults.dropshare); }},
      {"--slow-share", [&](const std::string& v) { return readshare(v, o.faults.slowshare); }},
      {"--slow-ms",
       [&](const std::string& v) {
         return readnumber(v, o.faults.slowms) && o.faults.slowms >= 0;
       }},
      {"--page-share", [&](const std::string& v) { return readshare(v, o.faults.pageshare); }},
      {"--log",
       [&](const std::string& v) {
         o.logpath = v;
         return !v.empty();
       }},
      {"--bad-lines", [&](const std::string& v) { return readshare(v, o.snapshot.badshare); }},
      {"--path",
       [&](const std::string& v) {
         o.path = v;
         return !v.empty() && v.front() == '/' && v.find_first_of("?# ") == std::string::npos;
       }},
      {"--layout",
       [&](const std::string& v) {
         const std::map<std::string, Layout> layouts = {
             {"text", Layout::Text}, {"a", Layout::A}, {"b", Layout::B}};
         const auto found = layouts.find(v);
         if (found == layouts.end()) return false;
         o.snapshot.layout = found->second;
         return true;
       }},
      {"--tls-cert",
       [&](const std::string& v) {
         o.tlscert = v;
         return !v.empty();
       }},
      {"--tls-key",
       [&](const std::string& v) {
         o.tlskey = v;
         return !v.empty();
       }},
  };
  const std::map<std::string, bool*> flags = {
      {"--crlf", &o.snapshot.crlf}, {"--marker-line8", &o.snapshot.markerline8}, {"--once", &o.once}, {"--help", &o.help}, {"-h", &o.help}};

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const std::size_t eq = name.find('=');
        name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (const auto flag = flags.find(name); flag != flags.end() && !value) {
      *flag->second = true;
      continue;
    }
    const auto setter = valued.find(name);
    if (setter == valued.end()) {
      result.error = "unknown option " + args[i];
      return result;
    }
    if (!value) {
      if (i + 1 == args.size()) {
        result.error = name + " needs a value";
        return result;
      }
      value = args[++i];
    }
    if (!setter->second(*value)) {
      result.error = "bad value for " + name + ": " + *value;
      return result;
    }
  }
  if (o.tlscert.empty() != o.tlskey.empty()) {
    result.error = "--tls-cert and --tls-key go together";
    return result;
  }
  result.options = o;
  return result;
}

}  // namespace netsim

#include "shell/options.h"

#include "refdata/home_file.h"

#include <charconv>
#include <fstream>

namespace netglobe {

namespace {

bool readseconds(const std::string& text, int& seconds) {
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(text.data(), end, seconds);
  return ec == std::errc() && rest == end && seconds >= 1 && seconds <= 24 * 3600;
}

bool readable(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  // A folder opens but cannot be read; an empty file holds no CA.
  return file && file.peek() != std::ifstream::traits_type::eof();
}

const char* set(const char* value) { return value && *value ? value : nullptr; }

// The source from the given texts; sets error when they are no good.
std::optional<FeedSource> choosesource(const std::optional<std::string>& servertext,
                                       const std::optional<std::string>& urltext,
                                       const std::optional<std::string>& cafile, std::string& error) {
  if (cafile && !urltext) {
    error = "--cacert needs --url (or NETGLOBE_URL)";
    return std::nullopt;
  }
  if (servertext) {
    std::optional<ServerAddress> server = parseserver(*servertext);
    if (!server) error = "not a status server address (HOST[:PORT]): " + *servertext;
    return server;
  }
  if (!urltext) return std::nullopt;
  std::optional<std::string> url = parsestatusurl(*urltext, error);
  if (!url) return std::nullopt;
  if (cafile && !readable(*cafile)) {
    error = "cannot read the CA file: " + *cafile;
    return std::nullopt;
  }
  return FeedSource::fromurl(*url, cafile.value_or(""));
}

}  // namespace

std::string usagetext() {
  return "Usage: netglobe [--server HOST[:PORT] | --url URL [--cacert FILE]]\n"
         "                [--folder DIR] [--refresh SECONDS] [--history HOURS] [--quiet]\n"
         "                [--home ICAO[,ICAO...]]\n"
         "Shows the live state of a flight-simulation network on a 3D globe.\n"
         "\n"
         "  --server HOST[:PORT]  status server to fetch /whazzup.txt from over plain\n"
         "                        HTTP (port 80 if not given)\n"
         "  --url URL             fetch the status file from this http:// or https://\n"
         "                        URL (certificates verified, compressed, conditional\n"
         "                        requests, up to 5 redirects, never https to http)\n"
         "  --cacert FILE         trust the CA certificates in FILE (PEM) for --url,\n"
         "                        beside the system's\n"
         "  --folder DIR          the program's folder: it writes its files there and\n"
         "                        reads the reference data from there. Default: the\n"
         "                        executable's folder when it holds the reference data\n"
         "                        and can be written, else $XDG_DATA_HOME/netglobe\n"
         "                        (~/.local/share/netglobe); reference files missing\n"
         "                        there are read from ../share/netglobe beside the\n"
         "                        executable\n"
         "  --refresh SECONDS     seconds between two downloads of the status file\n"
         "                        (default 30, at least 1)\n"
         "  --history HOURS       keep every refresh this many hours in the folder's\n"
         "                        history/ store, for replay and trails (default 24,\n"
         "                        fractions allowed; 0 keeps none and leaves the\n"
         "                        store alone)\n"
         "  --quiet               no desktop notifications when friends come online\n"
         "                        (the status line still says it)\n"
         "  --home ICAO[,ICAO...]  the aerodromes of the inbound and outbound lists for\n"
         "                        this run, in place of those of home.txt\n"
         "  --help                show this text and exit\n"
         "  --version             show the version and exit\n"
         "\n"
         "--server and --url override the NETGLOBE_SERVER and NETGLOBE_URL variables,\n"
         "which take the same forms; without any of them, the built-in demo network is\n"
         "used.\n"
         "\n"
         "Keys (typed into the window):\n"
         "  q a w s e d   fly to North America, South America, Europe, Africa, Asia,\n"
         "                Australia\n"
         "  space         Europe in a small window in the top left corner\n"
         "  + \xC3\xBC \xC2\xB4         close view of Germany, view of central Europe, the\n"
         "                start view\n"
         "  '  #          store the view, go back to the stored view\n"
         "  y  x          textured globe, plain globe with a 10-degree grid\n"
         "  1 to 5        pilot label contents; n  m  station / pilot labels on and off\n"
         "  c             fill of the staffed FIRs on and off\n"
         "  p             larger aircraft and approach symbols on and off\n"
         "  g             zoom in as after the start\n"
         "  o f i \xC3\xA4 -     side lists on and off; Backspace shows all, Esc hides all\n"
         "  t             trails of the pilots over the last 30 minutes on and off\n"
         "  , .  l        replay: one kept refresh back, one forward, back to live\n"
         "  Ctrl+F  /     find a client by callsign, member id or name: Return or a\n"
         "                click flies to it and follows a pilot; Esc closes the field\n"
         "                Ctrl+Return (or the Filter toggle) draws only the clients\n"
         "                that match: words such as to:EGLL from:ED type:A32\n"
         "                above:FL300 below:10000 atc pilot; Esc ends the filter\n"
         "Mouse: left button drag turns and tilts, right button drag up and down or\n"
         "the wheel zooms; whatever lies under the cursor is named at the top left\n"
         "(double-click for the full list). A double-click on a side-list row flies\n"
         "to its client. A click on a pilot, an approach or a tower station opens its\n"
         "details at the bottom left; Esc or its button closes them.\n";
}

OptionsResult parseoptions(const std::vector<std::string>& args, const char* serverenv,
                           const char* urlenv) {
  OptionsResult result;
  Options& o = result.options;
  std::optional<std::string> servertext;
  std::optional<std::string> urltext;
  std::optional<std::string> cafile;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&](const std::string& name) -> std::optional<std::string> {
      if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
      if (arg == name && i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--quiet") {
      o.quiet = true;
    } else if (arg.rfind("--server", 0) == 0) {
      auto v = value("--server");
      if (!v) return {o, "--server needs HOST[:PORT]"};
      servertext = *v;
    } else if (arg.rfind("--url", 0) == 0) {
      auto v = value("--url");
      if (!v) return {o, "--url needs a URL"};
      urltext = *v;
    } else if (arg.rfind("--cacert", 0) == 0) {
      auto v = value("--cacert");
      if (!v || v->empty()) return {o, "--cacert needs a file"};
      cafile = *v;
    } else if (arg.rfind("--folder", 0) == 0) {
      auto v = value("--folder");
      if (!v || v->empty()) return {o, "--folder needs a directory"};
      o.folder = *v;
    } else if (arg.rfind("--refresh", 0) == 0) {
      auto v = value("--refresh");
      int seconds = 0;
      if (!v || !readseconds(*v, seconds)) return {o, "--refresh needs a whole number of seconds, at least 1"};
      o.refreshseconds = seconds;
    } else if (arg.rfind("--history", 0) == 0) {
      auto v = value("--history");
      const std::optional<HistoryRetention> hours = v ? parsehistoryhours(*v) : std::nullopt;
      if (!hours) return {o, kHistoryOptionError};
      o.history = *hours;
    } else if (arg.rfind("--home", 0) == 0) {
      auto v = value("--home");
      std::vector<std::string> codes;
      std::string bad;
      if (!v || !homecodes(*v, codes, bad) || codes.empty()) {
        return {o, "--home needs aerodrome codes of four letters or digits, such as EDDF,EDDM" +
                       (bad.empty() ? std::string() : " (not a code: \"" + bad + "\")")};
      }
      o.homeairports = std::move(codes);
    } else {
      return {o, "unknown option: " + arg};
    }
  }
  if (servertext && urltext) return {o, "--server and --url cannot be used together"};
  if (!servertext && !urltext) {
    if (set(serverenv) && set(urlenv)) {
      return {o, "NETGLOBE_SERVER and NETGLOBE_URL are both set; unset one or give --server or --url"};
    }
    if (set(serverenv)) servertext = serverenv;
    if (set(urlenv)) urltext = urlenv;
  }
  std::string error;
  o.source = choosesource(servertext, urltext, cafile, error);
  if (!error.empty()) return {o, error};
  return result;
}

}  // namespace netglobe

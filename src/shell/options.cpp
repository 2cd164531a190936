#include "shell/options.h"

#include <charconv>

namespace netglobe {

namespace {

bool readseconds(const std::string& text, int& seconds) {
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(text.data(), end, seconds);
  return ec == std::errc() && rest == end && seconds >= 1 && seconds <= 24 * 3600;
}

}  // namespace

std::string usagetext() {
  return "Usage: netglobe [--server HOST[:PORT]] [--folder DIR] [--refresh SECONDS]\n"
         "                [--history HOURS]\n"
         "Shows the live state of a flight-simulation network on a 3D globe.\n"
         "\n"
         "  --server HOST[:PORT]  status server to fetch /whazzup.txt from (port 80 if\n"
         "                        not given); overrides the NETGLOBE_SERVER variable.\n"
         "                        Without either, the built-in demo network is used.\n"
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
         "  --help                show this text and exit\n"
         "  --version             show the version and exit\n"
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
         "Mouse: left button drag turns and tilts, right button drag up and down or\n"
         "the wheel zooms; whatever lies under the cursor is named at the top left\n"
         "(double-click for the full list). A double-click on a side-list row flies\n"
         "to its client.\n";
}

OptionsResult parseoptions(const std::vector<std::string>& args, const char* serverenv) {
  OptionsResult result;
  Options& o = result.options;
  std::optional<std::string> servertext;
  if (serverenv && *serverenv) servertext = serverenv;

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
    } else if (arg.rfind("--server", 0) == 0) {
      auto v = value("--server");
      if (!v) return {o, "--server needs HOST[:PORT]"};
      servertext = *v;
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
    } else {
      return {o, "unknown option: " + arg};
    }
  }
  if (servertext) {
    o.server = parseserver(*servertext);
    if (!o.server) return {o, "not a status server address (HOST[:PORT]): " + *servertext};
  }
  return result;
}

}  // namespace netglobe

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
         "Shows the live state of a flight-simulation network on a 3D globe.\n"
         "\n"
         "  --server HOST[:PORT]  status server to fetch /whazzup.txt from (port 80 if\n"
         "                        not given); overrides the NETGLOBE_SERVER variable.\n"
         "                        Without either, the built-in demo network is used.\n"
         "  --folder DIR          folder with the reference data and the files the\n"
         "                        program writes (default: the executable's folder)\n"
         "  --refresh SECONDS     seconds between two downloads of the status file\n"
         "                        (default 30, at least 1)\n"
         "  --help                show this text and exit\n"
         "  --version             show the version and exit\n";
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

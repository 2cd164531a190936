#include "shell/options.h"

namespace netglobe {

std::string usagetext() {
  return "Usage: netglobe [--server HOST[:PORT]] [--folder DIR]\n"
         "Shows the live state of a flight-simulation network on a 3D globe.\n"
         "\n"
         "  --server HOST[:PORT]  status server to fetch /whazzup.txt from (port 80 if\n"
         "                        not given); overrides the NETGLOBE_SERVER variable.\n"
         "                        Without either, the built-in demo network is used.\n"
         "  --folder DIR          folder with the reference data and the files the\n"
         "                        program writes (default: the executable's folder)\n"
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

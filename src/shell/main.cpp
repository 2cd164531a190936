#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "base/program_folders.h"
#include "feed/http_fetch.h"
#include "render/gl_probe.h"
#include "shell/demo_network.h"
#include "shell/display_check.h"
#include "shell/fatal.h"
#include "shell/options.h"
#include "shell/quit_on_signal.h"
#include "shell/stage.h"

int main(int argc, char** argv) {
  using namespace netglobe;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const OptionsResult parsed = parseoptions(args, std::getenv(kServerEnvVar), std::getenv(kUrlEnvVar));
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "netglobe: %s\n\n%s", parsed.error.c_str(), usagetext().c_str());
    return 2;
  }
  FolderInputs place;
  place.folderoption = parsed.options.folder;
  place.exefolder = executablefolder();
  place.exefolderwritable = canwrite(place.exefolder);
  if (const char* value = std::getenv("XDG_DATA_HOME")) place.xdgdatahome = value;
  if (const char* value = std::getenv("HOME")) place.home = value;
  const ProgramFolders folders = chooseprogramfolders(place);
  if (parsed.options.help) {
    std::fputs(usagetext().c_str(), stdout);
    std::printf("\nThis run: %s\n", describefolders(folders).c_str());
    return 0;
  }
  if (parsed.options.version) {
    std::printf("%s %s\n", kProductTitle, NETGLOBE_VERSION);
    return 0;
  }
  // Before Qt or anything else starts a thread.
  initfetching();

  if (const std::string why = checkdisplay(); !why.empty()) {
    std::fprintf(stderr, "netglobe: %s\n", why.c_str());
    return 1;
  }
  requestsurfaceformat();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kProductTitle));

  if (folders.folder.empty()) {
    std::fprintf(stderr, "netglobe: %s\n", folders.error.c_str());
    return 2;
  }
  const QString folder = QString::fromStdString(folders.folder);
  // The per-user folder is made at the first start; one named with --folder
  // must exist.
  if (folders.kind == FolderKind::PerUser && !QDir().mkpath(folder)) {
    std::fprintf(stderr, "netglobe: cannot create the folder %s\n", folders.folder.c_str());
    return 2;
  }
  if (!QDir(folder).exists()) {
    std::fprintf(stderr, "netglobe: folder does not exist: %s\n", folders.folder.c_str());
    return 2;
  }
  std::fprintf(stderr, "netglobe: %s\n", describefolders(folders).c_str());

  // The GL driver loads while the window is built.
  std::future<std::string> glproblem = std::async(std::launch::async, probeglcontext);

  // Without a configured server the demo network beside the program is the
  // status server.
  std::optional<FeedSource> source = parsed.options.source;
  DemoNetwork demo;
  if (!source) {
    std::string error;
    if (const std::optional<ServerAddress> server = demo.start(place.exefolder, folders.files, error)) {
      std::fprintf(stderr, "netglobe: no status server configured; using the built-in demo network at %s\n",
                   server->text().c_str());
      source = *server;
    } else {
      std::fprintf(stderr, "netglobe: %s\n", error.c_str());
    }
  }
  quitonsignals();

  Stage stage(source, folders, parsed.options.refreshseconds, parsed.options.history);
  stage.setquiet(parsed.options.quiet);
  if (parsed.options.homeairports) stage.sethomeairports(*parsed.options.homeairports);
  stage.checkglfirst(std::move(glproblem));
  stage.show();
  return app.exec();
}

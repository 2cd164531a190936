#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

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
  const OptionsResult parsed = parseoptions(args, std::getenv(kServerEnvVar));
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "netglobe: %s\n\n%s", parsed.error.c_str(), usagetext().c_str());
    return 2;
  }
  if (parsed.options.help) {
    std::fputs(usagetext().c_str(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::printf("%s %s\n", kProductTitle, NETGLOBE_VERSION);
    return 0;
  }

  if (const std::string why = checkdisplay(); !why.empty()) {
    std::fprintf(stderr, "netglobe: %s\n", why.c_str());
    return 1;
  }
  requestsurfaceformat();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kProductTitle));

  std::string folder = parsed.options.folder;
  if (folder.empty()) folder = QCoreApplication::applicationDirPath().toStdString();
  if (!QDir(QString::fromStdString(folder)).exists()) {
    std::fprintf(stderr, "netglobe: folder does not exist: %s\n", folder.c_str());
    return 2;
  }

  const std::string glproblem = probeglcontext();
  if (!glproblem.empty()) failnocontext(glproblem);

  // Without a configured server the demo network beside the program is the
  // status server.
  std::optional<ServerAddress> server = parsed.options.server;
  DemoNetwork demo;
  if (!server) {
    std::string error;
    server = demo.start(QCoreApplication::applicationDirPath().toStdString(), folder, error);
    if (server) {
      std::fprintf(stderr, "netglobe: no status server configured; using the built-in demo network at %s\n",
                   server->text().c_str());
    } else {
      std::fprintf(stderr, "netglobe: %s\n", error.c_str());
    }
  }
  quitonsignals();

  Stage stage(server, folder, parsed.options.refreshseconds);
  stage.show();
  return app.exec();
}

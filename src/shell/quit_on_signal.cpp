#include "shell/quit_on_signal.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

namespace netglobe {
namespace {

int signalpipe[2] = {-1, -1};

void onsignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalpipe[0], &byte, 1);
}

}  // namespace

void quitonsignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalpipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalpipe[1], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [notifier] {
    notifier->setEnabled(false);
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(signalpipe[1], &byte, 1);
    // Closing the windows runs their shutdown; the last one ends the loop.
    QApplication::closeAllWindows();
    QApplication::quit();
  });
  struct sigaction action = {};
  action.sa_handler = onsignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace netglobe

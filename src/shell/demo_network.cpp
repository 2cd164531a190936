#include "shell/demo_network.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>

namespace netglobe {
namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr const char* kReadinessPrefix = "netsim listening on 127.0.0.1:";

}  // namespace

int readinessport(const std::string& line) {
  const std::string prefix = kReadinessPrefix;
  if (line.rfind(prefix, 0) != 0) return 0;
  std::string digits = line.substr(prefix.size());
  while (!digits.empty() && (digits.back() == '\n' || digits.back() == '\r')) digits.pop_back();
  if (digits.empty() || digits.size() > 5) return 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
  }
  const int port = std::stoi(digits);
  return port >= 1 && port <= 65535 ? port : 0;
}

DemoNetwork::~DemoNetwork() { stop(); }

std::optional<ServerAddress> DemoNetwork::start(const std::string& exefolder,
                                                const ReferenceFiles& files, std::string& error) {
  const QString program = QString::fromStdString(exefolder + "/netsim");
  if (!QFileInfo(program).isExecutable()) {
    error = "no demo network: " + program.toStdString() + " not found";
    return std::nullopt;
  }
  const pid_t parent = ::getpid();
  process_.setChildProcessModifier([parent] {
    // Dies with us, even when we are killed; if we are already gone, go too.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
  });
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(program, {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--airports"),
                           QString::fromStdString(files.airports), QStringLiteral("--firs"),
                           QString::fromStdString(files.firs)});
  if (!process_.waitForStarted(kStartTimeoutMs)) {
    error = "no demo network: netsim did not start";
    return std::nullopt;
  }
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < kStartTimeoutMs) {
    if (process_.canReadLine()) {
      const std::string line = process_.readLine().toStdString();
      if (const int port = readinessport(line)) return ServerAddress{"127.0.0.1", port};
      continue;
    }
    if (process_.state() != QProcess::Running) break;
    process_.waitForReadyRead(static_cast<int>(kStartTimeoutMs - clock.elapsed()));
  }
  error = "no demo network: netsim did not answer";
  stop();
  return std::nullopt;
}

void DemoNetwork::stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(2000)) {
    process_.kill();
    process_.waitForFinished(2000);
  }
}

}  // namespace netglobe

// netsim over loopback HTTP, fetched with NetGlobe's own client, faults
// included; and the netsim program as NetGlobe starts it.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <thread>

#include "feed/feed_refresh.h"
#include "feed/status_answer.h"
#include "feed/http_fetch.h"
#include "feed/status_copy.h"
#include "field_text.h"
#include "options.h"
#include "sim_server.h"
#include "snapshot.h"
#include "temp_folder.h"
#include "world.h"

namespace netsim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int64_t kTime = 1765100000;

// A netsim server on a free loopback port, serving on its own thread.
class Running {
 public:
  explicit Running(Faults faults = {}, double badshare = 0, int clients = 200,
                   AnswerLog* log = nullptr)
      : network_(builtinworld(), 21, clients),
        server_(network_, {SnapshotOptions{false, badshare}, faults, kTime, log}) {
    port_ = server_.bind(0);
    thread_ = std::thread([this] { server_.run(); });
  }
  ~Running() {
    server_.stop();
    thread_.join();
  }
  netglobe::ServerAddress address() const { return {"127.0.0.1", port_}; }
  netglobe::FetchResult fetch() const { return netglobe::fetchstatus({address()}); }
  const Network& network() const { return network_; }
  SimServer& server() { return server_; }
  int port() const { return port_; }

 private:
  Network network_;
  SimServer server_;
  int port_ = -1;
  std::thread thread_;
};

struct TitleHost : netglobe::FeedHost {
  std::string title;
  void settitle(const std::string& t) override { title = t; }
};

// One whole refresh of NetGlobe against the server.
netglobe::FeedState refresh(const Running& sim, TitleHost& host, netglobe::TempFolder& folder) {
  netglobe::FeedState state;
  state.folder = folder.path();
  state.source = sim.address();
  netglobe::getwhazz(state, host);
  return state;
}

TEST(NetsimServer, ServesTheStatusFileOfItsClock) {
  Running sim;
  ASSERT_GT(sim.port(), 0);
  const netglobe::FetchResult got = sim.fetch();
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(got.body, snapshot(sim.network(), kTime));

  netglobe::TempFolder folder;
  TitleHost host;
  const netglobe::FeedState state = refresh(sim, host, folder);
  EXPECT_EQ(state.lastfailure, "");
  const std::string connected = std::to_string(sim.network().clients(kTime).size());
  EXPECT_EQ(std::to_string(state.lists.clicount), connected);
  EXPECT_NE(host.title.find(" CLI=" + connected + " "), std::string::npos) << host.title;
  EXPECT_EQ(sim.server().requests(), 2u);
}

TEST(NetsimServer, ATakenPortIsRefusedNotShared) {
  Running first;
  const Network net(builtinworld(), 1, 10);
  SimServer second(net, {});
  EXPECT_EQ(second.bind(first.port()), -1);
}

TEST(NetsimServer, FailShareAnswersWithItsStatus) {
  Running always({.failshare = 1, .failstatus = 503});
  const netglobe::FetchResult got = always.fetch();
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.failure, "HTTP 503");

  Running half({.failshare = 0.5, .failstatus = 500});
  int failed = 0;
  for (int i = 0; i < 20; ++i) {
    const netglobe::FetchResult r = half.fetch();
    if (!r.ok) {
      EXPECT_EQ(r.failure, "HTTP 500");
      ++failed;
    }
  }
  EXPECT_GT(failed, 2);
  EXPECT_LT(failed, 18);
}

TEST(NetsimServer, DelayIsObservedAndStopDoesNotWaitForIt) {
  {
    Running slow({.delayms = 300});
    const auto start = Clock::now();
    const netglobe::FetchResult got = slow.fetch();
    EXPECT_TRUE(got.ok) << got.failure;
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
  }
  auto sim = std::make_unique<Running>(Faults{.delayms = 60000});
  auto pending = std::async(std::launch::async, [&] { return sim->fetch(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto start = Clock::now();
  sim.reset();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  pending.get();  // whatever it got, it got it now
}

// Everything the server sends on one connection for one GET, until it closes.
std::string rawget(int port) {
  const int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string got;
  if (connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    const std::string request = "GET /whazzup.txt HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    if (send(sock, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
      char buf[65536];
      for (ssize_t n; (n = recv(sock, buf, sizeof buf, 0)) > 0;)
        got.append(buf, static_cast<std::size_t>(n));
    }
  }
  close(sock);
  return got;
}

TEST(NetsimServer, CutAnswerDeclaresMoreThanItSendsAndEndsMidLine) {
  Running sim({.cutshare = 1});
  const netglobe::FetchResult got = sim.fetch();
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.failure, "answer cut off");

  const std::string raw = rawget(sim.port());
  const std::size_t headend = raw.find("\r\n\r\n");
  ASSERT_NE(headend, std::string::npos) << raw;
  const std::size_t lengthat = raw.find("Content-Length: ");
  ASSERT_LT(lengthat, headend);
  const std::string body = raw.substr(headend + 4);
  const std::string full = snapshot(sim.network(), kTime);
  EXPECT_EQ(std::stoul(raw.substr(lengthat + 16)), full.size());
  EXPECT_GT(body.size(), full.size() / 3);
  EXPECT_LT(body.size(), full.size());
  EXPECT_EQ(full.compare(0, body.size(), body), 0);
  EXPECT_NE(body.back(), '\n');

  // NetGlobe reports the failure and takes nothing of the cut text.
  netglobe::TempFolder folder;
  TitleHost host;
  const netglobe::FeedState state = refresh(sim, host, folder);
  EXPECT_EQ(state.lastfailure, "answer cut off");
  EXPECT_EQ(state.feedtext, "");
  EXPECT_NE(host.title.find("update failed"), std::string::npos);
}

TEST(NetsimServer, DroppedConnectionGetsNoAnswerAtAll) {
  Running sim({.dropshare = 1});
  for (int i = 0; i < 3; ++i) {
    const netglobe::FetchResult got = sim.fetch();
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.failure, "no answer");
  }
  EXPECT_EQ(rawget(sim.port()), "");  // not a byte, the status line included
  Running some({.dropshare = 0.5});
  int dropped = 0;
  for (int i = 0; i < 20; ++i) dropped += !some.fetch().ok;
  EXPECT_GT(dropped, 2);
  EXPECT_LT(dropped, 18);
}

// The answer log tells a test driving NetGlobe what each request met: every
// line must match what the client saw, in request order.
TEST(NetsimServer, AnswerLogNamesWhatEachRequestMet) {
  netglobe::TempFolder folder;
  const std::string logpath = folder.path() + "/answers.log";
  AnswerLog log(logpath);
  ASSERT_TRUE(log.isopen());
  Running sim({.failshare = 0.15, .cutshare = 0.15, .dropshare = 0.15, .slowshare = 0.15,
               .slowms = 250, .pageshare = 0.2},
              0, 200, &log);
  struct Seen {
    netglobe::FetchResult result;
    Clock::duration took;
  };
  std::vector<Seen> seen;
  for (int i = 0; i < 40; ++i) {
    const auto start = Clock::now();
    netglobe::FetchResult result = sim.fetch();
    seen.push_back({std::move(result), Clock::now() - start});
  }

  const std::string update = timestamp(kTime);
  const std::string clients = std::to_string(sim.network().clients(kTime).size());
  std::ifstream in(logpath);
  std::map<std::string, int> kinds;
  int slow = 0;
  std::string line;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    ASSERT_TRUE(std::getline(in, line)) << "no line for request " << i;
    std::istringstream fields(line);
    std::uint64_t n = 0;
    std::string kind, stamp, count;
    int waitms = -1;
    fields >> n >> kind >> waitms >> stamp >> count;
    EXPECT_EQ(n, i) << line;
    ++kinds[kind];
    const netglobe::FetchResult& got = seen[i].result;
    const bool carriesfile = kind == "ok" || kind == "cut";
    EXPECT_EQ(stamp, carriesfile ? update : "-") << line;
    EXPECT_EQ(count, carriesfile ? clients : "-") << line;
    if (kind == "ok") {
      EXPECT_TRUE(got.ok && got.body == snapshot(sim.network(), kTime)) << line;
    } else if (kind == "page" || kind == "empty") {
      EXPECT_TRUE(got.ok) << line;
      EXPECT_FALSE(netglobe::hasclientsection(got.body)) << line << ": " << got.body;
      EXPECT_EQ(got.body.empty(), kind == "empty") << line;
    } else {
      const std::map<std::string, std::string> reasons = {
          {"cut", "answer cut off"}, {"fail", "HTTP 503"}, {"drop", "no answer"}};
      ASSERT_TRUE(reasons.contains(kind)) << line;
      EXPECT_EQ(got.failure, reasons.at(kind)) << line;
    }
    if (waitms == 250) {
      ++slow;
      EXPECT_GE(seen[i].took, std::chrono::milliseconds(250)) << line;
    } else {
      EXPECT_EQ(waitms, 0) << line;
    }
  }
  EXPECT_FALSE(std::getline(in, line)) << "one line too many: " << line;
  for (const char* kind : {"ok", "cut", "fail", "drop", "page", "empty"})
    EXPECT_GT(kinds[kind], 0) << kind;
  EXPECT_GT(slow, 0);
}

// As a cache in front of a real server: validators, 304 while the file is
// the same, gzip for a client that asks, redirects that lead to the file.
TEST(NetsimServer, AnswersConditionalRequestsCompressesAndRedirects) {
  netglobe::TempFolder folder;
  AnswerLog log(folder.path() + "/answers.log");
  Running sim({}, 0, 200, &log);
  const std::string url = "http://127.0.0.1:" + std::to_string(sim.port());
  const auto get = [&](const std::string& path, netglobe::Validators validators = {}) {
    return netglobe::fetchstatus(
        netglobe::FetchRequest(netglobe::FeedSource::fromurl(url + path), std::move(validators)));
  };
  const netglobe::FetchResult first = get("/whazzup.txt");
  ASSERT_TRUE(first.ok) << first.failure;
  EXPECT_EQ(first.body, snapshot(sim.network(), kTime));
  EXPECT_EQ(first.validators.lastmodified, "Sun, 07 Dec 2025 09:33:20 GMT");  // kTime
  ASSERT_NE(first.validators.etag, "");

  EXPECT_TRUE(get("/whazzup.txt", first.validators).notmodified);
  EXPECT_TRUE(get("/whazzup.txt", {"", first.validators.lastmodified}).notmodified);
  EXPECT_TRUE(get("/whazzup.txt", {first.validators.etag, ""}).notmodified);
  // If-None-Match decides alone when it is there.
  EXPECT_FALSE(get("/whazzup.txt", {"\"older\"", first.validators.lastmodified}).notmodified);
  EXPECT_FALSE(get("/whazzup.txt", {"", "Sun, 07 Dec 2025 09:33:19 GMT"}).notmodified);
  const netglobe::FetchResult redirected = get("/redirect/3");
  EXPECT_EQ(redirected.body, first.body) << redirected.failure;

  std::ifstream in(folder.path() + "/answers.log");
  const std::string carried = " 0 " + timestamp(kTime) + " " + std::to_string(sim.network().clients(kTime).size());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"0 ok" + carried + " gzip,deflate",
                                             "1 notmodified 0 - - gzip,deflate",
                                             "2 notmodified 0 - - gzip,deflate",
                                             "3 notmodified 0 - - gzip,deflate",
                                             "4 ok" + carried + " gzip,deflate",
                                             "5 ok" + carried + " gzip,deflate",
                                             "6 ok" + carried + " gzip,deflate"}));
}

TEST(NetsimServer, MalformedLinesReachTheParserWhichSurvivesThem) {
  Running sim({}, 0.3, 300);
  netglobe::TempFolder folder;
  TitleHost host;
  const netglobe::FeedState state = refresh(sim, host, folder);
  EXPECT_EQ(state.lastfailure, "");
  EXPECT_EQ(state.lists.clicount, static_cast<int>(sim.network().clients(kTime).size()));
  EXPECT_GT(state.feedtext.size(), kHugeLineBytes);
}

TEST(NetsimOptions, ReadsEveryOptionAndRejectsBadValues) {
  const ParsedOptions p = parseoptions(
      {"--port",  "8080", "--seed=42",   "--clients", "10000",        "--time", "1765100000",
       "--data",  "/tmp", "--crlf",      "--once",    "--fail-share", "0.25",   "--fail-status=502",
       "--delay", "150",  "--cut-share", "0.1",       "--drop-share", "1",      "--bad-lines",
       "0.05",    "--airports=/a/b.dat", "--firs", "c.dat", "--slow-share", "0.02",
       "--slow-ms", "30000", "--page-share", "0.5", "--log", "/tmp/answers.log",
       "--path", "/feeds/status.txt", "--tls-cert", "c.pem", "--tls-key=k.pem"});
  ASSERT_TRUE(p.options) << p.error;
  const Options& o = *p.options;
  EXPECT_EQ(o.port, 8080);
  EXPECT_EQ(o.seed, 42u);
  EXPECT_EQ(o.clients, 10000);
  EXPECT_EQ(o.time, 1765100000);
  EXPECT_EQ(o.datadir, "/tmp");
  EXPECT_EQ(o.airportsfile, "/a/b.dat");
  EXPECT_EQ(o.firsfile, "c.dat");
  EXPECT_TRUE(o.snapshot.crlf && o.once && !o.help);
  EXPECT_DOUBLE_EQ(o.faults.failshare, 0.25);
  EXPECT_EQ(o.faults.failstatus, 502);
  EXPECT_EQ(o.faults.delayms, 150);
  EXPECT_DOUBLE_EQ(o.faults.cutshare, 0.1);
  EXPECT_DOUBLE_EQ(o.faults.dropshare, 1);
  EXPECT_DOUBLE_EQ(o.snapshot.badshare, 0.05);
  EXPECT_DOUBLE_EQ(o.faults.slowshare, 0.02);
  EXPECT_EQ(o.faults.slowms, 30000);
  EXPECT_DOUBLE_EQ(o.faults.pageshare, 0.5);
  EXPECT_EQ(o.logpath, "/tmp/answers.log");
  EXPECT_EQ(o.path, "/feeds/status.txt");
  EXPECT_EQ(o.tlscert, "c.pem");
  EXPECT_EQ(o.tlskey, "k.pem");

  const ParsedOptions defaults = parseoptions({});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->port, 0);
  EXPECT_EQ(defaults.options->clients, 600);
  EXPECT_FALSE(defaults.options->time);

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--clients", "10001"},
                                              {"--fail-share", "1.5"},
                                              {"--port", "x"},
                                              {"--delay"},
                                              {"--bogus"},
                                              {"--crlf=1"},
                                              {"--fail-status", "99"},
                                              {"--slow-ms", "-1"},
                                              {"--page-share", "2"},
                                              {"--log", ""},
                                              {"--time", "-5"},
                                              {"--path", "feeds"},
                                              {"--path", "/a?b"},
                                              {"--tls-cert", "c.pem"}}) {
    EXPECT_FALSE(parseoptions(bad).options) << bad[0];
  }
}

// Runs the netsim program with args; its standard output comes back through
// a pipe.
struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;

  explicit Child(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      close(fds[1]);
      std::vector<char*> argv{const_cast<char*>(NETSIM_PATH)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(NETSIM_PATH, argv.data());
      _exit(127);
    }
    close(fds[1]);
    out = fdopen(fds[0], "r");
  }
  ~Child() {
    if (out) fclose(out);
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  std::string readall() {
    std::string text;
    char buf[65536];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, out)) > 0;) text.append(buf, n);
    return text;
  }
  int wait() {
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST(NetsimProgram, AnnouncesItsPortServesAndStopsOnSigterm) {
  Child child({"--port", "0", "--clients", "30", "--data", "/nonexistent", "--time", "1765100000"});
  ASSERT_NE(child.out, nullptr);
  char line[256] = {};
  ASSERT_NE(fgets(line, sizeof line, child.out), nullptr);
  int port = 0;
  char rest[8] = {};
  ASSERT_EQ(sscanf(line, "netsim listening on 127.0.0.1:%d%7s", &port, rest), 1) << line;
  EXPECT_EQ(std::string(line), "netsim listening on 127.0.0.1:" + std::to_string(port) + "\n");

  const netglobe::FetchResult got = netglobe::fetchstatus({netglobe::ServerAddress{"127.0.0.1", port}});
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(got.body, snapshot(Network(builtinworld(), 1, 30), kTime));
  kill(child.pid, SIGTERM);
  EXPECT_EQ(child.readall(), "");  // nothing after the readiness line
  EXPECT_EQ(child.wait(), 0);
}

TEST(NetsimProgram, OncePrintsOneStatusFileAndBadOptionsFail) {
  Child once({"--once", "--seed", "4", "--clients", "50", "--time", "1765100000", "--crlf",
              "--data", "/nonexistent"});
  const std::string text = once.readall();
  EXPECT_EQ(once.wait(), 0);
  EXPECT_EQ(text, snapshot(Network(builtinworld(), 4, 50), kTime, {.crlf = true}));

  Child bad({"--clients", "many"});
  EXPECT_EQ(bad.readall(), "");
  EXPECT_EQ(bad.wait(), 2);

  Child nolog({"--log", "/nonexistent/answers.log"});
  EXPECT_EQ(nolog.readall(), "");
  EXPECT_EQ(nolog.wait(), 1);

  Child notls({"--tls-cert", "/nonexistent/c.pem", "--tls-key", "/nonexistent/k.pem"});
  EXPECT_EQ(notls.readall(), "");
  EXPECT_EQ(notls.wait(), 1);
}

}  // namespace
}  // namespace netsim

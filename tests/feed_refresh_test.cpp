#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <filesystem>
#include <string>
#include <vector>

#include "base/background_task.h"
#include "feed/feed_refresh.h"
#include "feed/status_copy.h"
#include "loopback_server.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const std::string kBody =
    "!GENERAL\nVERSION = 8\nRELOAD = 2\nUPDATE = 20261207101500\nCONNECTED CLIENTS = 2\n"
    "SERVERS = 1\n!CLIENTS\n"
    "DLH1:100001:J\xC3\xB6rg:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:\n"
    "EDDB_TWR:100002:Tom Tower:ATC:118.100:52.3:13.5:0:0:\n!SERVERS\n";

struct RecordingHost : FeedHost {
  std::vector<std::string> titles;
  void settitle(const std::string& title) override { titles.push_back(title); }
};

struct Refresh {
  TempFolder folder;
  RecordingHost host;
  FeedState state;
  Refresh() { state.folder = folder.path(); }
  void run(std::optional<ServerAddress> server) {
    state.source = server;
    getwhazz(state, host);
  }
  std::string copy() const { return folder.read(kStatusFileName); }
};

LoopbackServer::Handler serve(std::string body, int status = 200) {
  return [body, status](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, "text/plain");
  };
}

TEST(Getwhazz, StoresTheBodyWithConvertedLineEndsAndShowsTheCounts) {
  LoopbackServer server(serve(kBody));
  Refresh r;
  r.run(server.address());
  ASSERT_EQ(r.host.titles.size(), 2u);
  EXPECT_EQ(r.host.titles[0], "Loading...");
  EXPECT_EQ(r.host.titles[1], " CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2");
  // LF becomes CR LF, one CR LF is appended, UTF-8 becomes windows-1252.
  std::string expected = "!GENERAL\r\nVERSION = 8\r\n";
  EXPECT_EQ(r.copy().substr(0, expected.size()), expected);
  EXPECT_NE(r.copy().find("J\xF6rg:PILOT"), std::string::npos);
  EXPECT_EQ(r.copy().substr(r.copy().size() - 12), "!SERVERS\r\n\r\n");
  EXPECT_EQ(r.state.feedtext + "\r\n", r.copy());
}

TEST(Getwhazz, CrLfBodyBecomesCrCrLfAndStillParses) {
  LoopbackServer server(serve("!GENERAL\r\n1\r\n2\r\n3\r\n4\r\n5\r\n!CLIENTS\r\n"
                              "DLH1:100001:Latin \xE9:PILOT::52.1:13.2:0:0:\r\n"));
  Refresh r;
  r.run(server.address());
  EXPECT_EQ(r.copy().substr(0, 12), "!GENERAL\r\r\n1");
  EXPECT_NE(r.copy().find("Latin \xE9:"), std::string::npos);  // windows-1252 kept as is
  EXPECT_EQ(r.state.lists.pilcount, 1);
}

TEST(Getwhazz, FailuresKeepTheLastCopyAndSayWhy) {
  Refresh r;
  {
    LoopbackServer good(serve(kBody));
    r.run(good.address());
  }
  const std::string lastgood = r.copy();

  LoopbackServer unavailable(serve("<html>busy</html>", 503));
  r.run(unavailable.address());
  EXPECT_EQ(r.copy(), lastgood);
  EXPECT_EQ(r.host.titles.back(),
            " CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2 (update failed: HTTP 503)");
  EXPECT_EQ(r.state.lists.pilcount, 1);  // the lists keep the last known state
  EXPECT_TRUE(r.state.feedtext.empty());

  LoopbackServer moved(serve("<html>moved</html>", 302));
  r.run(moved.address());
  EXPECT_EQ(r.copy(), lastgood);
  EXPECT_EQ(r.state.lastfailure, "HTTP 302");

  // A 2xx answer that is no status file: a page, or nothing at all.
  for (const char* body : {"\r\n  <!DOCTYPE html><html>portal</html>", "<?xml version=\"1.0\"?><e/>", "", " \n"}) {
    LoopbackServer page(serve(body));
    r.run(page.address());
    EXPECT_EQ(r.copy(), lastgood);
    EXPECT_EQ(r.host.titles.back(),
              " CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2 (update failed: not a status file)");
  }

  r.run(ServerAddress{"127.0.0.1", 1});  // nothing listens on port 1
  EXPECT_EQ(r.copy(), lastgood);
  EXPECT_EQ(r.state.lastfailure, "connection refused");

  r.run(std::nullopt);
  EXPECT_EQ(r.copy(), lastgood);
  EXPECT_EQ(r.host.titles.back(),
            " CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2 (update failed: no status server)");
}

TEST(Getwhazz, CutAndOversizedAnswersAreFailures) {
  Refresh r;
  r.folder.write(kStatusFileName, "old copy");
  LoopbackServer cut([](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(
        1000, "text/plain", [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          if (offset > 0) return false;  // drop the connection after the first part
          sink.write("!GENERAL\nVERSION", 16);
          return true;
        });
  });
  r.run(cut.address());
  EXPECT_EQ(r.copy(), "old copy");
  EXPECT_EQ(r.state.lastfailure, "answer cut off");

  LoopbackServer huge([](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(kMaxBodyBytes + 1, 'x'), "text/plain");
  });
  r.run(huge.address());
  EXPECT_EQ(r.copy(), "old copy");
  EXPECT_EQ(r.state.lastfailure, "answer over 64 MiB");
}

TEST(Getwhazz, ReasonFromAnyFetcherReachesTheTitle) {
  Refresh r;
  r.state.source = ServerAddress{"status.invalid", 80};
  getwhazz(r.state, r.host, [](const FetchRequest&) {
    FetchResult timedout;
    timedout.failure = "timed out";
    return timedout;
  });
  EXPECT_EQ(r.host.titles.back(), " CTR=0 APP=0 TWR=0 PIL=0 CLI=0 TOP=0 (update failed: timed out)");
}

TEST(BackgroundTask, OneRequestAtATimeAndCancelEndsARequestTheServerHolds) {
  // The server holds every answer until the test lets it go.
  std::mutex mutex;
  std::condition_variable letgo;
  bool released = false;
  std::atomic<int> requests = 0;
  LoopbackServer server([&](const httplib::Request&, httplib::Response& res) {
    ++requests;
    std::unique_lock<std::mutex> lock(mutex);
    letgo.wait(lock, [&] { return released; });
    res.set_content(kBody, "text/plain");
  });
  const auto release = [&] {
    const std::lock_guard<std::mutex> lock(mutex);
    released = true;
    letgo.notify_all();
  };
  const FetchRequest request(server.address());
  const auto job = [request](const std::atomic<bool>& cancel) {
    FetchRequest cancellable = request;
    cancellable.cancel = &cancel;
    return fetchstatus(cancellable);
  };

  std::atomic<int> done = 0;
  {
    BackgroundTask<FetchResult> fetch;
    ASSERT_TRUE(fetch.start(job, [&] { ++done; }));
    EXPECT_FALSE(fetch.start(job, [&] { ++done; }));  // one request at a time
    while (requests == 0) std::this_thread::yield();
    EXPECT_FALSE(fetch.take());
    // Well before the 20 s time-out: the request ends and its answer is gone.
    fetch.cancel();
    EXPECT_FALSE(fetch.busy());
    EXPECT_FALSE(fetch.take());
    EXPECT_EQ(done, 1);

    // The next request runs to its answer, handed over once.
    release();
    ASSERT_TRUE(fetch.start(job, [&] { ++done; }));
    while (done < 2) std::this_thread::yield();
    const std::optional<FetchResult> answer = fetch.take();
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->ok) << answer->failure;
    EXPECT_EQ(answer->body, kBody);
    EXPECT_FALSE(fetch.take());
    EXPECT_FALSE(fetch.busy());
  }
}

// A 304 confirms the stored copy: it is parsed again and the refresh is a
// good one. The validators go out only while they vouch for that copy.
TEST(Getwhazz, NotModifiedIsAGoodRefreshOfTheCopyAsItStands) {
  Refresh r;
  r.state.source = FeedSource::fromurl("https://status.example.org/feed");
  const Validators v1{"\"v1\"", "Mon, 07 Dec 2026 08:00:00 GMT"};
  std::vector<Validators> sent;
  FetchResult answer;
  const Fetcher fetch = [&](const FetchRequest& request) {
    sent.push_back(request.validators);
    return answer;
  };
  const auto fresh = [&](Validators validators) {
    answer = FetchResult();
    answer.ok = true;
    answer.body = kBody;
    answer.validators = std::move(validators);
  };
  const auto notmodified = [&] {
    answer = FetchResult();
    answer.ok = answer.notmodified = true;
    answer.validators = v1;
  };
  const std::string good = " CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2";

  fresh(v1);
  getwhazz(r.state, r.host, fetch);
  EXPECT_TRUE(sent.back().empty());
  const std::string copy = r.copy();

  notmodified();
  r.state.lists.pilcount = r.state.lists.twrcount = 0;
  getwhazz(r.state, r.host, fetch);
  EXPECT_EQ(sent.back(), v1);
  EXPECT_EQ(r.copy(), copy);
  EXPECT_EQ(r.host.titles.back(), good);
  EXPECT_EQ(r.state.lists.pilcount, 1);
  EXPECT_EQ(r.state.lastfailure, "");

  // A failed update leaves the copy, and so the validators, standing.
  answer = FetchResult();
  answer.failure = "timed out";
  getwhazz(r.state, r.host, fetch);
  notmodified();
  getwhazz(r.state, r.host, fetch);
  EXPECT_EQ(sent.back(), v1);
  EXPECT_EQ(r.host.titles.back(), good);

  // Without the copy there is nothing to confirm.
  std::filesystem::remove(r.folder.file(kStatusFileName));
  fresh(v1);
  getwhazz(r.state, r.host, fetch);
  EXPECT_TRUE(sent.back().empty());
  EXPECT_EQ(r.copy(), copy);

  // An answer that could not be stored leaves no validators behind.
  std::filesystem::remove(r.folder.file(kStatusFileName));
  std::filesystem::create_directory(r.folder.file(kStatusFileName));
  getwhazz(r.state, r.host, fetch);
  EXPECT_NE(r.state.lastfailure, "");
  getwhazz(r.state, r.host, fetch);
  EXPECT_TRUE(sent.back().empty());
}

TEST(Storecopy, ReplacesTheFileWholeAndLeavesNoTemporaries) {
  TempFolder folder;
  const std::string path = folder.write(kStatusFileName, "previous");
  EXPECT_EQ(storecopy(path, "a\r\nb"), "");
  EXPECT_EQ(folder.read(kStatusFileName), "a\r\nb\r\n");
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);
  EXPECT_NE(storecopy("/nonexistent/dir/whazzup.txt", "x"), "");

  // A run killed mid-write leaves its temporary: the next start removes it,
  // but not one of a write under way, nor a file that only looks alike.
  const auto aged = [&](const std::string& name, std::chrono::minutes age) {
    std::filesystem::last_write_time(folder.write(name, "cut"),
                                     std::filesystem::file_time_type::clock::now() - age);
  };
  aged("whazzup.txt.aB3xY9", std::chrono::minutes(5));
  aged("whazzup.txt.Qw8rT2", std::chrono::minutes(0));
  aged("whazzup.txt.bak", std::chrono::minutes(5));
  aged("whazzup.txt.old-copy", std::chrono::minutes(5));
  removestaletemporaries(path);
  EXPECT_FALSE(std::filesystem::exists(folder.file("whazzup.txt.aB3xY9")));
  for (const char* kept : {"whazzup.txt", "whazzup.txt.Qw8rT2", "whazzup.txt.bak", "whazzup.txt.old-copy"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.file(kept))) << kept;
  }
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "history/history_option.h"
#include "history/history_store.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kStart = 1'765'100'000'000;

// A small status text as stored, with an UPDATE line unless update is "".
std::string status(const std::string& update, int step, int pilots = 3) {
  std::string text = "!GENERAL\r\nVERSION = 8\r\nRELOAD = 1\r\n";
  if (!update.empty()) text += "UPDATE = " + update + "\r\n";
  text += "CONNECTED CLIENTS = 3\r\n!CLIENTS\r\n";
  for (int p = 0; p < pilots; ++p) {
    text += "DLH" + std::to_string(p) + ":10000" + std::to_string(p) + ":Pilot Name:PILOT::" +
            std::to_string(50 + step * 0.01 + p) + ":" + std::to_string(10 + step * 0.02) +
            ":35000:450:A320:\r\n";
  }
  return text + "!SERVERS\r\n";
}

std::string stamp(int step) { return std::to_string(20261207100000LL + step); }

std::vector<std::string> texts(HistoryStore& store) {
  std::vector<std::string> out(store.size());
  // Backwards, as replay steps: every text comes from its segment's chain.
  for (std::size_t i = store.size(); i-- > 0;) {
    const HistoryText t = store.read(i);
    EXPECT_TRUE(t.ok) << t.failure;
    out[i] = t.text;
  }
  return out;
}

std::vector<std::string> segmentfiles(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.path().extension() == ".hist") names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(HistoryStore, KeepsEachNewRefreshOnceAndReadsItBackAfterARestart) {
  TempFolder tmp;
  const std::string dir = historyfolder(tmp.path());
  std::vector<std::string> kept;
  std::int64_t t = kStart;
  {
    HistoryStore store(dir, HistoryRetention::hours(24));
    for (int i = 0; i < int(kFullEvery) + 5; ++i, t += 30 * kSecond) {
      kept.push_back(status(stamp(i), i));
      EXPECT_EQ(store.keep(kept.back(), t).outcome, KeepOutcome::Kept);
      // The server had nothing new: the same UPDATE time, whatever the text.
      EXPECT_EQ(store.keep(status(stamp(i), i + 100), t + kSecond).outcome, KeepOutcome::SameUpdate);
    }
    // Without an UPDATE line only a byte-for-byte repeat is left out.
    kept.push_back(status("", 7));
    EXPECT_EQ(store.keep(kept.back(), t).outcome, KeepOutcome::Kept);
    EXPECT_EQ(store.keep(kept.back(), t + kSecond).outcome, KeepOutcome::SameText);
    kept.push_back(status("", 8));
    EXPECT_EQ(store.keep(kept.back(), t + 2 * kSecond).outcome, KeepOutcome::Kept);

    ASSERT_EQ(store.size(), kept.size());
    EXPECT_EQ(texts(store), kept);
    // Replay and its trails read in two places at once.
    for (std::size_t i = kept.size(); i-- > 0;) {
      EXPECT_EQ(store.read(i).text, kept[i]);
      EXPECT_EQ(store.read(i / 3).text, kept[i / 3]);
    }
    EXPECT_EQ(store.at(0).receiptms, kStart);
    EXPECT_EQ(store.at(0).update, stamp(0));
    EXPECT_EQ(store.at(kept.size() - 1).update, "");
    EXPECT_EQ(segmentfiles(dir).size(), 2u);  // a full refresh began the second
  }

  // The next run keeps into a segment of its own at once; the scan of the
  // folder, finished later, adds the earlier run's refreshes before it.
  HistoryStore store(dir, HistoryRetention::hours(24));
  EXPECT_EQ(store.keep(kept.back(), t + 3 * kSecond).outcome, KeepOutcome::Kept);  // knows nothing yet
  // Closing the window cancels the scan: it stops before the next file or record.
  const std::atomic<bool> cancel{true};
  const HistoryIndex cut = scanhistory(dir, &cancel);
  EXPECT_TRUE(cut.cancelled && cut.segments.empty());
  const std::string segment = tmp.read("history/" + segmentfiles(dir).front());
  const SegmentRead read = readsegment(MemorySource(segment), &cancel);
  EXPECT_TRUE(read.ours && read.cancelled && read.records.empty());
  const HistoryIndex found = scanhistory(dir);
  EXPECT_FALSE(found.cancelled);
  EXPECT_TRUE(store.adopt(found, t + 4 * kSecond).empty());
  kept.push_back(kept.back());
  ASSERT_EQ(store.size(), kept.size());
  EXPECT_EQ(texts(store), kept);
  EXPECT_EQ(store.keep(kept.back(), t + 5 * kSecond).outcome, KeepOutcome::SameText);
  // Only the last kept refresh counts: an older UPDATE time is new again.
  EXPECT_EQ(store.keep(status(stamp(3), 3), t + 6 * kSecond).outcome, KeepOutcome::Kept);
  EXPECT_EQ(store.keep(status(stamp(3), 4), t + 7 * kSecond).outcome, KeepOutcome::SameUpdate);
}

TEST(HistoryStore, RetentionCountsFromReceiptAndZeroKeepsNothing) {
  EXPECT_EQ(parsehistoryhours("24")->ms, 24 * 60 * kMinute);
  EXPECT_EQ(parsehistoryhours("0.05")->ms, 3 * kMinute);
  EXPECT_TRUE(parsehistoryhours("0")->off());
  EXPECT_EQ(parsehistoryhours("1e-9")->ms, 1);  // any time at all keeps something
  for (const char* bad : {"", "-1", "+1", " 1", "1 ", "1h", "abc", "inf", "nan", "8761", "0x10"}) {
    EXPECT_FALSE(parsehistoryhours(bad)) << bad;
  }

  TempFolder tmp;
  const std::string dir = historyfolder(tmp.path());
  HistoryStore store(dir, *parsehistoryhours("0.05"));
  std::int64_t now = kStart;
  for (int i = 0; i < 30; ++i, now += kMinute) {
    ASSERT_EQ(store.keep(status(stamp(i), i), now).outcome, KeepOutcome::Kept);
    ASSERT_EQ(store.size(), std::min(i + 1, 4));  // this minute and the three before
    EXPECT_GE(store.at(0).receiptms, now - 3 * kMinute);
  }
  // The oldest listed refresh is a delta whose earlier records are gone
  // from the list but not from its segment: it still reads.
  EXPECT_EQ(store.read(0).text, status(stamp(26), 26));
  // The first segment (minutes 0 to 19) is past the retention as a whole.
  EXPECT_EQ(segmentfiles(dir).size(), 1u);
  const std::uint64_t bytes = store.diskbytes();

  HistoryStore off(dir, *parsehistoryhours("0"));
  EXPECT_EQ(off.keep(status(stamp(99), 99), now).outcome, KeepOutcome::Off);
  off.adopt(scanhistory(dir), now + 48 * 60 * kMinute);
  off.prune(now + 48 * 60 * kMinute);
  EXPECT_EQ(segmentfiles(dir).size(), 1u);  // left alone
  EXPECT_EQ(off.diskbytes(), bytes);
}

// Three refreshes of a second segment after a first of kFullEvery.
struct TwoSegments {
  TempFolder tmp;
  std::string dir = historyfolder(tmp.path());
  std::vector<std::string> kept;
  std::string newest;  // file name of the second segment
  TwoSegments() {
    HistoryStore store(dir, HistoryRetention::hours(24));
    for (int i = 0; i < int(kFullEvery) + 3; ++i) {
      kept.push_back(status(stamp(i), i, 2));
      store.keep(kept.back(), kStart + i * 30 * kSecond);
    }
    newest = segmentfiles(dir).back();
  }
  std::string bytes(const std::string& name) const { return tmp.read("history/" + name); }
  void write(const std::string& name, const std::string& bytes) const {
    tmp.write("history/" + name, bytes);
  }
  // The store as the next run reads it.
  std::vector<std::string> lines;
  std::vector<std::string> reopened() {
    HistoryStore store(dir, HistoryRetention::hours(24));
    lines = store.adopt(scanhistory(dir), kStart + kMinute);
    return texts(store);
  }
};

TEST(HistoryStore, ANewestFileCutAtAnyByteLosesOnlyWhatWasCut) {
  TwoSegments s;
  const std::string whole = s.bytes(s.newest);
  const SegmentRead read = readsegment(MemorySource(whole));
  ASSERT_EQ(read.records.size(), 3u);
  ASSERT_TRUE(read.damage.empty());
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    s.write(s.newest, whole.substr(0, cut));
    std::size_t whole_records = 0;
    bool boundary = cut == kSegmentMagic.size();
    for (const RecordInfo& r : read.records) {
      whole_records += r.offset + r.packedsize <= cut;
      boundary = boundary || r.offset + r.packedsize == cut;
    }
    const std::vector<std::string> got = s.reopened();
    ASSERT_EQ(got.size(), kFullEvery + whole_records) << "cut at " << cut;
    EXPECT_TRUE(std::equal(got.begin(), got.end(), s.kept.begin())) << "cut at " << cut;
    EXPECT_EQ(s.lines.size(), boundary ? 0u : 1u) << "cut at " << cut;
  }
}

TEST(HistoryStore, DamageInsideASegmentLosesItsLaterRefreshesOnly) {
  TwoSegments s;
  const std::string older = segmentfiles(s.dir).front();
  std::string bytes = s.bytes(older);
  const SegmentRead read = readsegment(MemorySource(bytes));
  ASSERT_EQ(read.records.size(), kFullEvery);
  bytes[read.records[5].offset + 3] ^= 0x20;
  s.write(older, bytes);
  const std::vector<std::string> got = s.reopened();
  std::vector<std::string> expected(s.kept.begin(), s.kept.begin() + 5);
  expected.insert(expected.end(), s.kept.end() - 3, s.kept.end());
  EXPECT_EQ(got, expected);
  ASSERT_EQ(s.lines.size(), 1u);
  EXPECT_NE(s.lines[0].find(older), std::string::npos);
}

TEST(HistoryStore, ForeignFilesAreSaidOnceSkippedAndNeverDeleted) {
  TwoSegments s;
  s.write("notes.txt", "my notes\n");
  s.write("fake.hist", "not a history segment at all\n");
  fs::create_directory(s.dir + "/folder.hist");
  const std::vector<std::string> got = s.reopened();
  EXPECT_EQ(got, s.kept);
  ASSERT_EQ(s.lines.size(), 3u);
  for (const char* name : {"notes.txt", "fake.hist", "folder.hist"}) {
    EXPECT_EQ(std::count_if(s.lines.begin(), s.lines.end(),
                            [&](const std::string& l) { return l.find(name) != std::string::npos; }),
              1)
        << name;
  }
  // A day later every refresh is past the retention: only our files go.
  HistoryStore store(s.dir, HistoryRetention::hours(1));
  store.adopt(scanhistory(s.dir), kStart + 24 * 60 * kMinute);
  EXPECT_EQ(store.size(), 0u);
  EXPECT_EQ(segmentfiles(s.dir), (std::vector<std::string>{"fake.hist", "folder.hist"}));
  EXPECT_TRUE(fs::exists(s.dir + "/notes.txt"));
}

// Files may not grow beyond a limit while it lives: a disk that is full.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);  // a failing write, not a dead process
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

TEST(HistoryStore, AFolderThatCannotBeWrittenIsSaidOnceAndLosesNothingKept) {
  TempFolder tmp;
  tmp.write("history", "a file where the folder should be");
  HistoryStore blocked(historyfolder(tmp.path()), HistoryRetention::hours(24));
  KeepResult r = blocked.keep(status(stamp(0), 0), kStart);
  EXPECT_EQ(r.outcome, KeepOutcome::Failed);
  EXPECT_TRUE(r.tell);
  EXPECT_NE(r.failure.find("history"), std::string::npos);
  r = blocked.keep(status(stamp(1), 1), kStart + kMinute);
  EXPECT_EQ(r.outcome, KeepOutcome::Failed);
  EXPECT_FALSE(r.tell);
  EXPECT_EQ(blocked.size(), 0u);

  // A disk that fills up in the middle of a refresh: the refresh is lost,
  // the one before stays whole, and the next after the disk has room again
  // is kept.
  const std::string dir = tmp.path() + "/other";
  HistoryStore store(dir, HistoryRetention::hours(24));
  const std::string first = status(stamp(0), 0, 40);
  ASSERT_EQ(store.keep(first, kStart).outcome, KeepOutcome::Kept);
  {
    // Room for a piece of the next record: it is written in part.
    const FileSizeLimit full(store.diskbytes() + 10);
    r = store.keep(status(stamp(1), 1, 40), kStart + kMinute);
    EXPECT_EQ(r.outcome, KeepOutcome::Failed);
    EXPECT_TRUE(r.tell);
    // A new segment's first record, twice the first one, does not fit either.
    r = store.keep(status(stamp(2), 2, 80), kStart + 2 * kMinute);
    EXPECT_EQ(r.outcome, KeepOutcome::Failed);
    EXPECT_FALSE(r.tell);
  }
  const std::string last = status(stamp(3), 3, 40);
  r = store.keep(last, kStart + 3 * kMinute);
  EXPECT_EQ(r.outcome, KeepOutcome::Kept);
  EXPECT_EQ(texts(store), (std::vector<std::string>{first, last}));
  HistoryStore reopened(dir, HistoryRetention::hours(24));
  EXPECT_TRUE(reopened.adopt(scanhistory(dir), kStart + 4 * kMinute).empty());  // no cut record
  EXPECT_EQ(texts(reopened), (std::vector<std::string>{first, last}));
  EXPECT_EQ(segmentfiles(dir).size(), 2u);  // the segment that failed to start is gone
}

}  // namespace
}  // namespace netglobe

#include "history/history_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include "feed/status_copy.h"
#include "history/update_time.h"

namespace netglobe {
namespace {

// A new file's name lasts a power cut only once its folder is synced.
void syncfolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::int64_t HistoryStore::Segment::firstms() const {
  return records.empty() ? namedms : records.front().info.receiptms;
}

std::int64_t HistoryStore::Segment::lastms() const {
  return records.empty() ? namedms : std::max(namedms, records.back().info.receiptms);
}

HistoryStore::HistoryStore(std::string folder, HistoryRetention retention)
    : folder_(std::move(folder)), retention_(retention) {}

HistoryStore::~HistoryStore() {
  if (fd_ >= 0) ::close(fd_);
}

const KeptRefresh& HistoryStore::at(std::size_t i) const { return entries_.at(i).kept; }

std::uint64_t HistoryStore::diskbytes() const {
  std::uint64_t total = 0;
  for (const Segment& s : segments_) total += s.bytes;
  return total;
}

void HistoryStore::addrecord(Segment& segment, RecordInfo info) {
  Record record{std::move(info), nextserial_++, segment.records.size()};
  if (record.info.kind == RecordKind::Delta && !segment.records.empty()) {
    record.chainstart = segment.records.back().chainstart;
  }
  segment.records.push_back(std::move(record));
}

void HistoryStore::reindex() {
  std::stable_sort(segments_.begin(), segments_.end(), [](const Segment& a, const Segment& b) {
    return a.firstms() < b.firstms() || (a.firstms() == b.firstms() && a.file < b.file);
  });
  entries_.clear();
  for (std::size_t s = 0; s < segments_.size(); ++s) {
    const Segment& segment = segments_[s];
    for (std::size_t r = segment.firstlive; r < segment.records.size(); ++r) {
      const Record& record = segment.records[r];
      entries_.push_back({s, r, {record.serial, record.info.receiptms, record.info.update}});
    }
  }
}

std::vector<std::string> HistoryStore::adopt(HistoryIndex found, std::int64_t nowms) {
  std::vector<std::string> lines = std::move(found.skipped);
  for (HistorySegment& seg : found.segments) {
    const bool known = std::any_of(segments_.begin(), segments_.end(),
                                   [&](const Segment& s) { return s.file == seg.file; });
    if (known) continue;  // one of ours, written since the scan began
    if (!seg.damage.empty()) lines.push_back(seg.damage);
    Segment segment{seg.file, seg.namedms, seg.bytes, {}, 0, false};
    for (RecordInfo& info : seg.records) addrecord(segment, std::move(info));
    segments_.push_back(std::move(segment));
  }
  reindex();
  prune(nowms);
  return lines;
}

bool HistoryStore::sameaslast(std::string_view body, std::string_view update,
                              std::uint64_t hash) const {
  LastKept last = last_;
  if (!last.any && !entries_.empty()) {
    const Entry& e = entries_.back();
    const RecordInfo& info = segments_[e.segment].records[e.record].info;
    last = {true, info.update, info.rawsize, info.contenthash};
  }
  if (!last.any) return false;
  if (!update.empty()) return update == last.update;
  if (body.size() != last.rawsize || hash != last.contenthash) return false;
  // The text itself when it is at hand; else the hash has to do.
  return !last_.any || lasttext_ == body;
}

KeepResult HistoryStore::keep(std::string_view body, std::int64_t receiptms) {
  if (retention_.off()) return {KeepOutcome::Off, 0, {}, false};
  const std::string update(statusupdatetime(body));
  const std::uint64_t hash = historyhash(body);
  if (sameaslast(body, update, hash)) {
    return {update.empty() ? KeepOutcome::SameText : KeepOutcome::SameUpdate, 0, {}, false};
  }
  if (body.size() > kMaxKeptBytes) return failed("a refresh of over 160 MiB is not kept");

  auto writing = [this] {
    return std::find_if(segments_.begin(), segments_.end(),
                        [this](const Segment& s) { return s.own && s.file == writing_; });
  };
  auto segment = writing();
  const bool full = fd_ < 0 || segment == segments_.end() || segment->records.size() >= kFullEvery;
  if (full) {
    closesegment(false);
    const std::string why = startsegment(receiptms);
    if (!why.empty()) return failed(why);
    segment = writing();
  }
  const std::string packed = packer_.pack(body, full ? std::string_view{} : lasttext_);
  if (packed.empty()) return failed("cannot pack a refresh");
  RecordInfo info{full ? RecordKind::Full : RecordKind::Delta, receiptms, update, body.size(), hash};
  info.offset = writtenbytes_ + kRecordHeaderBytes + update.size();
  info.packedsize = packed.size();
  const std::string why = append(encoderecord(info, packed));
  if (!why.empty()) return failed(why);

  segment->bytes = writtenbytes_;
  addrecord(*segment, std::move(info));
  const std::uint64_t serial = segment->records.back().serial;
  lastserial_ = serial;
  lasttext_.assign(body);
  last_ = {true, update, body.size(), hash};
  lastfailure_.clear();
  reindex();
  prune(receiptms);
  return {KeepOutcome::Kept, serial, {}, false};
}

std::string HistoryStore::startsegment(std::int64_t receiptms) {
  const auto cannot = [this](int err) {
    return "cannot write to " + folder_ + ": " + std::strerror(err);
  };
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) return "cannot make " + folder_ + ": " + ec.message();
  std::string name;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    name = segmentname(receiptms, static_cast<long>(::getpid()), nextname_++);
    fd = ::open(path(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return cannot(errno);
  if (!writeall(fd, kSegmentMagic)) {
    const int err = errno;
    ::close(fd);
    ::unlink(path(name).c_str());
    return cannot(err);
  }
  syncfolder(folder_);
  fd_ = fd;
  writing_ = name;
  writtenbytes_ = kSegmentMagic.size();
  segments_.push_back({name, receiptms, writtenbytes_, {}, 0, true});
  reindex();
  return {};
}

std::string HistoryStore::append(const std::string& bytes) {
  // One write and a sync: after a crash the record is whole or cut, and a
  // cut record ends the segment's reading without touching those before it.
  if (!writeall(fd_, bytes) || ::fdatasync(fd_) != 0) {
    return "cannot write to " + folder_ + ": " + std::strerror(errno);
  }
  writtenbytes_ += bytes.size();
  return {};
}

void HistoryStore::closesegment(bool truncate) {
  if (fd_ < 0) return;
  const auto segment = std::find_if(segments_.begin(), segments_.end(),
                                    [this](const Segment& s) { return s.own && s.file == writing_; });
  const bool empty = segment == segments_.end() || segment->records.empty();
  // A failed append may have left part of a record: it goes, so that a
  // later reading does not take it for damage.
  if (truncate && !empty) (void)::ftruncate(fd_, static_cast<off_t>(writtenbytes_));
  ::close(fd_);
  fd_ = -1;
  if (empty) {
    ::unlink(path(writing_).c_str());
    if (segment != segments_.end()) segments_.erase(segment);
    reindex();
  }
  writing_.clear();
}

KeepResult HistoryStore::failed(std::string reason) {
  closesegment(true);
  const bool tell = reason != lastfailure_;
  lastfailure_ = reason;
  return {KeepOutcome::Failed, 0, std::move(reason), tell};
}

void HistoryStore::prune(std::int64_t nowms) {
  if (retention_.off()) return;
  const std::int64_t cutoff = nowms - retention_.ms;
  bool changed = false;
  for (Segment& s : segments_) {
    while (s.firstlive < s.records.size() && s.records[s.firstlive].info.receiptms < cutoff) {
      ++s.firstlive;
      changed = true;
    }
  }
  const auto gone = [&](const Segment& s) {
    if (s.file == writing_ || s.firstlive < s.records.size() || s.lastms() >= cutoff) return false;
    if (::unlink(path(s.file).c_str()) != 0 && errno != ENOENT) return false;
    for (Chain& chain : chains_) {
      if (chain.file == s.file) chain.file.clear(), chain.count = 0;
    }
    return true;
  };
  const auto end = std::remove_if(segments_.begin(), segments_.end(), gone);
  changed = changed || end != segments_.end();
  segments_.erase(end, segments_.end());
  if (changed) reindex();
}

HistoryText HistoryStore::read(std::size_t i) {
  if (i >= entries_.size()) return {false, {}, "no kept refresh " + std::to_string(i)};
  const Entry& e = entries_[i];
  const Segment& s = segments_[e.segment];
  const Record& r = s.records[e.record];
  if (r.serial == lastserial_) return {true, lasttext_, {}};

  Chain& chain = chainof(s.file, r.chainstart);
  if (e.record >= chain.from + chain.count) {
    const FileSource file(path(s.file));
    std::string packed;
    for (std::size_t k = chain.from + chain.count; k <= e.record; ++k) {
      const RecordInfo& info = s.records[k].info;
      if (chain.texts.size() <= chain.count) chain.texts.emplace_back();
      const std::string_view prefix =
          chain.count == 0 ? std::string_view{} : chain.texts[chain.count - 1];
      if (!file.readat(info.offset, static_cast<std::size_t>(info.packedsize), packed) ||
          !unpacker_.unpack(packed, prefix, info.rawsize, chain.texts[chain.count])) {
        return {false, {}, "history: " + s.file + ": a kept refresh cannot be read back"};
      }
      ++chain.count;
    }
  }
  return {true, chain.texts[e.record - chain.from], {}};
}

HistoryStore::Chain& HistoryStore::chainof(const std::string& file, std::size_t from) {
  ++reads_;
  for (Chain& chain : chains_) {
    if (chain.file == file && chain.from == from) {
      chain.used = reads_;
      return chain;
    }
  }
  Chain& oldest = chains_[0].used <= chains_[1].used ? chains_[0] : chains_[1];
  oldest.file = file;
  oldest.from = from;
  oldest.count = 0;
  oldest.used = reads_;
  return oldest;
}

void HistoryStore::dropunpacked() { chains_ = {}; }

}  // namespace netglobe

#include "history/history_store.h"

#include <cerrno>
#include <unistd.h>

#include "history/update_time.h"

namespace netglobe {

HistoryStore::HistoryStore(std::string folder, HistoryRetention retention)
    : folder_(std::move(folder)), retention_(retention), writer_(folder_) {}

const KeptRefresh& HistoryStore::at(std::size_t i) const { return index_.entry(i).kept; }

std::vector<std::string> HistoryStore::adopt(HistoryIndex found, std::int64_t nowms) {
  std::vector<std::string> lines = std::move(found.skipped);
  for (std::string& line : index_.adopt(std::move(found.segments))) lines.push_back(std::move(line));
  prune(nowms);
  return lines;
}

bool HistoryStore::sameaslast(std::string_view body, std::string_view update, std::uint64_t hash) const {
  LastKept last = last_;
  if (!last.any) {
    if (const RecordInfo* info = index_.last()) last = {true, info->update, info->rawsize, info->contenthash};
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

  const KeptIndex::Segment* segment = writer_.isopen() ? index_.find(writer_.file()) : nullptr;
  const bool full = !segment || segment->records.size() >= kFullEvery;
  if (full) {
    closesegment(false);
    if (std::string why = writer_.start(receiptms); !why.empty()) return failed(why);
    index_.addown(writer_.file(), receiptms, writer_.bytes());
  }
  const std::string packed = packer_.pack(body, full ? std::string_view{} : lasttext_);
  if (packed.empty()) return failed("cannot pack a refresh");
  RecordInfo info{full ? RecordKind::Full : RecordKind::Delta, receiptms, update, body.size(), hash};
  info.offset = writer_.bytes() + kRecordHeaderBytes + update.size();
  info.packedsize = packed.size();
  if (std::string why = writer_.append(encoderecord(info, packed)); !why.empty()) return failed(why);

  const std::uint64_t serial = index_.addrecord(writer_.file(), std::move(info), writer_.bytes());
  lastserial_ = serial;
  lasttext_.assign(body);
  last_ = {true, update, body.size(), hash};
  lastfailure_.clear();
  prune(receiptms);
  return {KeepOutcome::Kept, serial, {}, false};
}

void HistoryStore::closesegment(bool cut) {
  if (!writer_.isopen()) return;
  const KeptIndex::Segment* segment = index_.find(writer_.file());
  const bool holdsrecords = segment && !segment->records.empty();
  const std::string file = writer_.file();
  writer_.close(cut, holdsrecords);
  if (!holdsrecords) index_.drop(file);
}

KeepResult HistoryStore::failed(std::string reason) {
  closesegment(true);
  const bool tell = reason != lastfailure_;
  lastfailure_ = reason;
  return {KeepOutcome::Failed, 0, std::move(reason), tell};
}

bool HistoryStore::removesegment(const std::string& file) {
  if (::unlink((folder_ + "/" + file).c_str()) != 0 && errno != ENOENT) return false;
  unpacked_.forget(file);
  return true;
}

void HistoryStore::prune(std::int64_t nowms) {
  if (retention_.off()) return;
  index_.prune(nowms - retention_.ms, writer_.file(), [this](const std::string& file) { return removesegment(file); });
}

HistoryText HistoryStore::read(std::size_t i) {
  if (i >= index_.size()) return {false, {}, "no kept refresh " + std::to_string(i)};
  const KeptIndex::Entry& e = index_.entry(i);
  const KeptIndex::Segment& segment = index_.segment(e.segment);
  if (segment.serials[e.record] == lastserial_) return {true, lasttext_, {}};
  return unpacked_.read(folder_, segment, e.record, segment.chainstarts[e.record]);
}

void HistoryStore::dropunpacked() { unpacked_.drop(); }

}  // namespace netglobe

#include "history/kept_index.h"

#include <algorithm>

namespace netglobe {

std::int64_t KeptIndex::Segment::lastms() const {
  return records.empty() ? namedms : std::max(namedms, records.back().receiptms);
}

void KeptIndex::addrecord(Segment& segment, RecordInfo info) {
  std::size_t chainstart = segment.records.size();
  if (info.kind == RecordKind::Delta && !segment.records.empty()) chainstart = segment.chainstarts.back();
  segment.records.push_back(std::move(info));
  segment.serials.push_back(nextserial_++);
  segment.chainstarts.push_back(chainstart);
}

void KeptIndex::reindex() {
  std::stable_sort(segments_.begin(), segments_.end(), segmentbefore);
  entries_.clear();
  for (std::size_t s = 0; s < segments_.size(); ++s) {
    const Segment& segment = segments_[s];
    for (std::size_t r = segment.firstlive; r < segment.records.size(); ++r) {
      entries_.push_back({s, r, {segment.serials[r], segment.records[r].receiptms, segment.records[r].update}});
    }
  }
}

std::vector<std::string> KeptIndex::adopt(std::vector<HistorySegment> found) {
  std::vector<std::string> lines;
  for (HistorySegment& seg : found) {
    if (find(seg.file)) continue;  // one of ours, written since the scan began
    if (!seg.damage.empty()) lines.push_back(seg.damage);
    Segment segment;
    segment.file = seg.file;
    segment.namedms = seg.namedms;
    segment.bytes = seg.bytes;
    for (RecordInfo& info : seg.records) addrecord(segment, std::move(info));
    segments_.push_back(std::move(segment));
  }
  reindex();
  return lines;
}

void KeptIndex::addown(const std::string& file, std::int64_t namedms, std::uint64_t bytes) {
  Segment segment;
  segment.file = file;
  segment.namedms = namedms;
  segment.bytes = bytes;
  segment.own = true;
  segments_.push_back(std::move(segment));
  reindex();
}

std::uint64_t KeptIndex::addrecord(const std::string& file, RecordInfo info, std::uint64_t bytes) {
  Segment* segment = findown(file);
  if (!segment) return 0;
  segment->bytes = bytes;
  addrecord(*segment, std::move(info));
  const std::uint64_t serial = segment->serials.back();
  reindex();
  return serial;
}

void KeptIndex::drop(const std::string& file) {
  std::erase_if(segments_, [&](const Segment& s) { return s.file == file; });
  reindex();
}

void KeptIndex::prune(std::int64_t cutoff, const std::string& writing,
                      const std::function<bool(const std::string&)>& remove) {
  bool changed = false;
  for (Segment& s : segments_) {
    while (s.firstlive < s.records.size() && s.records[s.firstlive].receiptms < cutoff) {
      ++s.firstlive;
      changed = true;
    }
  }
  const auto gone = [&](const Segment& s) {
    if (s.file == writing || s.firstlive < s.records.size() || s.lastms() >= cutoff) return false;
    return remove(s.file);
  };
  const auto end = std::remove_if(segments_.begin(), segments_.end(), gone);
  changed = changed || end != segments_.end();
  segments_.erase(end, segments_.end());
  if (changed) reindex();
}

const KeptIndex::Segment* KeptIndex::find(const std::string& file) const {
  const auto it = std::find_if(segments_.begin(), segments_.end(), [&](const Segment& s) { return s.file == file; });
  return it == segments_.end() ? nullptr : &*it;
}

KeptIndex::Segment* KeptIndex::findown(const std::string& file) {
  const auto it = std::find_if(segments_.begin(), segments_.end(),
                               [&](const Segment& s) { return s.own && s.file == file; });
  return it == segments_.end() ? nullptr : &*it;
}

const RecordInfo* KeptIndex::last() const {
  if (entries_.empty()) return nullptr;
  const Entry& e = entries_.back();
  return &segments_[e.segment].records[e.record];
}

std::uint64_t KeptIndex::diskbytes() const {
  std::uint64_t total = 0;
  for (const Segment& s : segments_) total += s.bytes;
  return total;
}

}  // namespace netglobe

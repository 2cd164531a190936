#include "history/history_format.h"

#include <algorithm>
#include <bit>

#include "history/update_time.h"

namespace netglobe {
namespace {

constexpr std::string_view kRecordMagic = "NGRC";
constexpr std::size_t kHashedHeaderBytes = 40;  // everything before the check hash
// zstd never packs a text into much more than its own size.
constexpr std::uint64_t kMaxPackedBytes = kMaxKeptBytes + (kMaxKeptBytes >> 7) + (1u << 20);

std::uint64_t loadle(const unsigned char* p, std::size_t n) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < n; ++i) v |= std::uint64_t(p[i]) << (8 * i);
  return v;
}

void storele(std::string& out, std::uint64_t v, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint64_t field(std::string_view header, std::size_t at) {
  return loadle(reinterpret_cast<const unsigned char*>(header.data()) + at, 8);
}

std::string header40(const RecordInfo& info) {
  std::string out(kRecordMagic);
  out += static_cast<char>(info.kind);
  out += static_cast<char>(info.update.size());
  storele(out, 0, 2);
  storele(out, static_cast<std::uint64_t>(info.receiptms), 8);
  storele(out, info.rawsize, 8);
  storele(out, info.packedsize, 8);
  storele(out, info.contenthash, 8);
  return out;
}

std::uint64_t checkhash(std::string_view header, std::string_view update, std::string_view packed) {
  return historyhash(packed, historyhash(update, historyhash(header)));
}

}  // namespace

std::uint64_t historyhash(std::string_view bytes, std::uint64_t seed) {
  constexpr std::uint64_t k1 = 0x9E3779B97F4A7C15ull;
  constexpr std::uint64_t k2 = 0xC2B2AE3D27D4EB4Full;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::uint64_t h = seed ^ (n * k1);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) h = std::rotl(h ^ (loadle(p + i, 8) * k2), 29) * k1;
  h = std::rotl(h ^ (loadle(p + i, n - i) * k2), 29) * k1;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 33);
}

std::string encoderecord(const RecordInfo& info, std::string_view packed) {
  RecordInfo shown = info;
  shown.update.resize(std::min(info.update.size(), kMaxUpdateText));
  shown.packedsize = packed.size();
  std::string out = header40(shown);
  storele(out, checkhash(out, shown.update, packed), 8);
  out += shown.update;
  out += packed;
  return out;
}

bool MemorySource::readat(std::uint64_t offset, std::size_t n, std::string& out) const {
  if (offset > bytes_.size() || n > bytes_.size() - offset) return false;
  out.assign(bytes_.substr(offset, n));
  return true;
}

SegmentRead readsegment(const ByteSource& source, const std::atomic<bool>* cancel) {
  SegmentRead read;
  const std::uint64_t size = source.size();
  std::string bytes;
  const std::size_t magicbytes = std::min<std::uint64_t>(size, kSegmentMagic.size());
  if (!source.readat(0, magicbytes, bytes) || !kSegmentMagic.starts_with(bytes)) return read;
  read.ours = true;
  if (magicbytes < kSegmentMagic.size()) {
    read.damage = "cut in its header";
    return read;
  }
  std::uint64_t at = kSegmentMagic.size();
  std::string header, update, packed;
  while (at < size) {
    if (cancel && cancel->load()) {
      read.cancelled = true;
      break;
    }
    const auto damaged = [&](const char* why) {
      read.damage = why + std::string(" at byte ") + std::to_string(at);
    };
    if (size - at < kRecordHeaderBytes || !source.readat(at, kRecordHeaderBytes, header)) {
      damaged("a cut record");
      break;
    }
    RecordInfo info;
    const auto kind = static_cast<unsigned char>(header[4]);
    const std::size_t updatelen = static_cast<unsigned char>(header[5]);
    info.kind = static_cast<RecordKind>(kind);
    info.receiptms = static_cast<std::int64_t>(field(header, 8));
    info.rawsize = field(header, 16);
    info.packedsize = field(header, 24);
    info.contenthash = field(header, 32);
    const std::uint64_t stored = field(header, kHashedHeaderBytes);
    const std::uint64_t body = size - at - kRecordHeaderBytes;
    if (!header.starts_with(kRecordMagic) || kind > 1 || updatelen > kMaxUpdateText ||
        info.rawsize > kMaxKeptBytes || info.packedsize > kMaxPackedBytes) {
      damaged("a damaged record");
      break;
    }
    if (updatelen > body || info.packedsize > body - updatelen) {
      damaged("a cut record");
      break;
    }
    info.offset = at + kRecordHeaderBytes + updatelen;
    if (!source.readat(at + kRecordHeaderBytes, updatelen, update) ||
        !source.readat(info.offset, static_cast<std::size_t>(info.packedsize), packed)) {
      damaged("an unreadable record");
      break;
    }
    if (checkhash(std::string_view(header).substr(0, kHashedHeaderBytes), update, packed) != stored) {
      damaged("a damaged record");
      break;
    }
    if (info.kind == RecordKind::Delta && read.records.empty()) {
      damaged("a delta without its full refresh");
      break;
    }
    info.update = update;
    read.records.push_back(std::move(info));
    at = read.records.back().offset + read.records.back().packedsize;
  }
  return read;
}

}  // namespace netglobe

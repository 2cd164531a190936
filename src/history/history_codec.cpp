#include "history/history_codec.h"

#include <zstd.h>

#include <algorithm>
#include <bit>

#include "history/history_format.h"

namespace netglobe {
namespace {

// Measured on moving snapshots of a simulated network (see the history
// benchmark): level 3 with matches of at least 7 bytes packs a delta to
// about half of what the default minimum gives, as fast. Shorter matches
// only find pieces of the numbers that moved.
constexpr int kLevel = 3;
constexpr int kDeltaMinMatch = 7;
// The decoder's default limit: every window we write can be read back.
constexpr int kMaxWindowLog = 27;
constexpr int kMinWindowLog = 10;  // the smallest window zstd takes

}  // namespace

struct HistoryPacker::Context {
  ZSTD_CCtx* cctx = ZSTD_createCCtx();
  ~Context() { ZSTD_freeCCtx(cctx); }
};

struct HistoryUnpacker::Context {
  ZSTD_DCtx* dctx = ZSTD_createDCtx();
  ~Context() { ZSTD_freeDCtx(dctx); }
};

HistoryPacker::HistoryPacker() : cctx_(std::make_unique<Context>()) {}
HistoryPacker::~HistoryPacker() = default;
HistoryUnpacker::HistoryUnpacker() : dctx_(std::make_unique<Context>()) {}
HistoryUnpacker::~HistoryUnpacker() = default;

std::string HistoryPacker::pack(std::string_view text, std::string_view prefix) {
  ZSTD_CCtx* c = cctx_->cctx;
  if (!c) return {};
  ZSTD_CCtx_reset(c, ZSTD_reset_session_and_parameters);
  ZSTD_CCtx_setParameter(c, ZSTD_c_compressionLevel, kLevel);
  ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 1);  // see unpack
  if (!prefix.empty()) {
    // The window must reach back over the whole prefix for the matches
    // that make a delta small.
    const std::uint64_t span = std::max<std::uint64_t>(prefix.size() + text.size(), 1);
    const int windowlog = std::clamp(int(std::bit_width(span - 1)), kMinWindowLog, kMaxWindowLog);
    ZSTD_CCtx_setParameter(c, ZSTD_c_windowLog, windowlog);
    ZSTD_CCtx_setParameter(c, ZSTD_c_minMatch, kDeltaMinMatch);
    if (ZSTD_isError(ZSTD_CCtx_refPrefix(c, prefix.data(), prefix.size()))) return {};
  }
  std::string out(ZSTD_compressBound(text.size()), '\0');
  const std::size_t n = ZSTD_compress2(c, out.data(), out.size(), text.data(), text.size());
  if (ZSTD_isError(n)) return {};
  out.resize(n);
  return out;
}

bool HistoryUnpacker::unpack(std::string_view packed, std::string_view prefix,
                             std::uint64_t rawsize, std::string& out) {
  ZSTD_DCtx* d = dctx_->dctx;
  if (!d || rawsize > kMaxKeptBytes) return false;
  // The frame says its own size: checked before anything is allocated.
  if (ZSTD_getFrameContentSize(packed.data(), packed.size()) != rawsize) return false;
  ZSTD_DCtx_reset(d, ZSTD_reset_session_and_parameters);
  ZSTD_DCtx_setParameter(d, ZSTD_d_windowLogMax, kMaxWindowLog);
  if (!prefix.empty() && ZSTD_isError(ZSTD_DCtx_refPrefix(d, prefix.data(), prefix.size()))) {
    return false;
  }
  // One frame exactly: trailing bytes are damage, not a second refresh.
  if (ZSTD_findFrameCompressedSize(packed.data(), packed.size()) != packed.size()) return false;
  // Room to spare: the next text unpacked into this buffer is a little
  // longer or shorter, and a buffer that grows costs fresh pages.
  if (out.capacity() < rawsize) out.reserve(static_cast<std::size_t>(rawsize + rawsize / 16));
  out.resize(static_cast<std::size_t>(rawsize));
  const std::size_t n = ZSTD_decompressDCtx(d, out.data(), out.size(), packed.data(), packed.size());
  // Every frame we write carries a checksum of its text, which zstd checks.
  return !ZSTD_isError(n) && n == rawsize;
}

}  // namespace netglobe

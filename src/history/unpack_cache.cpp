#include "history/unpack_cache.h"

namespace netglobe {

HistoryText UnpackCache::read(const std::string& folder, const HistorySegment& segment, std::size_t record,
                              std::size_t chainstart) {
  Chain& chain = chainof(segment.file, chainstart);
  if (record >= chain.from + chain.count) {
    const FileSource file(folder + "/" + segment.file);
    std::string packed;
    for (std::size_t k = chain.from + chain.count; k <= record; ++k) {
      const RecordInfo& info = segment.records[k];
      if (chain.texts.size() <= chain.count) chain.texts.emplace_back();
      const std::string_view prefix = chain.count == 0 ? std::string_view{} : chain.texts[chain.count - 1];
      if (!file.readat(info.offset, static_cast<std::size_t>(info.packedsize), packed) ||
          !unpacker_.unpack(packed, prefix, info.rawsize, chain.texts[chain.count])) {
        return {false, {}, "history: " + segment.file + ": a kept refresh cannot be read back"};
      }
      ++chain.count;
    }
  }
  return {true, chain.texts[record - chain.from], {}};
}

void UnpackCache::forget(const std::string& file) {
  for (Chain& chain : chains_) {
    if (chain.file == file) chain.file.clear(), chain.count = 0;
  }
}

UnpackCache::Chain& UnpackCache::chainof(const std::string& file, std::size_t from) {
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

}  // namespace netglobe

#include "refdata/directories.h"

#include "base/number_text.h"

namespace netglobe {

namespace {

// Splits the matching lines in file order, as the scan meets them, until
// done says stop: positions a shorter record leaves alone keep what the
// record before it put there, exactly as in the scan.
template <class Each>
void splitmatches(const KeyedLines& file, std::string_view key, FieldBuf& fieldbuf, Each each) {
  for (const std::uint32_t n : file.matches(key)) {
    if (!each(file.lines()[n], fieldbuf)) break;
  }
}

AirportPos findairport(const KeyedLines& file, std::string_view icao, FieldBuf& fieldbuf,
                       bool stopatfirst) {
  AirportPos pos;
  pos.readable = file.readable();
  splitmatches(file, icao, fieldbuf, [&](const std::string& curline, FieldBuf& buf) {
    getfields(curline, buf);
    pos.found = true;
    pos.destlat = leadingnumber(buf(6));
    pos.destlon = leadingnumber(buf(7));
    return !stopatfirst;
  });
  return pos;
}

}  // namespace

AirportPos AirportDirectory::getdestlatlon(std::string_view icao, FieldBuf& fieldbuf) const {
  return findairport(file_, icao, fieldbuf, true);
}

AirportPos AirportDirectory::lastairport(std::string_view icao, FieldBuf& fieldbuf) const {
  return findairport(file_, icao, fieldbuf, false);
}

FirInfo FirDirectory::getfirinfo(std::string_view icao, FieldBuf& fieldbuf) const {
  FirInfo info;
  info.readable = file_.readable();
  splitmatches(file_, icao, fieldbuf, [&](const std::string& curline, FieldBuf& buf) {
    info.firfound = 1;
    // Position 8 is optional: a short record must not inherit an earlier one's.
    buf(8).clear();
    getfields(curline, buf);
    info.destlat = leadingnumber(buf(6));
    info.destlon = leadingnumber(buf(7));
    info.fircode = buf(1);
    if (buf(8).empty()) return true;
    info.fircode = buf(8);
    return false;
  });
  return info;
}

bool OutlineDirectory::refresh() {
  if (!file_.refresh()) return false;
  findblockends();
  return true;
}

void OutlineDirectory::load(LineReader file) {
  file_.load(std::move(file));
  findblockends();
}

void OutlineDirectory::findblockends() {
  const std::vector<std::string>& lines = file_.lines();
  blockend_.assign(lines.size(), static_cast<std::uint32_t>(lines.size()));
  auto next = static_cast<std::uint32_t>(lines.size());
  for (std::size_t i = lines.size(); i-- > 0;) {
    blockend_[i] = next;
    if (lines[i].starts_with('!')) next = static_cast<std::uint32_t>(i);
  }
}

OutlineLines OutlineDirectory::outline(std::string_view key) const {
  OutlineLines found;
  found.readable = file_.readable();
  const auto headers = file_.matches(key);
  if (headers.empty()) return found;
  const std::uint32_t header = headers.front();
  found.found = true;
  const std::vector<std::string>& lines = file_.lines();
  found.points = std::span<const std::string>(lines).subspan(header + 1, blockend_[header] - header - 1);
  return found;
}

}  // namespace netglobe

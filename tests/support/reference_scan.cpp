#include "support/reference_scan.h"

#include <utility>

#include "base/line_reader.h"
#include "base/number_text.h"
#include "refdata/keyed_lines.h"

namespace netglobe {

namespace {

bool keymatches(std::string_view curline, std::string_view icao) {
  return curline.substr(0, 4) == icao;
}

}  // namespace

FirInfo scanfirinfo(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  return scanfirinfo(LineReader(folder + "/firs.dat"), icao, fieldbuf);
}

FirInfo scanfirinfo(LineReader file, std::string_view icao, FieldBuf& fieldbuf) {
  FirInfo info;
  if (!file.isopen()) {
    info.readable = false;
    return info;
  }
  std::string curline;
  while (file.next(curline)) {
    if (!keymatches(curline, icao)) continue;
    info.firfound = 1;
    // Position 8 is optional: a short record must not inherit an earlier one's.
    fieldbuf(8).clear();
    getfields(curline, fieldbuf);
    info.destlat = leadingnumber(fieldbuf(6));
    info.destlon = leadingnumber(fieldbuf(7));
    info.fircode = fieldbuf(1);
    if (!fieldbuf(8).empty()) {
      info.fircode = fieldbuf(8);
      break;
    }
  }
  return info;
}

namespace {

AirportPos scanairport(LineReader file, std::string_view icao, FieldBuf& fieldbuf,
                       bool stopatfirst) {
  AirportPos pos;
  if (!file.isopen()) {
    pos.readable = false;
    return pos;
  }
  std::string curline;
  while (file.next(curline)) {
    if (!keymatches(curline, icao)) continue;
    getfields(curline, fieldbuf);
    pos.found = true;
    pos.destlat = leadingnumber(fieldbuf(6));
    pos.destlon = leadingnumber(fieldbuf(7));
    if (stopatfirst) break;
  }
  return pos;
}

std::string airportspath(const std::string& folder) { return folder + "/airports.dat"; }

}  // namespace

AirportPos scanfirstairport(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  return scanairport(LineReader(airportspath(folder)), icao, fieldbuf, true);
}

AirportPos scanfirstairport(LineReader airports, std::string_view icao, FieldBuf& fieldbuf) {
  return scanairport(std::move(airports), icao, fieldbuf, true);
}

AirportPos scanlastairport(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  return scanairport(LineReader(airportspath(folder)), icao, fieldbuf, false);
}

AirportPos scanlastairport(LineReader airports, std::string_view icao, FieldBuf& fieldbuf) {
  return scanairport(std::move(airports), icao, fieldbuf, false);
}

OutlineLines scanoutline(const std::string& folder, std::string_view key,
                         std::vector<std::string>& storage) {
  return scanoutline(LineReader(folder + "/fir1.dat"), key, storage);
}

OutlineLines scanoutline(LineReader file, std::string_view key, std::vector<std::string>& storage) {
  OutlineLines outline;
  storage.clear();
  if (!file.isopen()) {
    outline.readable = false;
    return outline;
  }
  std::string curline;
  while (file.next(curline)) {
    if (linekey(curline, 1) == key) {
      outline.found = true;
      break;
    }
  }
  if (!outline.found) return outline;
  while (file.next(curline) && !curline.starts_with('!')) storage.push_back(curline);
  outline.points = storage;
  return outline;
}

}  // namespace netglobe

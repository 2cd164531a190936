#include "refdata/directories.h"

#include "base/line_reader.h"
#include "base/number_text.h"

namespace netglobe {

namespace {

bool keymatches(std::string_view curline, std::string_view icao) {
  return curline.substr(0, 4) == icao;
}

}  // namespace

FirInfo getfirinfo(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  FirInfo info;
  LineReader file(folder + "/firs.dat");
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

AirportPos getdestlatlon(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf) {
  AirportPos pos;
  LineReader file(folder + "/airports.dat");
  if (!file.isopen()) {
    pos.readable = false;
    return pos;
  }
  std::string curline;
  while (file.next(curline)) {
    if (!keymatches(curline, icao)) continue;
    getfields(curline, fieldbuf);
    pos.destlat = leadingnumber(fieldbuf(6));
    pos.destlon = leadingnumber(fieldbuf(7));
    break;
  }
  return pos;
}

}  // namespace netglobe

#include "field_text.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace netsim {

std::string timestamp(std::int64_t unixtime) {
  const std::time_t t = static_cast<std::time_t>(unixtime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

std::string hhmm(std::int64_t unixtime) { return timestamp(unixtime).substr(8, 4); }

std::string fixed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

std::string integer(double value) { return std::to_string(std::lround(value)); }

std::string capped(std::string text, std::size_t maxbytes) {
  if (text.size() <= maxbytes) return text;
  std::size_t cut = maxbytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace netsim

#include "feed/peak_file.h"

#include <climits>
#include <ctime>

#include "base/number_text.h"
#include "base/text_search.h"
#include "feed/status_copy.h"

namespace netglobe {
namespace {

std::string withoutblanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t') out += c;
  }
  return out;
}

}  // namespace

std::string peakfilepath(const std::string& folder) { return folder + "/" + kPeakFileName; }

ClockTexts clocknow() { return localclock(systemms()); }

int readpeak(const std::string& path, const std::string& today) {
  return readpeak(LineReader(path), today);
}

int readpeak(LineReader in, const std::string& today) {
  std::string count;
  std::string date;
  if (!in.isopen() || !in.next(count) || !in.next(date)) return 1;
  if (trimmed(date) != trimmed(today)) return 1;
  const double value = leadingnumber(withoutblanks(count));
  // A peak is a count of clients: nothing below 0, nothing beyond an int.
  if (!(value > 0)) return 0;
  return value >= double(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

std::string writepeak(const std::string& path, int topcount, const ClockTexts& now) {
  return storecopy(path, std::to_string(topcount) + "\r\n" + now.date + "\r\n" + now.time);
}

int PeakFile::laden(const ClockTexts& now) {
  day_ = now;
  stored_ = readpeak(path_, now.date);
  return stored_;
}

void PeakFile::startday(const ClockTexts& now) {
  day_ = now;
  stored_ = 0;
}

void PeakFile::keep(int topcount, const ClockTexts& now) {
  if (topcount > stored_ && writepeak(path_, topcount, now).empty()) {
    stored_ = topcount;
    day_ = now;
  }
}

void PeakFile::speichern(int topcount, const ClockTexts& now) {
  // Closed on a later day with no refresh since midnight: the peak is still
  // the earlier day's, and says so.
  const ClockTexts& when = newday(now) ? day_ : now;
  if (writepeak(path_, topcount, when).empty()) stored_ = topcount;
}

}  // namespace netglobe

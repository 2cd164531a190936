#include "feed/peak_file.h"

#include <climits>
#include <ctime>

#include "base/number_text.h"
#include "feed/status_copy.h"

namespace netglobe {
namespace {

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string withoutblanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t') out += c;
  }
  return out;
}

std::string clocktext(const std::tm& t, const char* format) {
  char buf[32];
  return std::strftime(buf, sizeof buf, format, &t) ? buf : "";
}

}  // namespace

std::string peakfilepath(const std::string& folder) { return folder + "/" + kPeakFileName; }

ClockTexts clocknow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {clocktext(local, "%Y-%m-%d"), clocktext(local, "%H:%M:%S")};
}

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

int PeakFile::laden() {
  stored_ = readpeak(path_, clocknow().date);
  return stored_;
}

void PeakFile::keep(int topcount) {
  if (topcount > stored_ && writepeak(path_, topcount, clocknow()).empty()) stored_ = topcount;
}

void PeakFile::speichern(int topcount) {
  if (writepeak(path_, topcount, clocknow()).empty()) stored_ = topcount;
}

}  // namespace netglobe

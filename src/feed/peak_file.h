#pragma once

#include <string>

#include "base/line_reader.h"

namespace netglobe {

inline constexpr const char* kPeakFileName = "topconn.txt";

std::string peakfilepath(const std::string& folder);

// Local date (year-month-day) and time (hours:minutes:seconds) as the peak
// file writes them.
struct ClockTexts {
  std::string date;
  std::string time;
};
ClockTexts clocknow();

// The peak stored at path if it was written on `today`, else 1 (no file, a
// short file, another day or a date in another form). A first line without
// a number gives 0; blanks in it are ignored.
int readpeak(const std::string& path, const std::string& today);
int readpeak(LineReader in, const std::string& today);

// Writes the three lines (peak, date, time) through a temporary file renamed
// into place, so a crash never leaves a cut file. "" or why it failed.
std::string writepeak(const std::string& path, int topcount, const ClockTexts& now);

// The day's peak client count of one program folder, kept across restarts.
class PeakFile {
 public:
  explicit PeakFile(const std::string& folder) : path_(peakfilepath(folder)) {}

  // At load: the peak of today's earlier runs, 1 on a new day.
  int laden();
  // After every refresh: writes when the peak rose above what the file
  // holds, so an abnormal end does not lose it.
  void keep(int topcount);
  // At shutdown: writes the peak with the closing date.
  void speichern(int topcount);

 private:
  std::string path_;
  int stored_ = 0;  // the peak the file holds for today
};

}  // namespace netglobe

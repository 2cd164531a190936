#pragma once

#include "base/local_time.h"
#include <string>

#include "base/line_reader.h"
#include "base/local_time.h"

namespace netglobe {

inline constexpr const char* kPeakFileName = "topconn.txt";

std::string peakfilepath(const std::string& folder);

// The local date and time now, as the peak file writes them.
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
  int laden(const ClockTexts& now = clocknow());
  // A refresh at now falls on another local day than the peak's: the
  // day's peak starts again.
  bool newday(const ClockTexts& now) const { return now.date != day_.date; }
  void startday(const ClockTexts& now);
  // After every refresh: writes when the peak rose above what the file
  // holds, so an abnormal end does not lose it.
  void keep(int topcount, const ClockTexts& now = clocknow());
  // At shutdown: writes the peak, dated the day it belongs to.
  void speichern(int topcount, const ClockTexts& now = clocknow());

 private:
  std::string path_;
  int stored_ = 0;   // the peak the file holds for day_
  ClockTexts day_;   // the peak's day, and when it was last written
};

}  // namespace netglobe

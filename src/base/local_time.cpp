#include "base/local_time.h"

#include <chrono>
#include <ctime>

namespace netglobe {
namespace {

std::tm localof(std::int64_t ms) {
  // Whole seconds, rounded down also before 1970.
  const std::time_t seconds = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

std::string clocktext(const std::tm& t, const char* format) {
  char buf[32];
  return std::strftime(buf, sizeof buf, format, &t) ? buf : "";
}

}  // namespace

ClockTexts localclock(std::int64_t ms) {
  const std::tm local = localof(ms);
  return {clocktext(local, "%Y-%m-%d"), clocktext(local, "%H:%M:%S")};
}

int localsecond(std::int64_t ms) { return localof(ms).tm_sec; }

std::int64_t systemms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace netglobe

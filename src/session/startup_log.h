#pragma once

#include <string>

namespace netglobe {

// Appends one line to the startup log text the way the log box shows it.
inline void appendlogline(std::string& log, const std::string& line) { log += line + "\r\n"; }

// Whole seconds a startup took, from the seconds-of-minute at its start and
// end; a startup of a minute or more is counted modulo 60.
inline int startupseconds(int startsec, int endsec) {
  const int elapsed = endsec - startsec;
  return elapsed < 0 ? elapsed + 60 : elapsed;
}

}  // namespace netglobe

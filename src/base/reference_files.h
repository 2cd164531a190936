#pragma once

#include <string>

namespace netglobe {

// The files the program only reads: reference data and the globe image.
inline constexpr const char* kCoastlineFileName = "coastline.dat";
inline constexpr const char* kOutlineFileName = "fir1.dat";
inline constexpr const char* kFirFileName = "firs.dat";
inline constexpr const char* kAirportFileName = "airports.dat";
inline constexpr const char* kGlobeImageName = "velmar.jpg";

// Where each of them is read from. They need not share a folder: a user's
// own copy of one file stands in for the installed one.
struct ReferenceFiles {
  std::string coastline;
  std::string fir1;  // FIR outlines
  std::string firs;  // FIR directory
  std::string airports;
  std::string globeimage;
};

// Calls f(path, file name) for each member of files, in the order above.
template <class Files, class F>
void eachreferencefile(Files& files, F f) {
  f(files.coastline, kCoastlineFileName);
  f(files.fir1, kOutlineFileName);
  f(files.firs, kFirFileName);
  f(files.airports, kAirportFileName);
  f(files.globeimage, kGlobeImageName);
}

// Every file in one folder.
ReferenceFiles referencefilesin(const std::string& folder);

}  // namespace netglobe

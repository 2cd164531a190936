#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/fields.h"
#include "base/reference_files.h"
#include "refdata/keyed_lines.h"
#include "refdata/lookup_results.h"

namespace netglobe {

// airports.dat in memory. Each lookup gives what a read of the file from its
// start gives, fieldbuf included, without reading it.
class AirportDirectory {
 public:
  explicit AirportDirectory(const std::string& path) : file_(path, 0) {}
  bool refresh() { return file_.refresh(); }
  // The file's content from elsewhere (text in memory, for instance).
  void load(LineReader file) { file_.load(std::move(file)); }

  // The first line of the code wins; its fields stay in fieldbuf. Without a
  // match fieldbuf is left as it was.
  AirportPos getdestlatlon(std::string_view icao, FieldBuf& fieldbuf) const;
  // Every line of the code is split in turn, so the last one wins (the scan
  // of the approach and tower layers, which reads the file to its end).
  AirportPos lastairport(std::string_view icao, FieldBuf& fieldbuf) const;

 private:
  KeyedLines file_;
};

// firs.dat in memory.
class FirDirectory {
 public:
  explicit FirDirectory(const std::string& path) : file_(path, 0) {}
  bool refresh() { return file_.refresh(); }
  void load(LineReader file) { file_.load(std::move(file)); }

  // The first record of the code that names a boundary code (position 8)
  // wins; otherwise the last record of the code does. fieldbuf keeps the
  // fields of the last matching record split.
  FirInfo getfirinfo(std::string_view icao, FieldBuf& fieldbuf) const;

 private:
  KeyedLines file_;
};

// The outlines of fir1.dat in memory, found by the code in characters 2 to 5
// of their header line.
class OutlineDirectory {
 public:
  explicit OutlineDirectory(const std::string& path) : file_(path, 1) {}
  bool refresh();
  void load(LineReader file);

  // The outline under the first header of the key: the lines after it up to
  // the next line that begins with "!", or to the end of the file. The lines
  // stay valid until the next refresh.
  OutlineLines outline(std::string_view key) const;

 private:
  void findblockends();

  KeyedLines file_;
  std::vector<std::uint32_t> blockend_;  // per line: the first later line that begins with "!"
};

// The three directories the traffic layers and labels ask. refresh() is
// called once per refresh or rebuild, never per lookup.
struct RefDirectories {
  explicit RefDirectories(const ReferenceFiles& files)
      : airports(files.airports), firs(files.firs), outlines(files.fir1) {}
  // All three files in one folder.
  explicit RefDirectories(const std::string& folder) : RefDirectories(referencefilesin(folder)) {}
  void refresh() {
    airports.refresh();
    firs.refresh();
    outlines.refresh();
  }
  AirportDirectory airports;
  FirDirectory firs;
  OutlineDirectory outlines;
};

}  // namespace netglobe

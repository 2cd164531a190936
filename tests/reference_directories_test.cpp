// The directories must answer every lookup exactly as a read of the file
// from its start does, the field buffer included, and must follow the files
// when they appear, change or vanish between refreshes.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "refdata/directories.h"
#include "support/reference_scan.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

// Positions a lookup does not write must come out as they went in, so both
// sides start from a distinct text in every position.
FieldBuf junkbuf() {
  FieldBuf buf;
  for (int n = 1; n <= FieldBuf::kPositions; ++n) buf(n) = "junk" + std::to_string(n);
  return buf;
}

std::string text(const FieldBuf& buf) {
  std::string out;
  for (int n = 1; n <= FieldBuf::kPositions; ++n) out += buf(n) + "|";
  return out;
}
std::string text(const AirportPos& p) {
  std::ostringstream out;
  out.precision(17);
  out << p.readable << p.found << " " << p.destlat << " " << p.destlon;
  return out.str();
}
std::string text(const FirInfo& f) {
  std::ostringstream out;
  out.precision(17);
  out << f.readable << f.firfound << " " << f.destlat << " " << f.destlon << " " << f.fircode;
  return out.str();
}
std::string text(const OutlineLines& o) {
  std::string out = std::to_string(o.readable) + std::to_string(o.found) + " " + std::to_string(o.points.size());
  for (const std::string& point : o.points) out += "/" + point;
  return out;
}

struct Probes {
  std::vector<std::string> airports, firs, outlines;
};

struct Outcome {
  std::string mismatch;  // the first lookup where scan and directory differ
  int found = 0;         // lookups that found something, to show the probes hit
};

// Asks every probe of the scans and of the directories, carrying one field
// buffer per side through all lookups in turn.
Outcome compare(const std::string& folder, const RefDirectories& dirs, const Probes& probes) {
  Outcome outcome;
  FieldBuf scanbuf = junkbuf(), dirbuf = junkbuf();
  auto same = [&](const char* what, std::string_view code, std::string scan, std::string dir, bool found) {
    outcome.found += found;
    scan += " " + text(scanbuf);
    dir += " " + text(dirbuf);
    if (scan != dir) outcome.mismatch = std::string(what) + "(" + std::string(code) + ")\n scan " + scan + "\n dir  " + dir;
    return scan == dir;
  };
  for (const std::string& code : probes.airports) {
    const AirportPos first = scanfirstairport(folder, code, scanbuf);
    if (!same("getdestlatlon", code, text(first), text(dirs.airports.getdestlatlon(code, dirbuf)), first.found))
      return outcome;
    const AirportPos last = scanlastairport(folder, code, scanbuf);
    if (!same("lastairport", code, text(last), text(dirs.airports.lastairport(code, dirbuf)), last.found))
      return outcome;
  }
  for (const std::string& code : probes.firs) {
    const FirInfo info = scanfirinfo(folder, code, scanbuf);
    if (!same("getfirinfo", code, text(info), text(dirs.firs.getfirinfo(code, dirbuf)), info.firfound))
      return outcome;
  }
  std::vector<std::string> storage;
  for (const std::string& code : probes.outlines) {
    const OutlineLines outline = scanoutline(folder, code, storage);
    if (!same("outline", code, text(outline), text(dirs.outlines.outline(code)), outline.found))
      return outcome;
  }
  return outcome;
}

// The keys of a text's lines: up to four characters from offset on.
std::set<std::string> keysof(const std::string& content, std::size_t offset, bool headersonly = false) {
  std::set<std::string> keys;
  std::istringstream in(content);
  for (std::string line; std::getline(in, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (headersonly && !line.starts_with('!')) continue;
    keys.insert(line.size() > offset ? line.substr(offset, 4) : "");
  }
  return keys;
}

// Each key as it is and, for every stride-th one, in lower case, cut to
// three characters and one longer; and codes no file holds.
std::vector<std::string> probesof(const std::set<std::string>& keys, std::size_t stride) {
  std::vector<std::string> probes;
  std::size_t i = 0;
  for (const std::string& key : keys) {
    probes.push_back(key);
    if (i++ % stride != 0) continue;
    std::string lower = key;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    probes.insert(probes.end(), {lower, key.substr(0, 3), key + "X"});
  }
  probes.insert(probes.end(), {"", "Z", "ZZZZ", "ZZZZZ", "!"});
  return probes;
}

std::string readall(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReferenceDirectories, AnswerLikeTheScansOnTheShippedData) {
  const std::string folder = NETGLOBE_DATA_DIR;
  RefDirectories dirs(folder);
  dirs.refresh();
  const std::string outlines = readall(folder + "/fir1.dat");
  std::set<std::string> outlinekeys = keysof(outlines, 1, true);
  // A few keys that only coordinate lines carry in characters 2 to 5.
  std::size_t i = 0;
  for (const std::string& key : keysof(outlines, 1))
    if (i++ % 97 == 0) outlinekeys.insert(key);
  const std::set<std::string> airportkeys = keysof(readall(folder + "/airports.dat"), 0);
  const std::set<std::string> firkeys = keysof(readall(folder + "/firs.dat"), 0);
  ASSERT_GT(airportkeys.size(), 4000u);
  // Each airport code costs two reads of the whole file, so its variants
  // are asked of a sample.
  const Outcome outcome =
      compare(folder, dirs, {probesof(airportkeys, 20), probesof(firkeys, 1), probesof(outlinekeys, 1)});
  EXPECT_EQ(outcome.mismatch, "");
  EXPECT_GT(outcome.found, static_cast<int>(2 * airportkeys.size() + firkeys.size() + 250));
}

// Writes over the file in place with text of the same size, its clock set
// 1 ns past the old one: only the nanoseconds tell the versions apart.
void rewriteinplace(const std::string& path, const std::string& content) {
  const FileIdentity old = fileidentity(path);
  ASSERT_EQ(old.size, content.size());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  const std::int64_t ns = old.mtimens + 1;
  const timespec times[2] = {{0, UTIME_OMIT}, {ns / 1000000000, ns % 1000000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  const FileIdentity now = fileidentity(path);
  EXPECT_TRUE(now.inode == old.inode && now.size == old.size && now.mtimens == ns);
}

// Puts another file of the same size and clock in place of the old one:
// only the inode tells the versions apart.
void replacebyrename(const std::string& path, const std::string& content) {
  const FileIdentity old = fileidentity(path);
  ASSERT_EQ(old.size, content.size());
  const std::string fresh = path + ".new";
  std::ofstream(fresh, std::ios::binary) << content;
  const timespec times[2] = {{0, UTIME_OMIT}, {old.mtimens / 1000000000, old.mtimens % 1000000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, fresh.c_str(), times, 0), 0);
  std::filesystem::rename(fresh, path);
  const FileIdentity now = fileidentity(path);
  EXPECT_TRUE(now.inode != old.inode && now.size == old.size && now.mtimens == old.mtimens);
}

using Files = std::array<std::string, 3>;  // airports.dat, firs.dat, fir1.dat
const Files kNames = {"airports.dat", "firs.dat", "fir1.dat"};

// Duplicate codes, short and empty records, a code followed by a fifth
// character, lower case, a record of more than 100 fields, CR LF, last
// lines without LF, an outline of more than 500 points and one that runs
// to the end of the file without a closing "!" line.
Files firstversion() {
  std::string longrecord = "LONG";
  for (int i = 0; i < 120; ++i) longrecord += ":f" + std::to_string(i);
  std::string bigoutline = "!BIGG\n";
  for (int i = 0; i < 501; ++i) bigoutline += "5:" + std::to_string(i % 7) + "\n";
  return {"EDDF:Frankfurt Main:Frankfurt:::50.03:8.57:a:b:c:d:e:f\r\nEDDM:Muenchen:Muenchen:::48.35:11.78\r\n"
          "EDDF:Second:Other:::1:2\r\nEDD\r\n\r\nEDDFX:Longer:::3:4\r\neddm:lower:lower:::5:6\r\nEDDL\r\n" +
              longrecord + "\r\nLOWW:Wien:Wien:::48.11:16.57",
          "EDGG::Langen:::50:8\nEDGG::Langen 2:::51:9:EDGX:more\nEDGG::Late:::1:1:EDGY\nLFFF::Paris:::48:2:::x\n"
          "LFFF::Paris 2:::49:3\nEDW\n\nEDMM::Muenchen:::48:11:EDMX",
          "!EDGX\r\n50:8\r\n51:9\r\n!\r\n!EDGG\r\n1:1\r\n!LFFF\r\n2:2\r\n3:3\r\n!EDGX\r\n9:9\r\n!\r\n" + bigoutline +
              "!\n!EDMX\n4:4\n5:5"};
}

// Other sizes; the outlines end with a header as the last line.
Files secondversion() {
  return {"EDDF:Third:x:::7:7\nEDDF:Fourth:y:::8:8\nKJFK:Kennedy:New York:::40.6:-73.8\n",
          "EDGG::Only:::10:10\nEDDD::x:::3:3:EDDX\n", "!EDGX\n7:7\n!EDMX\n8:8\n!EDGG"};
}

// The same sizes with other codes.
Files thirdversion() {
  Files files = secondversion();
  for (std::string& content : files) std::ranges::replace(content, 'D', 'E');
  return files;
}

TEST(ReferenceDirectories, FollowTheFilesThroughChanges) {
  TempFolder tmp;
  RefDirectories dirs(tmp.path());
  std::set<std::string> keys;
  for (const Files& files : {firstversion(), secondversion(), thirdversion()})
    for (const std::string& content : files) keys.merge(keysof(content, 0)), keys.merge(keysof(content, 1, true));
  const std::vector<std::string> codes = probesof(keys, 1);

  auto each = [&](const std::function<void(const std::string&, const std::string&)>& change, const Files& files) {
    return [=, &tmp] {
      for (std::size_t i = 0; i < files.size(); ++i) change(tmp.file(kNames[i]), files[i]);
    };
  };
  auto write = [](const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  };
  auto remove = [](const std::string& path, const std::string&) { std::filesystem::remove(path); };
  struct Step {
    const char* what;
    std::function<void()> change;
    bool reread;
    bool readable;
  };
  const Step steps[] = {
      {"no files yet", [] {}, true, false},
      {"still none", [] {}, false, false},
      {"the files appear", each(write, firstversion()), true, true},
      {"unchanged", [] {}, false, true},
      {"rewritten with other sizes", each(write, secondversion()), true, true},
      {"rewritten in place, same size, 1 ns later", each(rewriteinplace, thirdversion()), true, true},
      {"replaced, same size and time, other inode", each(replacebyrename, secondversion()), true, true},
      {"removed", each(remove, Files{}), true, false},
      {"still removed", [] {}, false, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    const std::array<bool, 3> reread = {dirs.airports.refresh(), dirs.firs.refresh(), dirs.outlines.refresh()};
    EXPECT_EQ(reread, (std::array{step.reread, step.reread, step.reread}));
    const Outcome outcome = compare(tmp.path(), dirs, {codes, codes, codes});
    EXPECT_EQ(outcome.mismatch, "");
    EXPECT_EQ(outcome.found > 0, step.readable);
    FieldBuf buf;
    EXPECT_EQ(dirs.airports.getdestlatlon("EDDF", buf).readable, step.readable);
  }
}

}  // namespace
}  // namespace netglobe

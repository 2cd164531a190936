#include "refdata/home_file.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/line_reader.h"

namespace netglobe {

namespace {

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r,", at);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find_first_of(" \t\r,", start);
    if (end == std::string_view::npos) end = line.size();
    out.push_back(line.substr(start, end - start));
    at = end;
  }
  return out;
}

// A whole number text, nothing after it: "54.2" yes, "54x" or "" no.
bool degrees(std::string_view text, double& value) {
  if (text.empty() || text.size() > 32) return false;
  const std::string copy(text);
  char* end = nullptr;
  value = std::strtod(copy.c_str(), &end);
  return end == copy.c_str() + copy.size() && std::isfinite(value);
}

bool readbox(const std::vector<std::string_view>& w, RegionBox& box) {
  if (w.size() != 5) return false;
  RegionBox b;
  if (!degrees(w[1], b.south) || !degrees(w[2], b.north) || !degrees(w[3], b.west) ||
      !degrees(w[4], b.east)) {
    return false;
  }
  if (b.south < -90 || b.north > 90 || b.south > b.north) return false;
  if (b.west < -180 || b.west > 180 || b.east < -180 || b.east > 180) return false;
  box = b;
  return true;
}

}  // namespace

std::string homecode(std::string_view text) {
  if (text.size() != 4) return {};
  std::string code;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (!std::isalnum(u) || u >= 0x80) return {};
    code += static_cast<char>(std::toupper(u));
  }
  return code;
}

bool homecodes(std::string_view text, std::vector<std::string>& codes, std::string& bad) {
  for (std::string_view word : words(text)) {
    std::string code = homecode(word);
    if (code.empty()) {
      bad = std::string(word.substr(0, 40));
      return false;
    }
    codes.push_back(std::move(code));
  }
  return true;
}

HomeRegion parsehome(const std::vector<std::string>& lines, std::vector<std::string>& notes) {
  HomeRegion region;
  std::vector<std::string> airports;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (i == 0 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    const std::vector<std::string_view> w = words(line);
    if (w.empty() || w.front().starts_with('#')) continue;
    const auto skipped = [&](const char* why) {
      constexpr std::size_t kShown = 40;
      const std::string_view shown = line.substr(0, kShown);
      notes.push_back(std::string(kHomeFileName) + " line " + std::to_string(i + 1) + ": \"" +
                      std::string(shown) + (line.size() > kShown ? "..." : "") + "\" " + why +
                      "; skipped");
    };
    if (w.front() == "box") {
      if (!readbox(w, region.box)) skipped("is not \"box SOUTH NORTH WEST EAST\" in degrees");
      continue;
    }
    std::vector<std::string> codes;
    std::string bad;
    if (!homecodes(line, codes, bad)) {
      skipped("holds something that is not a four-character aerodrome code");
      continue;
    }
    airports.insert(airports.end(), codes.begin(), codes.end());
  }
  if (!airports.empty()) region.airports = std::move(airports);
  return region;
}

HomeFile::HomeFile(const std::string& folder)
    : path_(folder.empty() ? kHomeFileName : folder + "/" + kHomeFileName) {}

bool HomeFile::refresh() {
  const FileIdentity now = fileidentity(path_);
  if (loaded_ && now == identity_) return false;
  loaded_ = true;
  identity_ = now;
  notes_.clear();
  region_ = HomeRegion();
  if (!now.exists) return true;
  LineReader file(path_);
  if (!file.isopen()) {
    notes_.push_back("cannot read " + path_ + ": " + std::strerror(errno) +
                     "; using the built-in home region");
    return true;
  }
  std::vector<std::string> lines;
  std::string line;
  while (file.next(line)) lines.push_back(line);
  region_ = parsehome(lines, notes_);
  return true;
}

}  // namespace netglobe

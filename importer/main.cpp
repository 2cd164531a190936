// netglobe-import-firs: turns FIR boundaries (a GeoJSON FeatureCollection)
// into fir1.dat and firs.dat in the program's folder.

#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "fir_import.h"
#include "replace_files.h"

namespace {

constexpr const char* kUsage =
    "usage: netglobe-import-firs INPUT.geojson [OUTPUT_DIR] [--strict]\n"
    "Writes fir1.dat and firs.dat into OUTPUT_DIR (default: the current folder), replacing\n"
    "the files there. Features that cannot be used are skipped and listed; with --strict\n"
    "any of them stops the import and nothing is written.\n";

int fail(const std::string& message) {
  std::cerr << "netglobe-import-firs: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace netglobe::importer;
  std::vector<std::string> paths;
  bool strict = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--strict") {
      strict = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::cerr << "netglobe-import-firs: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty() || paths.size() > 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string folder = paths.size() > 1 ? paths[1] : ".";
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return fail(folder + " is not a folder");
  std::ifstream in(paths[0], std::ios::binary);
  if (!in) return fail("cannot read " + paths[0]);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    const FirImport result = importfirs(text);
    if (strict && !result.problems.empty()) {
      std::cerr << importsummary(result);
      return fail("nothing written: --strict takes every feature or none");
    }
    if (result.firs_written == 0) {
      std::cerr << importsummary(result);
      return fail("nothing written: no usable FIR in " + paths[0]);
    }
    replacefiles(folder, {{"fir1.dat", result.fir1}, {"firs.dat", result.firs}});
    std::cout << importsummary(result) << "written to " << folder << "/fir1.dat and " << folder
              << "/firs.dat\n";
  } catch (const ImportError& e) {
    return fail(e.what());
  }
  return 0;
}

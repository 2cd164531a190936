// netglobe-import-firs: turns FIR boundaries (a GeoJSON FeatureCollection)
// into fir1.dat and firs.dat in the program's folder.

#include <iostream>
#include <string>
#include <vector>

#include "fir_import.h"

namespace {

constexpr const char* kUsage =
    "usage: netglobe-import-firs INPUT.geojson [OUTPUT_DIR] [--strict]\n"
    "Writes fir1.dat and firs.dat into OUTPUT_DIR (default: the current folder), replacing\n"
    "the files there. Features that cannot be used are skipped and listed; with --strict\n"
    "any of them stops the import and nothing is written.\n";

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
  try {
    const FirImport result = importfile(paths[0], folder, strict);
    std::cout << importsummary(result) << "written: " << folder << "/fir1.dat, " << folder << "/firs.dat\n";
  } catch (const ImportError& e) {
    std::cerr << e.details << "netglobe-import-firs: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

// Feeds arbitrary bytes to the FIR importer's reading of GeoJSON and to
// everything it does with what it reads: joining areas, outlines, both files.
// Build with clang and NETGLOBE_BUILD_FUZZ=ON (README).
#include <cstdint>
#include <string_view>

#include "fir_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace netglobe::importer;
  try {
    const FirImport result = importfirs(std::string_view(reinterpret_cast<const char*>(data), size));
    importsummary(result);
  } catch (const ImportError&) {
    // Not JSON or not a FeatureCollection: refused as a whole.
  }
  return 0;
}

#include "base/reference_files.h"

namespace netglobe {

ReferenceFiles referencefilesin(const std::string& folder) {
  ReferenceFiles files;
  eachreferencefile(files, [&](std::string& path, const char* name) { path = folder + "/" + name; });
  return files;
}

}  // namespace netglobe

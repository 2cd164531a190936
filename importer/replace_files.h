#pragma once

#include <string>
#include <utility>
#include <vector>

namespace netglobe::importer {

// Writes every file under a temporary name in the folder first and renames
// them into place only when all of them are written: a failed import leaves
// the files that were there as they were, never half written. Throws
// ImportError with the reason.
void replacefiles(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace netglobe::importer

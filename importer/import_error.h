#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace netglobe::importer {

// The import as a whole cannot go on: nothing is written. details holds what
// the user should see before the reason (the summary of a refused import).
struct ImportError : std::runtime_error {
  explicit ImportError(const std::string& reason, std::string details = "")
      : std::runtime_error(reason), details(std::move(details)) {}
  std::string details;
};

// Something of the input that was left out, and which feature it was.
struct Problem {
  std::string reason;
  std::string example;   // for example: feature 12 "XYZ"
  bool skipped = true;   // false: only a part of the feature was left out
};

}  // namespace netglobe::importer

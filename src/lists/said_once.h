#pragma once

#include <map>
#include <string>

namespace netglobe {

// Lets a failure that lasts from one refresh to the next be said once: true
// the first time a source gives a reason, and again only when its reason
// changes or comes back after the source had recovered (empty reason).
class SaidOnce {
 public:
  bool shouldsay(const std::string& source, const std::string& reason) {
    std::string& last = last_[source];
    if (reason == last) return false;
    last = reason;
    return !reason.empty();
  }

 private:
  std::map<std::string, std::string> last_;
};

}  // namespace netglobe

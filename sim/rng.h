#pragma once

#include <cstdint>
#include <iterator>

namespace netsim {

// A small deterministic generator: the same key always gives the same
// sequence, on every platform (the standard distributions do not).
class Rng {
 public:
  explicit Rng(std::uint64_t key) : state_(key) {}
  std::uint64_t next();
  double unit();     // [0, 1)
  int below(int n);  // [0, n), n > 0
  double range(double a, double b);
  bool chance(double p) { return unit() < p; }

 private:
  std::uint64_t state_;
};

// Mixes values into one generator key.
std::uint64_t mixkey(std::uint64_t a, std::uint64_t b);

// One element of a non-empty array or vector, each as likely.
template <typename Items>
const auto& pickfrom(Rng& rng, const Items& items) {
  return items[rng.below(static_cast<int>(std::size(items)))];
}

}  // namespace netsim

#include "rng.h"

#include <algorithm>

namespace netsim {

std::uint64_t Rng::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

int Rng::below(int n) { return std::min(n - 1, static_cast<int>(unit() * n)); }

double Rng::range(double a, double b) { return a + (b - a) * unit(); }

std::uint64_t mixkey(std::uint64_t a, std::uint64_t b) {
  Rng rng(a ^ (b * 0xD1342543DE82EF95ull + 0x632BE59BD9B4E019ull));
  return rng.next();
}

}  // namespace netsim

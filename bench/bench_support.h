#pragma once

#include <cstdint>
#include <string>

#include "population.h"

namespace netbench {

// Every benchmark reads the network at this moment, so runs compare.
inline constexpr std::int64_t kTime = 1765100000;
inline constexpr std::uint64_t kSeed = 1;

// The simulated network with the built-in reference data (the same on every
// machine, whatever data files lie beside the program).
const netsim::Network& network(int clients);

// A folder for the local copies, removed when the program ends.
const std::string& scratchfolder();

// The local copy of a snapshot of the given size, as a refresh stores it.
std::string storedsnapshot(int clients);

}  // namespace netbench

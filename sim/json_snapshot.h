#pragma once

#include <cstdint>
#include <string>

#include "population.h"
#include "snapshot.h"

namespace netsim {

// The network at unixtime as one of the two JSON documents live networks
// publish (layout A or B), the same clients as the text layout's. With a
// share of bad entries, that share of client entries comes out broken: a
// wrong type, a missing or null key, or (once) a string of megabytes.
std::string jsonsnapshot(const Network& network, std::int64_t unixtime, const SnapshotOptions& options);

// "2024-01-01T12:00:00" plus a fraction of the given digits and "Z".
std::string isotime(std::int64_t unixtime, int fractiondigits);

}  // namespace netsim

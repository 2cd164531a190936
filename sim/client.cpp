#include "client.h"

#include <cmath>

#include "field_text.h"

namespace netsim {

const std::array<ServerInfo, 6> kServers = {{
    {"EUROPE-CW", "eu-central.netsim.invalid", "Frankfurt, Germany", "Europe Central West"},
    {"EUROPE-N", "eu-north.netsim.invalid", "Stockholm, Sweden", "Europe North"},
    {"EUROPE-S", "eu-south.netsim.invalid", "Milan, Italy", "Europe South"},
    {"USA-EAST", "us-east.netsim.invalid", "New York, USA", "America East"},
    {"USA-WEST", "us-west.netsim.invalid", "San Jose, USA", "America West"},
    {"ASIA-SE", "asia-se.netsim.invalid", "Singapore", "Asia South East"},
}};

std::string Client::line() const {
  std::string out;
  std::size_t size = 0;
  for (const std::string& f : fields) size += f.size() + 1;
  out.reserve(size);
  for (const std::string& f : fields) {
    out += f;
    out += ':';
  }
  return out;
}

const ServerInfo& serverfor(Rng& rng, double lon) {
  if (lon < -30) return kServers[3 + rng.below(2)];
  if (lon > 60) return kServers[5];
  return kServers[rng.below(3)];
}

void setpressure(Client& c, std::uint64_t key, std::int64_t now) {
  Rng rng(mixkey(key, static_cast<std::uint64_t>(now / 3600)));
  const double hpa = std::round(rng.range(992, 1034));
  c.field(40) = fixed(hpa * 0.02953, 2);
  c.field(41) = integer(hpa);
}

}  // namespace netsim

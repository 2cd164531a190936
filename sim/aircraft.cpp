#include "aircraft.h"

namespace netsim {
namespace {

constexpr Aircraft kAirliners[] = {
    {"A319/M", {447, 39000, 2300, 2000, 170}},   {"A320/M", {450, 39000, 2200, 2000, 170}},
    {"A321/M", {450, 39000, 2000, 2000, 175}},   {"B737/M", {445, 41000, 2300, 2000, 170}},
    {"B738/M", {452, 41000, 2200, 2100, 175}},   {"E190/M", {440, 41000, 2400, 2000, 160}},
    {"CRJ9/M", {445, 41000, 2500, 2100, 160}},   {"H/A333/L", {470, 41000, 1900, 2000, 180}},
    {"H/A359/L", {488, 43000, 2000, 2100, 180}}, {"H/B77W/L", {490, 43000, 1800, 2000, 180}},
    {"H/B789/L", {488, 43000, 2000, 2100, 180}}, {"H/B744/L", {490, 41000, 1700, 2000, 185}},
};
constexpr Aircraft kTurboprops[] = {
    {"AT76/M", {275, 25000, 1400, 1500, 130}},
    {"DH8D/M", {300, 27000, 1800, 1700, 135}},
    {"SF34/M", {270, 25000, 1500, 1500, 125}},
    {"C208/L", {165, 15000, 800, 900, 100}},
};
constexpr Aircraft kLightAircraft[] = {
    {"C172/L", {115, 9000, 700, 500, 70}},   {"PA28/L", {120, 9000, 700, 500, 70}},
    {"SR22/L", {170, 15000, 1000, 800, 85}}, {"BE58/L", {190, 17000, 1200, 1000, 95}},
    {"DA40/L", {125, 10000, 800, 600, 70}},
};

}  // namespace

const Aircraft& pickaircraft(Rng& rng, AircraftClass cls) {
  switch (cls) {
    case AircraftClass::Airliner: return pickfrom(rng, kAirliners);
    case AircraftClass::Turboprop: return pickfrom(rng, kTurboprops);
    case AircraftClass::Light: break;
  }
  return pickfrom(rng, kLightAircraft);
}

double minroutenm(AircraftClass cls) {
  switch (cls) {
    case AircraftClass::Airliner: return 100;
    case AircraftClass::Turboprop: return 40;
    case AircraftClass::Light: break;
  }
  return 15;
}

}  // namespace netsim

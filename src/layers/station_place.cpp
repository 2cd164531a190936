#include "layers/station_place.h"

#include <string>

namespace netglobe {

std::string_view stationcode(std::string_view callsign) { return callsign.substr(0, callsign.find('_')); }

CodePlace airportofcode(std::string_view callsign, const AirportDirectory& airports, FieldBuf& fieldbuf) {
  const std::string code(stationcode(callsign));  // the callsign may lie in fieldbuf
  const AirportPos airport = airports.lastairport(code, fieldbuf);
  CodePlace place{airport.readable, std::nullopt};
  if (airport.found) place.at = StationSpot{airport.destlat, airport.destlon};
  return place;
}

CodePlace firofcode(std::string_view callsign, const FirDirectory& firs, FieldBuf& fieldbuf) {
  const std::string code(stationcode(callsign));
  const FirInfo fir = firs.getfirinfo(code, fieldbuf);
  CodePlace place{fir.readable, std::nullopt};
  if (fir.firfound) place.at = StationSpot{fir.destlat, fir.destlon};
  return place;
}

}  // namespace netglobe

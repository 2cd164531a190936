#include "session/traffic_plan.h"

#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/station_layers.h"
#include "lists/pilot_labels.h"
#include "lists/station_labels.h"

namespace netglobe {
namespace {

using T = TrafficLayer;

constexpr PlannedLayer kStartup[] = {
    {T::ActiveFir, 0, "Show ACT-Fir's"},
    {T::Chiefs, 0, "Show Chiefs"},
    {T::Approach, 0.8, "Show APP's"},
    {T::Tower, 0.1, "Show TWR's"},
    {T::CtrLabels},
    {T::AprLabels},
    {T::TwrLabels},
    {T::PilotLabels},
    {T::Aircraft, 0.05, "Show Aircrafts"},
    {T::Direction},
};

constexpr PlannedLayer kRefresh[] = {
    {T::Aircraft, 0.05}, {T::Direction},  {T::ActiveFir}, {T::Chiefs},    {T::Approach, 0.8},
    {T::Tower, 0.08},    {T::CtrLabels}, {T::AprLabels}, {T::TwrLabels}, {T::PilotLabels},
};

}  // namespace

std::span<const PlannedLayer> startupplan() { return kStartup; }
std::span<const PlannedLayer> refreshplan() { return kRefresh; }

Layer buildtraffic(TrafficLayer layer, double size, const TrafficSources& from) {
  const StatusLists& lists = from.lists;
  const RefDirectories& refs = from.refs;
  switch (layer) {
    case T::Aircraft: return drawaircraft(lists, from.friends, size);
    case T::Direction: return drawaircraftdir(lists, refs.airports);
    case T::ActiveFir: return drawactfir(lists, refs.firs, refs.outlines, from.actfirmode);
    case T::Chiefs:
      if (from.copytext) return drawchiefs(LineReader::fromtext(*from.copytext), refs.outlines);
      return drawchiefs(from.statuspath, refs.outlines);
    case T::Approach: return drawapp(lists, refs.airports, size);
    case T::Tower: return drawtwr(lists, refs.airports, size);
    case T::CtrLabels: return showctrname(lists, refs.firs);
    case T::AprLabels: return showaprname(lists, refs.airports, refs.firs);
    case T::TwrLabels: return showtwrname(lists, refs.airports);
    case T::PilotLabels: return showpilotname(lists, refs.airports, from.pilotlabelmode);
  }
  return {};
}

Layer buildtraffic(const Rebuild& rebuild, const TrafficSources& from) {
  switch (rebuild.layer) {
    case LayerBuild::Aircraft: return buildtraffic(T::Aircraft, rebuild.size, from);
    case LayerBuild::Approach: return buildtraffic(T::Approach, rebuild.size, from);
    case LayerBuild::ActiveFir: return buildtraffic(T::ActiveFir, 0, from);
    case LayerBuild::PilotLabels: return buildtraffic(T::PilotLabels, 0, from);
  }
  return {};
}

}  // namespace netglobe

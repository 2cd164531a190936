// The traffic layers over a status copy and the reference files. The
// input holds the copy, airports.dat, firs.dat and fir1.dat, in that
// order, between lines of "====".
#include <cstdint>
#include <vector>

#include "feed/client_fields.h"
#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/station_layers.h"
#include "scene/pick_names.h"
#include "scene/scene_state.h"

namespace {

using namespace netglobe;

// Every selection name a layer loads stands for an entry of its own list.
void checknames(const Layer& layer, PickKind kind, int count) {
  for (const std::uint32_t name : fuzz::loadednames(layer.ops)) {
    const PickTarget t = decodepick(name);
    FUZZ_CHECK(t.kind == kind && t.index >= 1 && t.index <= count);
  }
}

void checktraffic(const Layer& layer, int list) {
  fuzz::checklayer(layer, list);
  // The reference files are in memory, so nothing stops a layer early.
  FUZZ_CHECK(layer.failure.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto files = fuzz::parts(fuzz::text(data, size), 4);
  static StatusLists lists;  // reused like the program's, leftovers and all
  what2array(LineReader::fromtext(files[0]), lists);
  RefDirectories refs("/nonexistent");
  refs.airports.load(LineReader::fromtext(files[1]));
  refs.firs.load(LineReader::fromtext(files[2]));
  refs.outlines.load(LineReader::fromtext(files[3]));

  // One disc per pilot that reports a position, each under its own name.
  const Layer aircraft = drawaircraft(lists, FriendIds(), 0.03);
  checktraffic(aircraft, kAircraftList);
  const std::vector<std::uint32_t> names = fuzz::loadednames(aircraft.ops);
  std::vector<std::uint32_t> placed;
  for (int i = 1; i <= lists.pilcount; ++i) {
    const ClientFields f(lists.pillines[std::size_t(i)], kLongitude);
    if (haspositionfields(f(kLatitude), f(kLongitude))) placed.push_back(pickname(PickKind::Aircraft, i));
  }
  FUZZ_CHECK(names == placed);
  FUZZ_CHECK(aircraft.ops.countof(DrawOp::Kind::Begin) == names.size());

  checktraffic(drawaircraftdir(lists, refs.airports), kDirList);

  const Layer app = drawapp(lists, refs.airports, 0.1);
  checktraffic(app, kAppList);
  checknames(app, PickKind::Approach, lists.appcount);
  const Layer twr = drawtwr(lists, refs.airports, 0.1);
  checktraffic(twr, kTwrList);
  checknames(twr, PickKind::Tower, lists.twrcount);
  FUZZ_CHECK(twr.ops.countof(DrawOp::Kind::Begin) == fuzz::loadednames(twr.ops).size());
  FUZZ_CHECK(twr.ops.countof(DrawOp::Kind::Begin) <= std::size_t(lists.twrcount));

  // Outlines alone or filled too, as the input's length says.
  const Layer actfir = drawactfir(lists, refs.firs, refs.outlines, int(size % 2));
  checktraffic(actfir, kActFirList);
  checknames(actfir, PickKind::ActiveFir, lists.ctrcount);

  const Layer chiefs = drawchiefs(LineReader::fromtext(files[0]), refs.outlines);
  checktraffic(chiefs, kChiefList);
  // A pick over a chief outline reports no object.
  for (const std::uint32_t name : fuzz::loadednames(chiefs.ops)) FUZZ_CHECK(name == 0);
  return 0;
}

// Label composition: the station and pilot labels over a status copy and
// the reference files. The input holds the copy, airports.dat and
// firs.dat, in that order, between lines of "====".
#include <cstdint>

#include "feed/status_parser.h"
#include "fuzz_checks.h"
#include "lists/pilot_labels.h"
#include "lists/station_labels.h"
#include "scene/scene_state.h"

namespace {

using namespace netglobe;

void checklabels(const Layer& layer, int list, int labels) {
  fuzz::checklayer(layer, list);
  // The directories are in memory, so nothing stops a layer early.
  FUZZ_CHECK(layer.failure.empty());
  FUZZ_CHECK(layer.ops.countof(DrawOp::Kind::RasterPos) <= std::size_t(labels));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto files = fuzz::parts(fuzz::text(data, size), 3);
  static StatusLists lists;  // reused like the program's, leftovers and all
  what2array(LineReader::fromtext(files[0]), lists);
  RefDirectories refs("/nonexistent");
  refs.airports.load(LineReader::fromtext(files[1]));
  refs.firs.load(LineReader::fromtext(files[2]));

  // One label for every station of a list.
  const Layer ctr = showctrname(lists, refs.firs);
  checklabels(ctr, kCtrLabelList, lists.ctrcount);
  FUZZ_CHECK(ctr.ops.countof(DrawOp::Kind::RasterPos) == std::size_t(lists.ctrcount));
  const Layer apr = showaprname(lists, refs.airports, refs.firs);
  checklabels(apr, kAprLabelList, lists.appcount);
  FUZZ_CHECK(apr.ops.countof(DrawOp::Kind::RasterPos) == std::size_t(lists.appcount));
  const Layer twr = showtwrname(lists, refs.airports);
  checklabels(twr, kTwrLabelList, lists.twrcount);
  FUZZ_CHECK(twr.ops.countof(DrawOp::Kind::RasterPos) == std::size_t(lists.twrcount));
  for (int mode = 1; mode <= 5; ++mode) {
    checklabels(showpilotname(lists, refs.airports, mode), kPilotLabelList, lists.pilcount);
  }
  return 0;
}

// Label composition: the station and pilot labels over a status copy and
// the reference files. The input holds the copy, airports.dat and
// firs.dat, in that order, between lines of "====".
#include <cstdint>
#include <string>
#include <vector>

#include "feed/client_fields.h"
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

// A station reporting a position always gets its label; one without gets
// a label only where the directories place it.
void checkstationlabels(const Layer& layer, int list, const std::vector<std::string>& lines, int count) {
  checklabels(layer, list, count);
  std::size_t positioned = 0;
  for (int i = 1; i <= count; ++i) {
    const ClientFields f(lines[std::size_t(i)], kLongitude);
    positioned += haspositionfields(f(kLatitude), f(kLongitude));
  }
  FUZZ_CHECK(layer.ops.countof(DrawOp::Kind::RasterPos) >= positioned);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto files = fuzz::parts(fuzz::text(data, size), 3);
  static StatusLists lists;  // reused like the program's, leftovers and all
  what2array(LineReader::fromtext(files[0]), lists);
  RefDirectories refs("/nonexistent");
  refs.airports.load(LineReader::fromtext(files[1]));
  refs.firs.load(LineReader::fromtext(files[2]));

  checkstationlabels(showctrname(lists, refs.firs), kCtrLabelList, lists.ctrlines, lists.ctrcount);
  checkstationlabels(showaprname(lists, refs.airports, refs.firs), kAprLabelList, lists.applines,
                     lists.appcount);
  checkstationlabels(showtwrname(lists, refs.airports), kTwrLabelList, lists.twrlines, lists.twrcount);
  for (int mode = 1; mode <= 5; ++mode) {
    checklabels(showpilotname(lists, refs.airports, mode), kPilotLabelList, lists.pilcount);
  }
  return 0;
}

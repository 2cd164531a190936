#pragma once

#include <string>

#include "base/line_reader.h"
#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "scene/layer.h"

namespace netglobe {

// Active-FIR points float this far above the static outlines.
inline constexpr double kActFirOffset = 0.00001;

// List 8: for every centre or flight service station ("_CTR:" or "_FSS:" in
// any case; FSS wins when both are there), the outline of its FIR from
// fir1.dat under the boundary code firs.dat gives for the first four
// characters of its callsign, and with actfirmode 1 its interior filled
// translucently by the even-odd rule. The fill turns depth testing off, as
// the frame relies on. A FIR staffed by k stations of one kind is drawn once,
// where its first station comes, with its fill as opaque as k blends would
// leave it and the names of all k stations on the selection name stack. An
// outline of more than 500 points, or of none, is left out. Stops when
// firs.dat or fir1.dat cannot be read.
Layer drawactfir(const StatusLists& lists, const FirDirectory& firs,
                 const OutlineDirectory& outlines, int actfirmode);

// List 11: the white outline of the FIR of every chief station: each line of
// the status file at statuspath after its header that holds "-CH:" or
// "-ACH:" anywhere, in any case, keyed by its own first four characters.
// All outlines form one GL_LINES primitive. Loads selection name 0 first, so
// a pick over a chief outline reports no object. Stops when the status file
// or fir1.dat cannot be read.
Layer drawchiefs(const std::string& statuspath, const OutlineDirectory& outlines);
Layer drawchiefs(LineReader copy, const OutlineDirectory& outlines);

}  // namespace netglobe

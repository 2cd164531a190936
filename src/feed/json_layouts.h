#pragma once

// The client entries of the two JSON layouts, each read into one record of
// the text layout. Internal to the JSON reader.

#include "feed/json_values.h"

namespace netglobe::json {

// Each reads one entry's fields into the record (which comes in empty). A
// field of a type its key never has sets wrongtype; the caller then leaves
// the entry out. Any error returned means the document itself is broken.
error_code pilota(od::object entry, ClientRecord& record, bool& wrongtype);
error_code controllera(od::object entry, ClientRecord& record, bool& wrongtype);  // ATIS too
error_code pilotb(od::object entry, ClientRecord& record, bool& wrongtype);
error_code controllerb(od::object entry, ClientRecord& record, bool& wrongtype);
error_code observerb(od::object entry, ClientRecord& record, bool& wrongtype);

}  // namespace netglobe::json

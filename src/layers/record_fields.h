#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/fields.h"

namespace netglobe {

// Splits one record with positions 1 to upto emptied first: a record cut
// short reads the positions it lacks as empty, never as what the record
// before it left in the buffer (a pilot must not be drawn at another's place).
void splitrecord(std::string_view line, FieldBuf& fieldbuf, int upto);

// The first four characters, the code a callsign or a line is looked up by.
std::string_view lookupkey(std::string_view text);

// How many entries (1 to count) of a 1-based status list to read: never
// more than the list holds.
int entrycount(const std::vector<std::string>& lines, int count);

}  // namespace netglobe

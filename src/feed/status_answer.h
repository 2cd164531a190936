#pragma once

#include <string_view>

#include "feed/http_fetch.h"

namespace netglobe {

// What an answer holds, told by its content alone (never by the URL, the
// path or the Content-Type): a JSON document begins with "{" at its first
// non-blank byte; anything else must be the text layout.
bool looksjson(std::string_view body);

// The text layout has its client section marker on a line of its own.
bool hasclientsection(std::string_view body);

// Makes a good answer's body the text layout: a JSON status document of
// either layout is converted, the text layout passes as it is, and
// anything else turns the answer into a failure that says why ("not a
// status file", "unknown JSON layout", "JSON error at byte N", ...).
// Entries of a JSON document that could not be read are reported in one
// line on stderr. Touches no shared state: the download's thread runs it.
void readanswer(FetchResult& result);

}  // namespace netglobe

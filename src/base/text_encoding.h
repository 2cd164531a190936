#pragma once

#include <string>
#include <string_view>

namespace netglobe {

// Every record the program keeps is windows-1252 bytes. A body that is valid
// UTF-8 is decoded and re-encoded; anything else is taken as windows-1252
// already. A character windows-1252 cannot hold becomes '?'.
std::string tocp1252(std::string_view body);

bool isvalidutf8(std::string_view text);

// windows-1252 bytes to UTF-8, for showing records in widgets. The five
// unassigned bytes map to the C1 controls of the same value.
std::string cp1252toutf8(std::string_view text);

// UTF-8 text as one free-text field of a colon record in windows-1252: line
// breaks and other control characters become blanks, a ':' becomes " - ",
// blanks are collapsed and trimmed. A character windows-1252 cannot hold
// becomes its nearest letter that it can hold (accents it lacks are dropped,
// so U+1EBF e with circumflex and acute becomes e with circumflex, o with
// double acute becomes o), otherwise '?'. Invalid sequences count as '?'.
std::string fieldtext1252(std::string_view utf8);

}  // namespace netglobe

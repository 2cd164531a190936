#pragma once

#include <string>

namespace netglobe {

// The one message box of the program: no usable GL context. Ends the process
// with a non-zero status once dismissed, without the shutdown sequence.
[[noreturn]] void failnocontext(const std::string& detail);

}  // namespace netglobe

#pragma once

#include <string>

namespace netglobe {

inline constexpr int kRequiredStencilBits = 8;

// The surface format every GL surface of the program asks for: double
// buffered, depth, and the stencil bits the active-FIR fill needs.
void requestsurfaceformat();

// Tries a context of that format; returns why it is unusable, or "". It
// makes no surface, so it may run on any thread: the first context loads
// the GL driver, which takes long enough to be worth doing beside other
// work. Whether a context can draw into the window is known once the
// window makes its own.
std::string probeglcontext();

}  // namespace netglobe

#pragma once

#include <string>

namespace netglobe {

inline constexpr int kRequiredStencilBits = 8;

// The surface format every GL surface of the program asks for: double
// buffered, depth, and the stencil bits the active-FIR fill needs.
void requestsurfaceformat();

// Tries a context of that format; returns why it is unusable, or "".
std::string probeglcontext();

}  // namespace netglobe

#pragma once

#include <string>

namespace netglobe {

// Why the window system cannot be reached, or "" when it can. Qt ends the
// process with a core dump when its X display cannot be opened; asking first
// lets the program say so in one line and exit.
std::string checkdisplay();

}  // namespace netglobe

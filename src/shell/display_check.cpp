#include "shell/display_check.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace netglobe {

std::string checkdisplay() {
  // Another platform plugin chosen by the user (offscreen, wayland, ...)
  // opens no X display.
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && !std::string_view(platform).starts_with("xcb")) return {};
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return "no display: DISPLAY is not set";
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool failed = xcb_connection_has_error(connection) != 0;
  xcb_disconnect(connection);
  if (failed) return std::string("cannot open display ") + display;
  return {};
}

}  // namespace netglobe

#pragma once

#include <curl/curl.h>

#include <string>
#include <string_view>

namespace netglobe {

// The short reason the window title gives for a failed transfer. detail is
// libcurl's error buffer, which tells the certificate problems apart.
std::string transferfailure(CURLcode code, std::string_view detail);

}  // namespace netglobe

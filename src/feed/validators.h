#pragma once

#include <string>
#include <string_view>

namespace netglobe {

// What an answer says about its version of the file, to be sent back in the
// next request so that an unchanged file is answered 304 Not Modified.
struct Validators {
  std::string etag;          // sent back as If-None-Match
  std::string lastmodified;  // sent back as If-Modified-Since

  bool empty() const { return etag.empty() && lastmodified.empty(); }
  bool operator==(const Validators&) const = default;
};

// Takes ETag and Last-Modified from one header line of an answer ("Name:
// value", any case, the line end included or not). A value that could not
// be sent back as it is (control characters, overlong) is ignored.
void readvalidator(std::string_view headerline, Validators& validators);

}  // namespace netglobe

#pragma once

#include <string>

namespace netglobe {

// The two JSON layouts of the status document.
enum class JsonLayout { A, B };

// A JSON status document read into the text layout: seven header lines
// ending in the client section marker, one client record a line, and the
// marker of the (empty) server section that ends the clients.
struct JsonStatus {
  bool ok = false;
  std::string text;     // the document in the text layout (UTF-8, LF line ends)
  std::string failure;  // why there is no text: "unknown JSON layout", "JSON error at byte N", ...
  int skipped = 0;      // client entries that could not be read and were left out
};

// Reads a JSON status document of either layout. The body gains the spare
// capacity the parser reads past its end; its content stays as it is.
// A document that is broken, cut short or of neither layout gives no text;
// a single client entry that cannot be read is left out and counted.
JsonStatus readjsonstatus(std::string& body);

}  // namespace netglobe

#pragma once

#include <string>
#include <vector>

class QImage;

namespace netglobe {

// The globe image as the texture upload wants it: height rows of width
// pixels, R, G, B bytes, rows packed, bottom row first (the image's bottom
// row lands at the south pole).
struct TextureImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

// Turns a decoded image into the texture buffer. A side that is not a power
// of two is resampled to the nearest one (GL 1.1 takes nothing else), and a
// side above maxside (when above 0) to maxside's power of two.
TextureImage texturebuffer(const QImage& img, int maxside = 0);

struct TextureLoad {
  bool ok = false;
  std::string reason;  // one line naming the file when not ok
};

struct GlobeImage {
  TextureLoad status;
  TextureImage image;
};

// Reads and converts the globe image file; no GL involved.
GlobeImage readglobeimage(const std::string& filename, int maxside = 0);

// Uploads the globe image as level 0 of the texture bound to GL_TEXTURE_2D
// in the current context. On failure nothing is uploaded and the reason says
// why; the globe is then drawn plain.
TextureLoad loadtex(const std::string& filename);
// The same with the image read already (readglobeimage without a limit, on
// another thread, say): read again with the limit only when it is too large.
TextureLoad loadtex(const std::string& filename, GlobeImage read);

}  // namespace netglobe

#include "render/globe_texture.h"

#include <GL/gl.h>

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstring>
#include <filesystem>

namespace netglobe {

namespace {

bool powerof2(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Nearest power of two; the larger one on a tie, to keep detail.
int nearestpower2(int n, int maxside) {
  int upper = 1;
  while (upper < n) upper *= 2;
  const int lower = upper / 2;
  int side = (lower > 0 && n - lower < upper - n) ? lower : upper;
  if (maxside > 0) {
    while (side > maxside) side /= 2;
  }
  return side;
}

}  // namespace

TextureImage texturebuffer(const QImage& img, int maxside) {
  TextureImage tex;
  if (img.isNull()) return tex;
  QImage src = img;
  const int w = nearestpower2(img.width(), maxside);
  const int h = nearestpower2(img.height(), maxside);
  if (w != img.width() || h != img.height() || !powerof2(w) || !powerof2(h)) {
    src = img.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  // The decoder's own byte order is of no concern: RGB888 holds each pixel as
  // its true R, G, B, which is what the upload declares.
  src = src.convertToFormat(QImage::Format_RGB888);
  tex.width = src.width();
  tex.height = src.height();
  const std::size_t row = std::size_t(tex.width) * 3;
  tex.rgb.resize(row * std::size_t(tex.height));
  for (int y = 0; y < tex.height; ++y) {
    std::memcpy(tex.rgb.data() + std::size_t(tex.height - 1 - y) * row, src.constScanLine(y), row);
  }
  return tex;
}

GlobeImage readglobeimage(const std::string& filename, int maxside) {
  GlobeImage result;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(filename, ec)) {
    result.status.reason = "Globe image " + filename + " is missing";
    return result;
  }
  QImageReader reader(QString::fromStdString(filename));
  QImage img;
  if (!reader.read(&img) || img.isNull()) {
    result.status.reason = "Globe image " + filename + " cannot be decoded (" +
                           reader.errorString().toStdString() + ")";
    return result;
  }
  result.image = texturebuffer(img, maxside);
  result.status.ok = true;
  return result;
}

namespace {

GLint maxtextureside() {
  GLint maxside = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxside);
  return maxside;
}

TextureLoad upload(const GlobeImage& globe) {
  if (!globe.status.ok) return globe.status;
  const TextureImage& tex = globe.image;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, tex.width, tex.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               tex.rgb.data());
  return globe.status;
}

}  // namespace

TextureLoad loadtex(const std::string& filename) { return upload(readglobeimage(filename, maxtextureside())); }

TextureLoad loadtex(const std::string& filename, GlobeImage read) {
  const GLint maxside = maxtextureside();
  if (maxside > 0 && (read.image.width > maxside || read.image.height > maxside)) return loadtex(filename);
  return upload(read);
}

}  // namespace netglobe

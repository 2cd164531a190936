#include "render/glyph_font.h"

#include <GL/gl.h>

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <vector>

#include "base/text_encoding.h"
#include "scene/scene_state.h"

namespace netglobe {
namespace {

// Room left and right of the advance for glyphs that overhang their cell.
constexpr int kMargin = 2;

QFont labelfont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(10);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QString charof(int code) {
  const std::string byte(1, static_cast<char>(code));
  return QString::fromUtf8(cp1252toutf8(byte));
}

// One glyph as glBitmap wants it: rows bottom-up, MSB first, byte-padded.
std::vector<GLubyte> rasterise(const QFont& font, const QString& text, int width, int height,
                               int ascent) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(kMargin, ascent, text);
  }
  const int rowbytes = (width + 7) / 8;
  std::vector<GLubyte> bits(static_cast<std::size_t>(rowbytes * height), 0);
  for (int y = 0; y < height; ++y) {
    const int row = height - 1 - y;
    for (int x = 0; x < width; ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        bits[static_cast<std::size_t>(row * rowbytes + x / 8)] |= static_cast<GLubyte>(0x80 >> (x % 8));
      }
    }
  }
  return bits;
}

}  // namespace

void buildglyphlists() {
  const QFont font = labelfont();
  const QFontMetrics metrics(font);
  const int ascent = metrics.ascent();
  const int height = ascent + metrics.descent();

  GLint oldalignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldalignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int code = 0; code < kGlyphCount; ++code) {
    const bool control = code < 32 || code == 127;
    const QString text = control ? QString() : charof(code);
    const int advance = control ? 0 : metrics.horizontalAdvance(text);
    const int width = advance + 2 * kMargin;
    const std::vector<GLubyte> bits = rasterise(font, text, width, height, ascent);
    glNewList(static_cast<GLuint>(kGlyphListBase + code), GL_COMPILE);
    glBitmap(width, height, static_cast<GLfloat>(kMargin), static_cast<GLfloat>(metrics.descent()),
             static_cast<GLfloat>(advance), 0.0f, bits.data());
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, oldalignment);
}

}  // namespace netglobe

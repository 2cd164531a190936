#include "render/glyph_font.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <string>

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

std::vector<std::uint8_t> rasterise(const QFont& font, const QString& text, int width, int height,
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
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowbytes * height), 0);
  for (int y = 0; y < height; ++y) {
    const int row = height - 1 - y;
    for (int x = 0; x < width; ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        bits[static_cast<std::size_t>(row * rowbytes + x / 8)] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  return bits;
}

}  // namespace

std::vector<GlyphImage> labelglyphs() {
  const QFont font = labelfont();
  const QFontMetrics metrics(font);
  const int ascent = metrics.ascent();
  const int height = ascent + metrics.descent();
  std::vector<GlyphImage> glyphs(kGlyphCount);
  for (int code = 0; code < kGlyphCount; ++code) {
    const bool control = code < 32 || code == 127;
    const QString text = control ? QString() : charof(code);
    const int advance = control ? 0 : metrics.horizontalAdvance(text);
    GlyphImage& glyph = glyphs[static_cast<std::size_t>(code)];
    glyph.width = advance + 2 * kMargin;
    glyph.height = height;
    glyph.xorig = kMargin;
    glyph.yorig = static_cast<float>(metrics.descent());
    glyph.advance = static_cast<float>(advance);
    glyph.bits = rasterise(font, text, glyph.width, height, ascent);
  }
  return glyphs;
}

}  // namespace netglobe

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "render/globe_texture.h"

namespace netglobe {
namespace {

TEST(GlobeTexture, BottomRowComesFirstAsTrueRgb) {
  QImage img(4, 2, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));
  img.setPixel(0, 1, qRgb(10, 20, 30));  // bottom-left
  img.setPixel(3, 0, qRgb(40, 50, 60));  // top-right
  const TextureImage tex = texturebuffer(img);
  ASSERT_TRUE(tex.width == 4 && tex.height == 2 && tex.rgb.size() == 24u);
  EXPECT_EQ(std::vector<unsigned char>(tex.rgb.begin(), tex.rgb.begin() + 3),
            (std::vector<unsigned char>{10, 20, 30}));
  EXPECT_EQ(std::vector<unsigned char>(tex.rgb.end() - 3, tex.rgb.end()),
            (std::vector<unsigned char>{40, 50, 60}));
}

TEST(GlobeTexture, ResamplesToNearestPowersOfTwo) {
  QImage img(300, 150, QImage::Format_RGB888);
  img.fill(qRgb(200, 100, 50));
  TextureImage tex = texturebuffer(img);
  ASSERT_TRUE(tex.width == 256 && tex.height == 128 && tex.rgb.size() == 256u * 128 * 3);
  EXPECT_EQ(tex.rgb[3 * 130 + 1], 100);
  tex = texturebuffer(QImage(400, 200, QImage::Format_RGB32), 256);
  EXPECT_TRUE(tex.width == 256 && tex.height == 256);
}

TEST(GlobeTexture, UnreadableFilesAreReportedByName) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string missing = (dir / "netglobe_no_such_globe.jpg").string();
  GlobeImage globe = readglobeimage(missing);
  EXPECT_FALSE(globe.status.ok);
  EXPECT_NE(globe.status.reason.find(missing + " is missing"), std::string::npos);
  const std::string junk = (dir / "netglobe_junk_globe.jpg").string();
  std::ofstream(junk) << "not an image";
  globe = readglobeimage(junk);
  std::filesystem::remove(junk);
  EXPECT_FALSE(globe.status.ok);
  EXPECT_NE(globe.status.reason.find(junk + " cannot be decoded"), std::string::npos);
}

}  // namespace
}  // namespace netglobe

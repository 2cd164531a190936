#include <gtest/gtest.h>

#include <cmath>

#include "geo/globe_coords.h"

namespace netglobe {
namespace {

void expectpoint(const GlobePoint& p, double x, double y, double z, double tolerance) {
  EXPECT_NEAR(p.x, x, tolerance);
  EXPECT_NEAR(p.y, y, tolerance);
  EXPECT_NEAR(p.z, z, tolerance);
}

TEST(Getxyz, OrientationOfTheWorld) {
  const double r = 2.01;
  const double t = 1e-4;
  expectpoint(getxyz(0, 0, 0), 0, -r, 0, t);
  expectpoint(getxyz(0, 90, 0), r, 0, 0, t);
  expectpoint(getxyz(0, 180, 0), 0, r, 0, t);
  expectpoint(getxyz(0, -90, 0), -r, 0, 0, t);
  expectpoint(getxyz(90, 0, 0), 0, 0, r, t);
  expectpoint(getxyz(-90, 0, 0), 0, 0, -r, t);
}

TEST(Getxyz, SixDigitPiLeavesThePoleAHairOffTheAxis) {
  const GlobePoint pole = getxyz(90, 37, 0);
  const double offaxis = std::hypot(pole.x, pole.y);
  EXPECT_GT(offaxis, 0.0);
  EXPECT_LT(offaxis, 0.000003 * 2.01);
  EXPECT_NEAR(pole.z, 2.01, 1e-9);
}

TEST(Getxyz, AntimeridianSidesAreNotTheSamePoint) {
  const GlobePoint east = getxyz(0, 180, 0);
  const GlobePoint west = getxyz(0, -180, 0);
  const double gap = std::hypot(east.x - west.x, east.y - west.y);
  EXPECT_GT(gap, 0.000005);
  EXPECT_LT(gap, 0.00002);
}

TEST(Getxyz, OffsetMinusOneHundredthLiesOnTheTexturedSphere) {
  const GlobePoint p = getxyz(51, 12, -0.01);
  EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), kGlobeRadius, 1e-12);
  const GlobePoint lifted = getxyz(51, 12, 0.05);
  EXPECT_NEAR(std::sqrt(lifted.x * lifted.x + lifted.y * lifted.y + lifted.z * lifted.z), 2.06,
              1e-12);
}

TEST(Getxyz, AnglesBeyondTheRangesContinueAroundTheSphere) {
  // Latitude 100 on meridian 0 is latitude 80 on meridian 180.
  const GlobePoint over = getxyz(100, 0, 0);
  const GlobePoint same = getxyz(80, 180, 0);
  expectpoint(over, same.x, same.y, same.z, 1e-4);
  const GlobePoint wrapped = getxyz(10, 190, 0);
  const GlobePoint plain = getxyz(10, -170, 0);
  expectpoint(wrapped, plain.x, plain.y, plain.z, 1e-4);
  // The largest numbers a field can hold still give a point on the shell.
  for (const double huge : {1.7e308, -1.7e308}) {
    const GlobePoint p = getxyz(huge, huge, 0);
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), kLayerRadius, 1e-12);
  }
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include "geo/globe_coords.h"
#include "geo/great_circle.h"
#include "layers/direction_segment.h"

namespace netglobe {
namespace {

TEST(GreatCircle, DistanceAndCourseKeepTheSixDigitPi) {
  EXPECT_NEAR(dist(0, 0, 0, 90), 6378.137 * 3.14159 / 2, 1e-6);
  EXPECT_EQ(course(50, 10, 50, 11), 89);
  EXPECT_EQ(course(50, 10, 51, 10), 0);
  EXPECT_EQ(course(0, 0, 0, -10), 269);
  EXPECT_EQ(course(0, 0, 0, 10), 90);
  EXPECT_EQ(course(50, 10, 49, 10), 180);
}

TEST(GreatCircle, IdenticalPositionsGiveZeroNotNaN) {
  EXPECT_EQ(course(48.1, 11.5, 48.1, 11.5), 0);
  // At this latitude the cosine of the angle rounds to a hair above 1.
  EXPECT_EQ(dist(-86.5, 10, -86.5, 10), 0.0);
  EXPECT_EQ(course(-86.5, 10, -86.5, 10), 0);
}

TEST(GreatCircle, HeadingEmitsStartAndYellowTip) {
  DrawList list;
  heading(list, 60, 0, 90, 0.5, 1, 0.5f, 0, 2);
  const auto& ops = list.ops();
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_TRUE(ops[0].kind == DrawOp::Kind::LineWidth && ops[0].width() == 2.0f);
  const Rgba start = ops[1].rgba(), tip = ops[3].rgba();
  EXPECT_TRUE(start.r == 1 && start.g == 0.5f && start.b == 0);
  EXPECT_TRUE(tip.r == 1 && tip.g == 1 && tip.b == 0);
  EXPECT_FLOAT_EQ(ops[2].point().y, float(getxyz(60, 0, 0).y));
  // At latitude 60 the longitude step doubles; on the equator it does not.
  EXPECT_NEAR(ops[4].point().x, getxyz(60, 1.0, 0).x, 1e-5);
  DrawList equator;
  heading(equator, 0, 0, 90, 0.5, 1, 0.5f, 0, 1);
  EXPECT_NEAR(equator.ops()[4].point().x, getxyz(0, 0.5, 0).x, 1e-5);
  // A speed of 1e308 knots at the pole has no tip: no segment at all.
  DrawList absurd;
  heading(absurd, 90, 0, 90, 1e305, 1, 0.5f, 0, 1);
  EXPECT_TRUE(absurd.empty());
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "scene/view_status.h"

namespace netglobe {
namespace {

TEST(Leadingnumber, ReadsTheLeadingNumberOnly) {
  EXPECT_DOUBLE_EQ(leadingnumber("52.3625"), 52.3625);
  EXPECT_DOUBLE_EQ(leadingnumber("-3.25"), -3.25);
  EXPECT_DOUBLE_EQ(leadingnumber("  13.5abc"), 13.5);
  EXPECT_DOUBLE_EQ(leadingnumber("35000ft"), 35000);
  EXPECT_DOUBLE_EQ(leadingnumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(leadingnumber("1e3"), 1000);
  EXPECT_DOUBLE_EQ(leadingnumber("7e"), 7);
  EXPECT_DOUBLE_EQ(leadingnumber("+4"), 4);
  EXPECT_DOUBLE_EQ(leadingnumber("20:30"), 20);
}

TEST(Leadingnumber, TextWithoutANumberIsZero) {
  EXPECT_EQ(leadingnumber(""), 0);
  EXPECT_EQ(leadingnumber("abc"), 0);
  EXPECT_EQ(leadingnumber("-"), 0);
  EXPECT_EQ(leadingnumber("."), 0);
  EXPECT_EQ(leadingnumber("N52"), 0);
  EXPECT_EQ(leadingnumber("1,5"), 1);  // the decimal point is "." only
  // Out of a double's range either way: no number, not an infinity.
  EXPECT_EQ(leadingnumber("1e400"), 0);
  EXPECT_EQ(leadingnumber("-1e400"), 0);
  EXPECT_EQ(leadingnumber("1e-400"), 0);
  EXPECT_EQ(leadingnumber(std::string(400, '9')), 0);
}

TEST(Numtext, BlankForNonNegativeNoTrailingZeros) {
  EXPECT_EQ(numtext(12.0), " 12");
  EXPECT_EQ(numtext(11.5), " 11.5");
  EXPECT_EQ(numtext(-1.0), "-1");
  EXPECT_EQ(numtext(0.0), " 0");
  EXPECT_EQ(numtext(-0.0), " 0");
  EXPECT_EQ(numtext(11.5 - 0.1), " 11.4");  // 15 digits hide the binary rounding
  EXPECT_EQ(numtext(2.9000000000000004), " 2.9");
  EXPECT_EQ(numtext(39.3f), " 39.3");
}

TEST(Viewstatusline, DefaultViewAndRoundingDown) {
  ViewState view;
  EXPECT_EQ(viewstatusline(view), " 12 /  51 /  11.5");
  view.viewlon = -0.5f;
  EXPECT_EQ(viewstatusline(view).substr(0, 2), "-1");
  view.viewlon = 179.9f;
  view.viewtilt = 90.5f;  // centre latitude -0.5 is shown as -1
  view.viewdist = 2.9;
  EXPECT_EQ(viewstatusline(view), " 179 / -1 /  2.9");
}

}  // namespace
}  // namespace netglobe

#include <gtest/gtest.h>

#include "LayoutRules.h"

namespace kelbrin::ui {
namespace {

TEST(MulDivRounded, RoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDivRounded(6, 13, 12), 7);    // 6.5
  EXPECT_EQ(MulDivRounded(5, 13, 12), 5);    // 5.42
  EXPECT_EQ(MulDivRounded(-6, 13, 12), -7);  // -6.5
  EXPECT_EQ(MulDivRounded(1000000000, 2, 1), 2000000000);  // no overflow on the way
}

TEST(FontHeightForDpi, ScalesOnlyAwayFromTheDesignResolution) {
  EXPECT_EQ(FontHeightForDpi(12, 96), 12);
  EXPECT_EQ(FontHeightForDpi(12, 120), 15);
  EXPECT_EQ(FontHeightForDpi(12, 144), 18);
  EXPECT_EQ(FontHeightForDpi(12, 192), 24);
  EXPECT_EQ(FontHeightForDpi(37, 144), 56);  // 55.5
  EXPECT_EQ(FontHeightForDpi(12, 0), 12);    // an unknown resolution changes nothing
}

TEST(ScaleForDigitHeight, IsTheMeasuredHeightOverTwelve) {
  EXPECT_EQ(ScaleForDigitHeight(12).Apply(443), 443);
  EXPECT_EQ(ScaleForDigitHeight(13).Apply(443), 480);
  EXPECT_EQ(ScaleForDigitHeight(24).Apply(443), 886);
  EXPECT_EQ(ScaleForDigitHeight(0), Scale{});  // nothing measured: the design size
}

TEST(Scaled, ScalesTheEdgesSoThatNeighboursStayFlush) {
  const Scale larger = ScaleForDigitHeight(13);
  // Panel2 and Panel3 of the main window meet at 201.
  const Bounds left = Scaled({2, 2, 199, 68}, larger);
  const Bounds right = Scaled({201, 2, 240, 68}, larger);
  EXPECT_EQ(left, (Bounds{2, 2, 216, 74}));
  EXPECT_EQ(right, (Bounds{218, 2, 260, 74}));
  EXPECT_EQ(left.Right(), right.left);
  EXPECT_EQ(Scaled({8, 8, 265, 20}, larger), (Bounds{9, 9, 287, 21}));
  // The progress bar's edges 40 and 56 map to 43 and 61: 18 high, where 16 * 13 / 12 gives 17.
  EXPECT_EQ(Scaled({0, 40, 441, 16}, larger), (Bounds{0, 43, 478, 18}));
  EXPECT_EQ(Scaled({8, 8, 265, 20}, Scale{}), (Bounds{8, 8, 265, 20}));
}

// The main window's panels, maximised on a 1024 x 700 client area.
TEST(AlignWithin, KeepsEachPanelsRuleAtAnySize) {
  const AlignedChild window[] = {{Align::Top, {0, 0, 443, 57}}, {Align::Client, {0, 57, 443, 72}}};
  EXPECT_EQ(AlignWithin({0, 0, 1024, 700}, window), (std::vector<Bounds>{{0, 0, 1024, 57}, {0, 57, 1024, 643}}));

  // Inside Panel1, within its two-pixel bevel frame.
  const AlignedChild panel1[] = {{Align::Left, {2, 2, 199, 68}}, {Align::Client, {201, 2, 240, 68}}};
  EXPECT_EQ(AlignWithin({2, 2, 1020, 639}, panel1), (std::vector<Bounds>{{2, 2, 199, 639}, {201, 2, 821, 639}}));
}

TEST(AlignWithin, TopStripsComeFirstWhateverTheOrder) {
  const AlignedChild children[] = {
      {Align::Client, {}}, {Align::Left, {0, 0, 10, 1}}, {Align::None, {5, 6, 7, 8}}, {Align::Top, {0, 0, 1, 20}}};
  EXPECT_EQ(AlignWithin({0, 0, 100, 50}, children),
            (std::vector<Bounds>{{10, 20, 90, 30}, {0, 20, 10, 30}, {5, 6, 7, 8}, {0, 0, 100, 20}}));
}

TEST(AlignWithin, NeverHandsOutNegativeSizes) {
  const AlignedChild children[] = {{Align::Top, {0, 0, 0, 57}}, {Align::Client, {}}};
  const std::vector<Bounds> placed = AlignWithin({0, 0, 0, 0}, children);
  EXPECT_EQ(placed[1].height, 0);
  EXPECT_EQ(placed[1].width, 0);
}

TEST(DialogOrigin, CentresAcrossWithAThirdOfTheFreeHeightAbove) {
  EXPECT_EQ(DialogOrigin(1024, 768, 400, 300), (Point{312, 156}));
  EXPECT_EQ(DialogOrigin(1920, 1080, 1920, 1080), (Point{0, 0}));
  EXPECT_EQ(DialogOrigin(800, 600, 1000, 900), (Point{-100, -100}));
}

}  // namespace
}  // namespace kelbrin::ui

// SPDX-License-Identifier: MIT
//
// The image canvas: pixel-exact lines, rectangles, the flood fill and the block copy.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

#include "platform/qt/ImageCanvas.h"

namespace corvane::qtui {
namespace {

using forms::Rgb;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 192, 0};

int CountPixels(const ImageCanvas& c, Rgb color) {
    int n = 0;
    for (int y = 0; y < c.PixelHeight(); ++y) {
        for (int x = 0; x < c.PixelWidth(); ++x) n += c.PixelAt(x, y) == color;
    }
    return n;
}

TEST(ImageCanvas, LineToLeavesOutItsLastPixelAndLineKeepsIt) {
    ImageCanvas c(20, 20, 15, 15);
    c.SetForeColor(kBlack);
    c.MoveTo(2, 5);
    c.LineTo(10, 5);
    EXPECT_EQ(c.PixelAt(2, 5), kBlack);
    EXPECT_EQ(c.PixelAt(9, 5), kBlack);
    EXPECT_EQ(c.PixelAt(10, 5), kWhite);
    c.SetScaleMode(forms::ScaleMode::Twips);
    c.Line(0, 150, 150, 150);  // twips: (0, 10) to (10, 10) in pixels
    EXPECT_EQ(c.PixelAt(10, 10), kBlack);
    EXPECT_EQ(CountPixels(c, kBlack), 8 + 11);
}

TEST(ImageCanvas, VeryLongLinesAreCutToThePicture) {
    ImageCanvas c(100, 100, 15, 15);
    c.SetForeColor(kBlack);
    c.MoveTo(-16000000, 50);
    c.LineTo(16000000, 50);  // a horizontal line through the whole picture
    for (int x = 0; x < 100; ++x) ASSERT_EQ(c.PixelAt(x, 50), kBlack) << x;
    c.MoveTo(-16000000, -16000000);
    c.LineTo(16000000, 16000000);  // the diagonal
    EXPECT_EQ(c.PixelAt(0, 0), kBlack);
    EXPECT_EQ(c.PixelAt(77, 77), kBlack);
    EXPECT_EQ(c.PixelAt(99, 99), kBlack);
    c.MoveTo(-16000000, 500);
    c.LineTo(16000000, 500);  // below the picture: nothing
    EXPECT_EQ(CountPixels(c, kBlack), 100 + 99);
}

TEST(ImageCanvas, FillRectExcludesRightAndBottomAndClips) {
    ImageCanvas c(10, 10, 15, 15);
    c.FillRect(-5, 8, 3, 20, kBlue);
    EXPECT_EQ(CountPixels(c, kBlue), 3 * 2);
    EXPECT_EQ(c.PixelAt(2, 9), kBlue);
    EXPECT_EQ(c.PixelAt(3, 9), kWhite);
}

TEST(ImageCanvas, FloodFillStopsAtTheBoundaryColour) {
    ImageCanvas c(40, 40, 15, 15);
    c.SetScaleMode(forms::ScaleMode::Pixels);
    c.SetForeColor(kBlue);
    c.Box(5, 5, 30, 20);  // outline only: the fill style is transparent
    c.SetForeColor(kBlack);
    c.Line(10, 10, 20, 10);  // a black line inside does not stop the fill
    c.SetFillColor(kGreen);
    c.FloodFill(12, 12, kBlue);
    EXPECT_EQ(CountPixels(c, kGreen), 24 * 14);
    EXPECT_EQ(c.PixelAt(2, 2), kWhite) << "nothing outside the outline is filled";
    EXPECT_EQ(c.PixelAt(5, 5), kBlue);
    c.FloodFill(12, 12, kBlue);  // filling again changes nothing and ends
    EXPECT_EQ(CountPixels(c, kGreen), 24 * 14);
}

TEST(ImageCanvas, FloodFillOfTheWholeImageNeedsNoRecursion) {
    ImageCanvas c(1200, 1200, 15, 15);
    c.SetFillColor(kGreen);
    c.FloodFill(600, 600, kBlue);
    EXPECT_EQ(CountPixels(c, kGreen), 1200 * 1200);
    c.FloodFill(-1, 5, kBlue);  // outside the image: nothing happens
}

TEST(ImageCanvas, CopyIsClippedToBothCanvases) {
    ImageCanvas from(10, 10, 15, 15), to(6, 20, 15, 15);
    from.FillRect(0, 0, 10, 10, kBlue);
    to.CopyFrom(from, 2500, 2500);
    EXPECT_EQ(CountPixels(to, kBlue), 6 * 10);
}

TEST(ImageCanvas, TextAdvancesTheTextPositionByItsWidth) {
    ImageCanvas c(200, 50, 15, 15);
    c.SetScaleMode(forms::ScaleMode::Twips);
    const double width = c.TextWidth("3000 ft");
    EXPECT_GT(width, 0);
    c.SetForeColor(kBlack);
    c.SetCurrentX(150);
    c.Print("3000 ft");
    EXPECT_DOUBLE_EQ(c.CurrentX(), 150 + width);
    EXPECT_GT(CountPixels(c, kBlack), 10);
    c.NewLine();
    EXPECT_EQ(c.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(c.CurrentY(), c.TextHeight("A"));
}

}  // namespace
}  // namespace corvane::qtui

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: MIT
//
// PNG snapshots of canvases, as the headless host writes them.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/headless/Snapshot.h"
#include "platform/qt/ImageCanvas.h"
#include "tests/ui/StandInProcess.h"

namespace corvane::testing {
namespace {

TEST(SnapshotTest, CanvasPixelsGoToThePngFile) {
    TempFolder folder;
    qtui::ImageCanvas canvas(20, 10, 15, 15);
    canvas.SetBackColor({0, 128, 0});
    canvas.Cls();
    canvas.FillRect(2, 3, 5, 6, {255, 128, 0});
    const std::string path = folder.Path("map.png");
    ASSERT_TRUE(headless::SaveCanvasPng(canvas, path));
    QImage read(QString::fromStdString(path));
    ASSERT_EQ(read.size(), QSize(20, 10));
    EXPECT_EQ(read.pixel(0, 0), qRgb(0, 128, 0));
    EXPECT_EQ(read.pixel(2, 3), qRgb(255, 128, 0));
    EXPECT_EQ(read.pixel(4, 5), qRgb(255, 128, 0));
    EXPECT_EQ(read.pixel(5, 6), qRgb(0, 128, 0));
    EXPECT_FALSE(headless::SaveCanvasPng(canvas, folder.Path("no/such/folder/map.png")));
}

}  // namespace
}  // namespace corvane::testing

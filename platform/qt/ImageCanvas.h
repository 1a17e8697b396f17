// SPDX-License-Identifier: MIT
//
// A canvas on an image: what the window shows and what the headless host
// snapshots. Lines, rectangles and the flood fill are drawn pixel by pixel, so
// that a frame is the same on every machine; circles and text go through
// QPainter (text needs a QGuiApplication, which works without a display on
// Qt's offscreen platform).
#pragma once

#include <QImage>
#include <string>

#include "platform/canvas/CanvasState.h"

namespace corvane::qtui {

class ImageCanvas final : public canvas::CanvasState {
  public:
    ImageCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY);

    const QImage& Image() const { return image_; }
    bool SavePng(const std::string& path) const;

    int PixelWidth() const override { return image_.width(); }
    int PixelHeight() const override { return image_.height(); }
    void Resize(int pixelWidth, int pixelHeight) override;

    void Cls() override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Box(double x1, double y1, double x2, double y2) override;
    void Circle(double x, double y, double radius) override;
    void Print(std::string_view text) override;
    void NewLine() override;
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;

    void LineTo(int x, int y) override;
    void FillRect(int left, int top, int right, int bottom, forms::Rgb color) override;
    void FloodFill(int x, int y, forms::Rgb boundary) override;
    void CopyFrom(const forms::Canvas& source, int width, int height) override;
    forms::Rgb PixelAt(int x, int y) const override;

  private:
    void SetPixel(int x, int y, QRgb color);
    // Bresenham from (x1, y1) to (x2, y2); the last pixel only when includeLast.
    void DrawPixelLine(int x1, int y1, int x2, int y2, QRgb color, bool includeLast);
    QFont Font() const;

    QImage image_;
};

}  // namespace corvane::qtui

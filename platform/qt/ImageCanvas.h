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

#include "ports/Canvas.h"

namespace corvane::qtui {

class ImageCanvas final : public forms::Canvas {
  public:
    ImageCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY);

    const QImage& Image() const { return image_; }
    bool SavePng(const std::string& path) const;

    int PixelWidth() const override { return image_.width(); }
    int PixelHeight() const override { return image_.height(); }
    void Resize(int pixelWidth, int pixelHeight) override;
    int TwipsPerPixelX() const override { return twipsPerPixelX_; }
    int TwipsPerPixelY() const override { return twipsPerPixelY_; }
    void SetScaleMode(forms::ScaleMode mode) override;
    forms::ScaleMode GetScaleMode() const override { return scaleMode_; }

    void SetForeColor(forms::Rgb color) override { foreColor_ = color; }
    forms::Rgb ForeColor() const override { return foreColor_; }
    void SetBackColor(forms::Rgb color) override { backColor_ = color; }
    forms::Rgb BackColor() const override { return backColor_; }
    void SetFillColor(forms::Rgb color) override { fillColor_ = color; }
    forms::Rgb FillColor() const override { return fillColor_; }
    void SetFillSolid(bool solid) override { fillSolid_ = solid; }
    bool FillSolid() const override { return fillSolid_; }
    void SetFontSize(double points) override { fontSize_ = points; }
    double FontSize() const override { return fontSize_; }
    void SetFontBold(bool bold) override { fontBold_ = bold; }
    bool FontBold() const override { return fontBold_; }

    void Cls() override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Box(double x1, double y1, double x2, double y2) override;
    void Circle(double x, double y, double radius) override;
    void Print(std::string_view text) override;
    void NewLine() override;
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(int left, int top, int right, int bottom, forms::Rgb color) override;
    void FloodFill(int x, int y, forms::Rgb boundary) override;
    void CopyFrom(const forms::Canvas& source, int width, int height) override;
    forms::Rgb PixelAt(int x, int y) const override;

  private:
    double ToPixelsX(double units) const;
    double ToPixelsY(double units) const;
    void SetPixel(int x, int y, QRgb color);
    // Bresenham from (x1, y1) to (x2, y2); the last pixel only when includeLast.
    void DrawPixelLine(int x1, int y1, int x2, int y2, QRgb color, bool includeLast);
    QFont Font() const;

    QImage image_;
    int twipsPerPixelX_;
    int twipsPerPixelY_;
    forms::ScaleMode scaleMode_ = forms::ScaleMode::Twips;
    forms::Rgb foreColor_{0, 0, 0};
    forms::Rgb backColor_{255, 255, 255};
    forms::Rgb fillColor_{0, 0, 0};
    bool fillSolid_ = false;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    double currentX_ = 0;
    double currentY_ = 0;
    int penX_ = 0;
    int penY_ = 0;
};

}  // namespace corvane::qtui

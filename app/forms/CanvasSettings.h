// SPDX-License-Identifier: MIT
//
// The settings part of a canvas: its size and units, colours, fill style,
// font and text position, kept as they are set. Canvases that paint nothing
// (the harness's blank canvas, the tests' recording canvases) derive from it
// and implement only the drawing operations.
#pragma once

#include "ports/Canvas.h"

namespace corvane::forms {

class CanvasSettings : public Canvas {
  public:
    CanvasSettings(int pixelWidth, int pixelHeight, int twipsPerPixelX = 15,
                   int twipsPerPixelY = 15)
        : width_(pixelWidth),
          height_(pixelHeight),
          twipsPerPixelX_(twipsPerPixelX),
          twipsPerPixelY_(twipsPerPixelY) {}

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }
    void Resize(int pixelWidth, int pixelHeight) override {
        width_ = pixelWidth;
        height_ = pixelHeight;
    }
    int TwipsPerPixelX() const override { return twipsPerPixelX_; }
    int TwipsPerPixelY() const override { return twipsPerPixelY_; }
    void SetScaleMode(ScaleMode mode) override { mode_ = mode; }
    ScaleMode GetScaleMode() const override { return mode_; }

    void SetForeColor(Rgb color) override { fore_ = color; }
    Rgb ForeColor() const override { return fore_; }
    void SetBackColor(Rgb color) override { back_ = color; }
    Rgb BackColor() const override { return back_; }
    void SetFillColor(Rgb color) override { fill_ = color; }
    Rgb FillColor() const override { return fill_; }
    void SetFillSolid(bool solid) override { solid_ = solid; }
    bool FillSolid() const override { return solid_; }
    void SetFontSize(double points) override { fontSize_ = points; }
    double FontSize() const override { return fontSize_; }
    void SetFontBold(bool bold) override { bold_ = bold; }
    bool FontBold() const override { return bold_; }

    double CurrentX() const override { return x_; }
    double CurrentY() const override { return y_; }
    void SetCurrentX(double x) override { x_ = x; }
    void SetCurrentY(double y) override { y_ = y; }

  protected:
    int width_;
    int height_;
    int twipsPerPixelX_;
    int twipsPerPixelY_;
    ScaleMode mode_ = ScaleMode::Twips;
    Rgb fore_{0, 0, 0};
    Rgb back_{255, 255, 255};
    Rgb fill_{0, 0, 0};
    bool solid_ = false;
    double fontSize_ = 8.25;
    bool bold_ = false;
    double x_ = 0;  // text position, in scale units
    double y_ = 0;
};

}  // namespace corvane::forms

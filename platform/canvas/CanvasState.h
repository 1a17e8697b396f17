// SPDX-License-Identifier: MIT
//
// What every canvas keeps besides its pixels: the screen's twips per pixel,
// the scale mode (twips or pixels) with the text position kept in its place on
// the picture when the mode changes, the colours, fill style, font, text
// position and the pen position of the device operations. The image canvas of
// Linux, the memory bitmap of Windows and the canvases that paint nothing all
// derive from it and implement the drawing.
#pragma once

#include <algorithm>

#include "ports/Canvas.h"

namespace corvane::canvas {

class CanvasState : public forms::Canvas {
  public:
    CanvasState(int twipsPerPixelX, int twipsPerPixelY)
        : twipsPerPixelX_(std::max(twipsPerPixelX, 1)),
          twipsPerPixelY_(std::max(twipsPerPixelY, 1)) {}

    int TwipsPerPixelX() const override { return twipsPerPixelX_; }
    int TwipsPerPixelY() const override { return twipsPerPixelY_; }
    void SetScaleMode(forms::ScaleMode mode) override {
        // The text position keeps its place on the picture.
        if (mode == scaleMode_)
            return;
        const double fx =
            mode == forms::ScaleMode::Pixels ? 1.0 / twipsPerPixelX_ : twipsPerPixelX_;
        const double fy =
            mode == forms::ScaleMode::Pixels ? 1.0 / twipsPerPixelY_ : twipsPerPixelY_;
        currentX_ *= fx;
        currentY_ *= fy;
        scaleMode_ = mode;
    }
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

    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }

    void MoveTo(int x, int y) override {
        penX_ = x;
        penY_ = y;
    }

  protected:
    // Scale units to pixels (unrounded).
    double ToPixelsX(double units) const {
        return scaleMode_ == forms::ScaleMode::Twips ? units / twipsPerPixelX_ : units;
    }
    double ToPixelsY(double units) const {
        return scaleMode_ == forms::ScaleMode::Twips ? units / twipsPerPixelY_ : units;
    }
    // Pixels to scale units.
    double FromPixelsX(double pixels) const {
        return scaleMode_ == forms::ScaleMode::Twips ? pixels * twipsPerPixelX_ : pixels;
    }
    double FromPixelsY(double pixels) const {
        return scaleMode_ == forms::ScaleMode::Twips ? pixels * twipsPerPixelY_ : pixels;
    }

    int twipsPerPixelX_;
    int twipsPerPixelY_;
    forms::ScaleMode scaleMode_ = forms::ScaleMode::Twips;
    forms::Rgb foreColor_{0, 0, 0};
    forms::Rgb backColor_{255, 255, 255};
    forms::Rgb fillColor_{0, 0, 0};
    bool fillSolid_ = false;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    double currentX_ = 0;  // text position, in scale units
    double currentY_ = 0;
    int penX_ = 0;  // pen of the device operations, pixels
    int penY_ = 0;
};

}  // namespace corvane::canvas

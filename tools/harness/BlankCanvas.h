// SPDX-License-Identifier: MIT
//
// A canvas that keeps its size, colours, font and text position but paints no
// pixels: the harness gives it to the program's pictures when no map frames
// are wanted, so that the map cycle runs all its logic (view, dot collection,
// clipping, readouts) without the cost of painting. Text is measured at a
// fixed width per character.
#pragma once

#include "platform/canvas/CanvasSettings.h"

namespace corvane::harness {

class BlankCanvas final : public canvas::CanvasSettings {
  public:
    BlankCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)
        : CanvasSettings(pixelWidth, pixelHeight, twipsPerPixelX, twipsPerPixelY) {}

    void Cls() override { currentX_ = currentY_ = 0; }
    void Line(double, double, double x2, double y2) override {
        currentX_ = x2;
        currentY_ = y2;
    }
    void Box(double, double, double x2, double y2) override {
        currentX_ = x2;
        currentY_ = y2;
    }
    void Circle(double, double, double) override {}
    void Print(std::string_view text) override { currentX_ += TextWidth(text); }
    void NewLine() override {
        currentX_ = 0;
        currentY_ += TextHeight("");
    }
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;

    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void FillRect(int, int, int, int, forms::Rgb) override {}
    void FloodFill(int, int, forms::Rgb) override {}
    void CopyFrom(const forms::Canvas&, int, int) override {}
    forms::Rgb PixelAt(int, int) const override { return backColor_; }
    bool PaintsPixels() const override { return false; }
};

}  // namespace corvane::harness

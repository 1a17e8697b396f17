// SPDX-License-Identifier: MIT
//
// A canvas that keeps its size, colours, font and text position but paints no
// pixels: the harness gives it to the program's pictures when no map frames
// are wanted, so that the map cycle runs all its logic (view, dot collection,
// clipping, readouts) without the cost of painting. Text is measured at a
// fixed width per character.
#pragma once

#include "app/forms/Canvas.h"

namespace corvane::harness {

class BlankCanvas final : public forms::Canvas {
  public:
    BlankCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)
        : width_(pixelWidth), height_(pixelHeight), tppx_(twipsPerPixelX), tppy_(twipsPerPixelY) {}

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }
    void Resize(int pixelWidth, int pixelHeight) override {
        width_ = pixelWidth;
        height_ = pixelHeight;
    }
    int TwipsPerPixelX() const override { return tppx_; }
    int TwipsPerPixelY() const override { return tppy_; }
    void SetScaleMode(forms::ScaleMode mode) override { mode_ = mode; }
    forms::ScaleMode GetScaleMode() const override { return mode_; }

    void SetForeColor(forms::Rgb c) override { fore_ = c; }
    forms::Rgb ForeColor() const override { return fore_; }
    void SetBackColor(forms::Rgb c) override { back_ = c; }
    forms::Rgb BackColor() const override { return back_; }
    void SetFillColor(forms::Rgb c) override { fill_ = c; }
    forms::Rgb FillColor() const override { return fill_; }
    void SetFillSolid(bool solid) override { solid_ = solid; }
    bool FillSolid() const override { return solid_; }
    void SetFontSize(double points) override { font_ = points; }
    double FontSize() const override { return font_; }
    void SetFontBold(bool bold) override { bold_ = bold; }
    bool FontBold() const override { return bold_; }

    void Cls() override { x_ = y_ = 0; }
    void Line(double, double, double x2, double y2) override {
        x_ = x2;
        y_ = y2;
    }
    void Box(double, double, double x2, double y2) override {
        x_ = x2;
        y_ = y2;
    }
    void Circle(double, double, double) override {}
    void Print(std::string_view text) override { x_ += TextWidth(text); }
    void NewLine() override {
        x_ = 0;
        y_ += TextHeight("");
    }
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    double CurrentX() const override { return x_; }
    double CurrentY() const override { return y_; }
    void SetCurrentX(double x) override { x_ = x; }
    void SetCurrentY(double y) override { y_ = y; }

    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void FillRect(int, int, int, int, forms::Rgb) override {}
    void FloodFill(int, int, forms::Rgb) override {}
    void CopyFrom(const forms::Canvas&, int, int) override {}
    forms::Rgb PixelAt(int, int) const override { return back_; }

  private:
    int width_;
    int height_;
    int tppx_;
    int tppy_;
    forms::ScaleMode mode_ = forms::ScaleMode::Twips;
    forms::Rgb fore_;
    forms::Rgb back_{255, 255, 255};
    forms::Rgb fill_;
    bool solid_ = false;
    double font_ = 8.25;
    bool bold_ = false;
    double x_ = 0;
    double y_ = 0;
};

}  // namespace corvane::harness

// SPDX-License-Identifier: MIT
//
// A canvas on a memory bitmap (a 32-bit top-down DIB section selected into a
// memory device context): what the Win32 windows blit to the screen. Lines,
// rectangles and the flood fill are drawn pixel by pixel on the bitmap's bits
// with the canvases' shared pixel work, so a map frame has the pixels it has on
// Linux; circles and text go through GDI (Ellipse, TextOut) in the program's
// font.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/canvas/CanvasState.h"
#include "platform/canvas/PixelRaster.h"
#include "ports/Canvas.h"

namespace corvane::win32 {

class GdiCanvas final : public canvas::CanvasState {
  public:
    GdiCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // The memory device context holding the picture (for BitBlt to a window).
    HDC DeviceContext() const { return dc_; }

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }
    void Resize(int pixelWidth, int pixelHeight) override;

    void SetFontSize(double points) override;
    void SetFontBold(bool bold) override;

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
    // Makes a bitmap of the size, filled with the back colour.
    void MakeBitmap(int pixelWidth, int pixelHeight);
    // The bits, after GDI has finished drawing on them.
    canvas::PixelBuffer Bits() const;
    void MakeFont();
    SIZE TextExtent(std::string_view text) const;

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace corvane::win32

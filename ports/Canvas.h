// SPDX-License-Identifier: MIT
//
// A picture box's drawing surface: the program's picture boxes (Picture1,
// Picture2, picstore, picmap) are canvases. One implementation on an image
// serves both the window and the headless host; tests use a recording one.
//
// Two families of operations, as the program uses them:
// - the picture box's own methods (Cls, Line, Box, Circle, Print, TextWidth,
//   CurrentX/CurrentY) work in the canvas's scale units, twips or pixels, and
//   in its colours and font;
// - the device operations (MoveTo, LineTo, FillRect, FloodFill, CopyFrom,
//   PixelAt) always work in whole pixels.
// Coordinates grow right and down from the top left corner.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane::forms {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class ScaleMode { Twips, Pixels };

class Canvas {
  public:
    virtual ~Canvas() = default;

    // ---- Size and units ---------------------------------------------------------
    virtual int PixelWidth() const = 0;
    virtual int PixelHeight() const = 0;
    virtual void Resize(int pixelWidth, int pixelHeight) = 0;
    virtual int TwipsPerPixelX() const = 0;
    virtual int TwipsPerPixelY() const = 0;
    virtual void SetScaleMode(ScaleMode mode) = 0;
    virtual ScaleMode GetScaleMode() const = 0;

    // ---- Colours, fill style, font ------------------------------------------------
    virtual void SetForeColor(Rgb color) = 0;
    virtual Rgb ForeColor() const = 0;
    virtual void SetBackColor(Rgb color) = 0;
    virtual Rgb BackColor() const = 0;
    virtual void SetFillColor(Rgb color) = 0;
    virtual Rgb FillColor() const = 0;
    virtual void SetFillSolid(bool solid) = 0;  // false: transparent (the default)
    virtual bool FillSolid() const = 0;
    virtual void SetFontSize(double points) = 0;
    virtual double FontSize() const = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual bool FontBold() const = 0;

    // ---- The picture box's methods (scale units) -----------------------------------
    // Clears to the back colour; the text position goes back to (0, 0).
    virtual void Cls() = 0;
    // A line in the fore colour; the text position moves to its end.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // A rectangle outlined in the fore colour, filled with the fill colour when
    // the fill style is solid.
    virtual void Box(double x1, double y1, double x2, double y2) = 0;
    virtual void Circle(double x, double y, double radius) = 0;
    // Writes text at the text position in the fore colour; the position moves
    // right by the text's width.
    virtual void Print(std::string_view text) = 0;
    // Ends a line of text: x back to 0, y down by the text height.
    virtual void NewLine() = 0;
    virtual double TextWidth(std::string_view text) const = 0;
    virtual double TextHeight(std::string_view text) const = 0;
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;

    // ---- Device operations (pixels) -------------------------------------------------
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;  // in the fore colour, last pixel excluded
    // Fills [left, right) x [top, bottom).
    virtual void FillRect(int left, int top, int right, int bottom, Rgb color) = 0;
    // Fills with the fill colour from (x, y) outwards until the boundary colour.
    virtual void FloodFill(int x, int y, Rgb boundary) = 0;
    // Copies the rectangle (0, 0, width, height) of source onto this canvas at
    // (0, 0), clipped to both.
    virtual void CopyFrom(const Canvas& source, int width, int height) = 0;
    virtual Rgb PixelAt(int x, int y) const = 0;

    // False for a canvas whose device operations paint nothing and keep no
    // pen: a drawer may then leave out the work whose only result is pixels.
    virtual bool PaintsPixels() const { return true; }
};

}  // namespace corvane::forms

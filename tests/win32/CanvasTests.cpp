// SPDX-License-Identifier: MIT
//
// corvane-canvas-win32-tests.exe: the canvas on a memory bitmap under Wine.
// The pixel operations (shared with the Linux canvas) on the bitmap's bits,
// the GDI ones (circles, text) on the same bitmap, and what a resize and a
// copy keep. Prints one line per test, then "N passed, M failed".
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/GdiCanvas.h"
#include "tests/win32/MiniTest.h"

namespace {

using corvane::win32test::Check;

using corvane::forms::Rgb;
using corvane::forms::ScaleMode;
using corvane::win32::GdiCanvas;

constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

int Count(const GdiCanvas& c, Rgb colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += c.PixelAt(x, y) == colour;
    return n;
}

// Cls, device lines without their last pixel, filled rectangles clipped to the
// bitmap, a flood fill stopped by its boundary, and scale-unit lines and boxes.
void PixelOperations(Check& check) {
    GdiCanvas c(40, 30, 15, 15);
    c.SetBackColor(kGreen);
    c.Cls();
    check.That(Count(c, kGreen, 0, 0, 40, 30) == 40 * 30, "Cls fills with the back colour");
    c.SetForeColor(kWhite);
    c.MoveTo(2, 5);
    c.LineTo(12, 5);
    check.That(Count(c, kWhite, 0, 5, 40, 6) == 10 && c.PixelAt(12, 5) == kGreen,
               "LineTo leaves out its last pixel");
    c.FillRect(-5, 20, 100, 100, kBlue);
    check.That(Count(c, kBlue, 0, 0, 40, 30) == 40 * 10, "FillRect clips to the bitmap");
    // A closed white square, filled red from inside: the outside stays green.
    c.SetScaleMode(ScaleMode::Pixels);
    c.Box(20, 2, 30, 12);
    c.SetFillColor(kRed);
    c.FloodFill(25, 7, kWhite);
    check.That(Count(c, kRed, 0, 0, 40, 30) == 9 * 9, "the flood fill stays inside the box");
    check.That(c.PixelAt(19, 7) == kGreen && c.PixelAt(31, 7) == kGreen, "outside untouched");
    // In twips, 15 to the pixel.
    c.SetScaleMode(ScaleMode::Twips);
    c.SetForeColor(kBlack);
    c.Line(0, 15 * 15, 15 * 5, 15 * 15);
    check.That(Count(c, kBlack, 0, 15, 40, 16) == 6 && c.CurrentX() == 75,
               "a twips line includes its end and moves the text position");
    c.Line(-1e9, -1e9, 1e9, 1e9);  // far outside: cut, no endless walk
    check.That(c.PixelAt(0, 0) == kBlack, "a line from far away still crosses the bitmap");
}

// A circle's outline in the fore colour, its inside left alone unless the fill
// is solid; text in the fore colour within its measured width.
void CirclesAndText(Check& check) {
    GdiCanvas c(100, 60, 15, 15);
    c.SetBackColor(kGreen);
    c.Cls();
    c.SetScaleMode(ScaleMode::Pixels);
    c.SetForeColor(kWhite);
    c.Circle(30, 30, 20);
    check.That(c.PixelAt(50, 30) == kWhite && c.PixelAt(10, 30) == kWhite &&
                   c.PixelAt(30, 10) == kWhite && c.PixelAt(30, 50) == kWhite,
               "the outline passes through the four ends of the radius");
    check.That(c.PixelAt(30, 30) == kGreen && c.PixelAt(52, 30) == kGreen,
               "inside and outside untouched");
    c.SetFillSolid(true);
    c.SetFillColor(kRed);
    c.Circle(80, 30, 10);
    check.That(c.PixelAt(80, 30) == kRed, "a solid circle is filled");

    GdiCanvas t(200, 40, 15, 15);
    t.SetBackColor(kWhite);
    t.Cls();
    t.SetScaleMode(ScaleMode::Pixels);
    t.SetForeColor(kBlack);
    const double shortWidth = t.TextWidth("EGLL");
    const double longWidth = t.TextWidth("EGLL Heathrow");
    check.That(shortWidth > 10 && longWidth > shortWidth * 2, "text widths grow with the text");
    check.That(t.TextHeight("Ag") >= 8 && t.TextHeight("Ag") <= 20, "an 8 point line height");
    t.SetCurrentX(5);
    t.SetCurrentY(5);
    t.Print("EGLL");
    const int inked = Count(t, kBlack, 0, 0, 200, 40);
    const int inside = Count(t, kBlack, 5, 5, 5 + int(shortWidth) + 1, 5 + int(t.TextHeight("A")));
    check.That(inked > 20 && inside == inked, "the text is written within its measured box");
    check.That(t.CurrentX() == 5 + shortWidth, "the text position moves by the text's width");
    t.SetFontSize(14);
    t.SetFontBold(true);
    check.That(t.TextWidth("EGLL") > shortWidth * 1.4, "a larger bold font is wider");
    t.NewLine();
    check.That(t.CurrentX() == 0 && t.CurrentY() > 5, "a new line goes down and back to 0");
}

// A resize keeps the picture's top left and fills the new part with the back
// colour; a copy takes the source's top left, clipped to both.
void ResizeAndCopy(Check& check) {
    GdiCanvas a(20, 20, 15, 15);
    a.SetBackColor(kGreen);
    a.Cls();
    a.FillRect(0, 0, 5, 5, kRed);
    a.Resize(30, 10);
    check.That(a.PixelWidth() == 30 && a.PixelHeight() == 10, "the new size");
    check.That(a.PixelAt(4, 4) == kRed && a.PixelAt(25, 5) == kGreen, "kept and filled");
    GdiCanvas b(10, 40, 15, 15);
    b.SetBackColor(kBlue);
    b.Cls();
    b.CopyFrom(a, 100, 100);
    check.That(b.PixelAt(0, 0) == kRed && b.PixelAt(9, 9) == kGreen && b.PixelAt(5, 20) == kBlue,
               "the copy is clipped to both canvases");
    check.That(b.PixelAt(-1, 0) == Rgb{} && b.PixelAt(10, 0) == Rgb{}, "outside reads black");
}

struct TestCase {
    const char* name;
    void (*run)(Check&);
};

const TestCase kTests[] = {
    {"pixel_operations_on_the_bitmap", PixelOperations},
    {"circles_and_text_through_gdi", CirclesAndText},
    {"resize_and_copy", ResizeAndCopy},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        std::printf(
            "Usage: corvane-canvas-win32-tests.exe\n"
            "The canvas on a memory bitmap. Prints \"N passed, M failed\".\n");
        return std::string(argv[1]) == "--help" ? 0 : 2;
    }
    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        test.run(check);
        tally.Record(test.name, check);
    }
    return tally.Finish();
}

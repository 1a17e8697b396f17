// SPDX-License-Identifier: MIT
#include "platform/win32/GdiCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace corvane::win32 {

namespace {

int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

COLORREF ColorOf(forms::Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// The font of the program's picture boxes.
constexpr const char* kFontFace = "MS Sans Serif";

}  // namespace

GdiCanvas::GdiCanvas(int pixelWidth, int pixelHeight, int twipsPerPixelX, int twipsPerPixelY)
    : CanvasState(twipsPerPixelX, twipsPerPixelY) {
    dc_ = ::CreateCompatibleDC(nullptr);
    MakeBitmap(pixelWidth, pixelHeight);
    MakeFont();
    ::SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
    if (originalFont_)
        ::SelectObject(dc_, originalFont_);
    if (font_)
        ::DeleteObject(font_);
    if (originalBitmap_)
        ::SelectObject(dc_, originalBitmap_);
    if (bitmap_)
        ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
}

void GdiCanvas::MakeBitmap(int pixelWidth, int pixelHeight) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(pixelWidth, 1);
    info.bmiHeader.biHeight = -std::max(pixelHeight, 1);  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP old = bitmap_;
    std::uint32_t* oldBits = bits_;
    const int oldWidth = width_, oldHeight = height_;
    if (!bitmap) {
        // Out of bitmap memory: keep the picture there is.
        return;
    }
    bitmap_ = bitmap;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = std::max(pixelWidth, 1);
    height_ = std::max(pixelHeight, 1);
    const canvas::PixelBuffer now = Bits();
    canvas::FillPixelRect(now, 0, 0, width_, height_, canvas::PackRgb(backColor_));
    if (old) {
        ::GdiFlush();
        for (int y = 0; y < std::min(oldHeight, height_); ++y)
            std::memcpy(now.Row(y), oldBits + std::ptrdiff_t(y) * oldWidth,
                        std::size_t(std::min(oldWidth, width_)) * sizeof(std::uint32_t));
    }
    HGDIOBJ previous = ::SelectObject(dc_, bitmap_);
    if (!originalBitmap_)
        originalBitmap_ = previous;
    if (old)
        ::DeleteObject(old);
}

void GdiCanvas::Resize(int pixelWidth, int pixelHeight) {
    MakeBitmap(pixelWidth, pixelHeight);
}

canvas::PixelBuffer GdiCanvas::Bits() const {
    ::GdiFlush();
    return {bits_, width_, height_, width_};
}

void GdiCanvas::MakeFont() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const double points = fontSize_ > 0 ? fontSize_ : 8.25;
    HFONT font =
        ::CreateFontA(-Round(points * dpi / 72.0), 0, 0, 0, fontBold_ ? FW_BOLD : FW_NORMAL, FALSE,
                      FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontFace);
    if (!font)
        return;
    HGDIOBJ previous = ::SelectObject(dc_, font);
    if (!originalFont_)
        originalFont_ = previous;
    if (font_)
        ::DeleteObject(font_);
    font_ = font;
}

void GdiCanvas::SetFontSize(double points) {
    if (points == fontSize_)
        return;
    fontSize_ = points;
    MakeFont();
}

void GdiCanvas::SetFontBold(bool bold) {
    if (bold == fontBold_)
        return;
    fontBold_ = bold;
    MakeFont();
}

void GdiCanvas::Cls() {
    canvas::FillPixelRect(Bits(), 0, 0, width_, height_, canvas::PackRgb(backColor_));
    currentX_ = 0;
    currentY_ = 0;
}

void GdiCanvas::Line(double x1, double y1, double x2, double y2) {
    canvas::DrawPixelLine(Bits(), Round(ToPixelsX(x1)), Round(ToPixelsY(y1)), Round(ToPixelsX(x2)),
                          Round(ToPixelsY(y2)), canvas::PackRgb(foreColor_), true);
    currentX_ = x2;
    currentY_ = y2;
}

void GdiCanvas::Box(double x1, double y1, double x2, double y2) {
    const int left = Round(ToPixelsX(std::min(x1, x2)));
    const int right = Round(ToPixelsX(std::max(x1, x2)));
    const int top = Round(ToPixelsY(std::min(y1, y2)));
    const int bottom = Round(ToPixelsY(std::max(y1, y2)));
    const canvas::PixelBuffer bits = Bits();
    if (fillSolid_)
        canvas::FillPixelRect(bits, left, top, right + 1, bottom + 1, canvas::PackRgb(fillColor_));
    const std::uint32_t pen = canvas::PackRgb(foreColor_);
    canvas::DrawPixelLine(bits, left, top, right, top, pen, true);
    canvas::DrawPixelLine(bits, right, top, right, bottom, pen, true);
    canvas::DrawPixelLine(bits, right, bottom, left, bottom, pen, true);
    canvas::DrawPixelLine(bits, left, bottom, left, top, pen, true);
    currentX_ = x2;
    currentY_ = y2;
}

void GdiCanvas::Circle(double x, double y, double radius) {
    const int cx = Round(ToPixelsX(x)), cy = Round(ToPixelsY(y));
    const int r = Round(ToPixelsX(radius));
    HPEN pen = ::CreatePen(PS_SOLID, 1, ColorOf(foreColor_));
    HBRUSH brush = fillSolid_ ? ::CreateSolidBrush(ColorOf(fillColor_)) : nullptr;
    HGDIOBJ oldPen = ::SelectObject(dc_, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc_, brush ? HGDIOBJ(brush) : ::GetStockObject(NULL_BRUSH));
    ::Ellipse(dc_, cx - r, cy - r, cx + r + 1, cy + r + 1);
    ::SelectObject(dc_, oldBrush);
    ::SelectObject(dc_, oldPen);
    if (brush)
        ::DeleteObject(brush);
    ::DeleteObject(pen);
    currentX_ = x;
    currentY_ = y;
}

SIZE GdiCanvas::TextExtent(std::string_view text) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(dc_, text.data(), int(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICA metrics;
        ::GetTextMetricsA(dc_, &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

void GdiCanvas::Print(std::string_view text) {
    ::SetTextColor(dc_, ColorOf(foreColor_));
    ::TextOutA(dc_, Round(ToPixelsX(currentX_)), Round(ToPixelsY(currentY_)), text.data(),
               int(text.size()));
    currentX_ += TextWidth(text);
}

void GdiCanvas::NewLine() {
    currentX_ = 0;
    currentY_ += TextHeight("Ag");
}

double GdiCanvas::TextWidth(std::string_view text) const {
    const double pixels = TextExtent(text).cx;
    return FromPixelsX(pixels);
}

double GdiCanvas::TextHeight(std::string_view text) const {
    const double pixels = TextExtent(text.empty() ? std::string_view("Ag") : text).cy;
    return FromPixelsY(pixels);
}

void GdiCanvas::LineTo(int x, int y) {
    canvas::DrawPixelLine(Bits(), penX_, penY_, x, y, canvas::PackRgb(foreColor_), false);
    penX_ = x;
    penY_ = y;
}

void GdiCanvas::FillRect(int left, int top, int right, int bottom, forms::Rgb color) {
    canvas::FillPixelRect(Bits(), left, top, right, bottom, canvas::PackRgb(color));
}

void GdiCanvas::FloodFill(int x, int y, forms::Rgb boundary) {
    canvas::FloodFillPixels(Bits(), x, y, canvas::PackRgb(boundary), canvas::PackRgb(fillColor_));
}

void GdiCanvas::CopyFrom(const forms::Canvas& source, int width, int height) {
    width = std::min({width, width_, source.PixelWidth()});
    height = std::min({height, height_, source.PixelHeight()});
    if (width <= 0 || height <= 0)
        return;
    const canvas::PixelBuffer to = Bits();
    if (auto* other = dynamic_cast<const GdiCanvas*>(&source)) {
        const canvas::PixelBuffer from = other->Bits();
        for (int y = 0; y < height; ++y)
            std::memcpy(to.Row(y), from.Row(y), std::size_t(width) * sizeof(std::uint32_t));
        return;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas::SetBufferPixel(to, x, y, canvas::PackRgb(source.PixelAt(x, y)));
}

forms::Rgb GdiCanvas::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    return canvas::UnpackRgb(Bits().Row(y)[x]);
}

}  // namespace corvane::win32

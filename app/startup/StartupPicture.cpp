// SPDX-License-Identifier: MIT
#include "app/startup/StartupPicture.h"

#include <algorithm>

#include "app/startup/Program.h"

namespace corvane::startup {

namespace {

constexpr forms::Rgb kMapGreen{0, 128, 0};
constexpr forms::Rgb kRingColour{128, 255, 128};
constexpr forms::Rgb kTextColour{255, 255, 255};
constexpr forms::Rgb kDotColours[] = {
    {255, 128, 0}, {255, 255, 128}, {60, 60, 255}, {128, 255, 255}};

}  // namespace

void DrawStartupPicture(forms::Picture& picture) {
    forms::Canvas* c = picture.canvas.get();
    if (!c)
        return;
    const forms::ScaleMode savedMode = c->GetScaleMode();
    c->SetScaleMode(forms::ScaleMode::Pixels);
    const int h = c->PixelHeight();
    c->SetBackColor(kMapGreen);
    c->Cls();

    // A map window in miniature at the left: range rings and a few dots.
    const int cx = h / 2;
    const int cy = h / 2;
    c->SetForeColor(kRingColour);
    c->SetFillSolid(false);
    for (int ring = 1; ring <= 3; ++ring)
        c->Circle(cx, cy, ring * (h / 2 - 8) / 3.0);
    c->MoveTo(cx - 4, cy);
    c->LineTo(cx + 5, cy);
    c->MoveTo(cx, cy - 4);
    c->LineTo(cx, cy + 5);
    const int dots[][2] = {{-30, -22}, {25, -40}, {40, 18}, {-18, 35}, {-48, 8}, {12, 52}};
    int i = 0;
    for (const auto& d : dots) {
        const int x = cx + d[0] * h / 160;
        const int y = cy + d[1] * h / 160;
        c->FillRect(x, y, x + 4, y + 4, kDotColours[i++ % 4]);
    }

    // The name and what the program is.
    const int textLeft = h + 8;
    c->SetForeColor(kTextColour);
    c->SetFontBold(true);
    c->SetFontSize(22);
    c->SetCurrentX(textLeft);
    c->SetCurrentY(h / 2.0 - c->TextHeight("Corvane"));
    c->Print("Corvane");
    c->SetFontBold(false);
    c->SetFontSize(9);
    const char* lines[] = {"Moving map, fly there and land,", "mouse flight controls"};
    double y = h / 2.0 + 4;
    for (const char* line : lines) {
        c->SetCurrentX(textLeft);
        c->SetCurrentY(y);
        c->Print(line);
        y += c->TextHeight(line);
    }
    c->SetFontSize(8.25);
    c->SetScaleMode(savedMode);
}

void ShowStartupStatus(Program& p, const std::string& text) {
    forms::Form6Model& f = p.forms.Form6;
    f.lblStatus.caption = text;
    f.lblStatus.visible = true;
    f.visible = true;
    p.host.UpdateWindow(f.windowHandle);
    p.host.DoEvents();
}

void HideStartupStatus(Program& p) {
    forms::Form6Model& f = p.forms.Form6;
    if (f.lblStatus.caption.empty() && !f.visible)
        return;
    f.lblStatus.caption.clear();
    f.visible = false;
}

}  // namespace corvane::startup

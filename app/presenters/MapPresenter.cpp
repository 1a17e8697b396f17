// SPDX-License-Identifier: MIT
#include "app/presenters/MapPresenter.h"

#include <utility>

namespace corvane::presenters {

void ShowReadouts(forms::Form4Model& form4, map::ReadoutLines lines) {
    if (!lines.shown) {
        form4.visible = false;
        return;
    }
    form4.Label1.caption = std::move(lines.lines[0]);
    form4.Label2.caption = std::move(lines.lines[1]);
    form4.Label3.caption = std::move(lines.lines[2]);
    form4.Label4.caption = std::move(lines.lines[3]);
    form4.visible = true;
}

void ShowFrameLine(forms::Form1Model& form1, std::string text) {
    form1.Text1.text = std::move(text);
}

}  // namespace corvane::presenters

// SPDX-License-Identifier: MIT
#include "app/presenters/MapPresenter.h"

namespace corvane::presenters {

void ShowReadouts(forms::Form4Model& form4, const map::ReadoutLines& lines) {
    if (!lines.shown) {
        form4.visible = false;
        return;
    }
    form4.Label1.caption = lines.lines[0];
    form4.Label2.caption = lines.lines[1];
    form4.Label3.caption = lines.lines[2];
    form4.Label4.caption = lines.lines[3];
    form4.visible = true;
}

void ShowFrameLine(forms::Form1Model& form1, const std::string& text) {
    form1.Text1.text = text;
}

}  // namespace corvane::presenters

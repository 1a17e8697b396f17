// SPDX-License-Identifier: MIT
#pragma once

namespace corvane::mainwindow {

struct MainWindowState {
    bool WindowDragging = false;
    float DragStartX = 0;  // twips inside Picture1
    float DragStartY = 0;
    float MapMouseX = 0;  // last mouse position inside Picture1, twips
    float MapMouseY = 0;
    // Set by EndMenuAction, so that the menu dispatcher knows whether the
    // command ended the menu action itself.
    bool MenuActionEnded = false;
};

}  // namespace corvane::mainwindow

// SPDX-License-Identifier: MIT
//
// The pop-up menu as a QMenu tree built from the menu model: hidden items are
// absent, captions and check marks are the model's, each action carries its
// item's name.
#pragma once

#include <QMenu>
#include <memory>
#include <string>

#include "app/forms/Controls.h"

namespace corvane::ui {

std::unique_ptr<QMenu> BuildPopupMenu(const forms::MenuItem& top, QWidget* parent = nullptr);

// The item name an action of such a menu stands for (empty for none).
std::string ItemNameOf(const QAction* action);

}  // namespace corvane::ui

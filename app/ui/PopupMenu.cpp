// SPDX-License-Identifier: MIT
#include "app/ui/PopupMenu.h"

#include "app/forms/ViewLayout.h"
#include "app/ui/ControlSync.h"

namespace corvane::ui {

namespace {

void AddItems(QMenu& menu, const forms::MenuItem& parent) {
    for (const forms::MenuItem* item : forms::ShownChildren(parent)) {
        const QString caption = Latin1Text(item->caption);
        if (!item->children.empty()) {
            QMenu* sub = menu.addMenu(caption);
            sub->setObjectName(QString::fromStdString(item->name));
            sub->setEnabled(item->enabled);
            AddItems(*sub, *item);
            continue;
        }
        QAction* action = menu.addAction(caption);
        action->setObjectName(QString::fromStdString(item->name));
        action->setData(QString::fromStdString(item->name));
        action->setEnabled(item->enabled);
        if (item->checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
}

}  // namespace

std::unique_ptr<QMenu> BuildPopupMenu(const forms::MenuItem& top, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    menu->setObjectName(QString::fromStdString(top.name));
    AddItems(*menu, top);
    return menu;
}

std::string ItemNameOf(const QAction* action) {
    return action ? action->data().toString().toStdString() : std::string();
}

}  // namespace corvane::ui

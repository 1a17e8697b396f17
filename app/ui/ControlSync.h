// SPDX-License-Identifier: MIT
//
// Bringing Qt widgets in line with the control models: positions and sizes
// (twips to pixels), visibility, captions, texts, list items, scroll values,
// grid cells and window outlines. The setters leave a widget alone where it
// already shows the model, so that syncing often costs little and does not
// disturb what the user is doing.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QTableWidget>
#include <string>
#include <vector>

#include "app/forms/Controls.h"
#include "app/forms/ViewLayout.h"

namespace corvane::ui {

// The program's texts are in the Windows ANSI code page (Latin-1 here), as the
// airport database stores them: these turn them into Qt's texts and back.
inline QString Latin1Text(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ProgramText(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

using forms::Px;
using forms::Scale;

void SyncControl(QWidget* widget, const forms::Control& control, Scale scale);
void SyncLabel(QLabel* widget, const forms::Label& label, Scale scale);
void SyncButton(QPushButton* widget, const forms::Button& button, Scale scale);
void SyncTextBox(QLineEdit* widget, const forms::TextBox& box, Scale scale);
void SyncListBox(QListWidget* widget, const forms::ListBox& list, Scale scale);
void SyncScrollBar(QScrollBar* widget, const forms::ScrollBar& bar, Scale scale);
void SyncGrid(QTableWidget* widget, const forms::Grid& grid, Scale scale);

// A window's outline as a region in its pixels (empty: the whole window).
QRegion RegionOf(const std::vector<forms::RegionShape>& shapes);

}  // namespace corvane::ui

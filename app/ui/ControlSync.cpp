// SPDX-License-Identifier: MIT
#include "app/ui/ControlSync.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>
#include <cmath>

namespace corvane::ui {

void SyncControl(QWidget* widget, const forms::Control& control, Scale scale) {
    const forms::PixelRect px = forms::PixelsOf(control, scale);
    const QRect geometry(px.left, px.top, px.width, px.height);
    if (widget->geometry() != geometry)
        widget->setGeometry(geometry);
    if (widget->isEnabled() != control.enabled)
        widget->setEnabled(control.enabled);
    if (widget->isVisibleTo(widget->parentWidget()) != control.visible) {
        widget->setVisible(control.visible);
    }
}

void SyncLabel(QLabel* widget, const forms::Label& label, Scale scale) {
    SyncControl(widget, label, scale);
    const QString text = Latin1Text(label.caption);
    if (widget->text() != text)
        widget->setText(text);
}

void SyncButton(QPushButton* widget, const forms::Button& button, Scale scale) {
    SyncControl(widget, button, scale);
    const QString text = Latin1Text(button.caption);
    if (widget->text() != text)
        widget->setText(text);
}

void SyncTextBox(QLineEdit* widget, const forms::TextBox& box, Scale scale) {
    SyncControl(widget, box, scale);
    const QString text = Latin1Text(box.text);
    if (widget->text() != text) {
        const QSignalBlocker quiet(widget);
        widget->setText(text);
    }
}

void SyncListBox(QListWidget* widget, const forms::ListBox& list, Scale scale) {
    SyncControl(widget, list, scale);
    const QSignalBlocker quiet(widget);
    bool same = widget->count() == int(list.items.size());
    for (int i = 0; same && i < widget->count(); ++i) {
        same = ProgramText(widget->item(i)->text()) == list.items[std::size_t(i)];
    }
    if (!same) {
        widget->clear();
        for (const std::string& item : list.items)
            widget->addItem(Latin1Text(item));
    }
    const int index = list.listIndex < widget->count() ? list.listIndex : -1;
    if (widget->currentRow() != index)
        widget->setCurrentRow(index);
}

void SyncScrollBar(QScrollBar* widget, const forms::ScrollBar& bar, Scale scale) {
    SyncControl(widget, bar, scale);
    const QSignalBlocker quiet(widget);
    // A scroll bar's minimum may lie above its maximum; Qt wants them in order.
    const forms::ScrollRange range = forms::RangeOf(bar);
    widget->setRange(range.low, range.high);
    widget->setSingleStep(bar.smallChange);
    widget->setPageStep(bar.largeChange);
    if (widget->value() != bar.value)
        widget->setValue(bar.value);
}

void SyncGrid(QTableWidget* widget, const forms::Grid& grid, Scale scale) {
    SyncControl(widget, grid, scale);
    const int rows = std::max(grid.rows, 0);
    const int cols = std::max(grid.cols, 0);
    if (widget->rowCount() != rows)
        widget->setRowCount(rows);
    if (widget->columnCount() != cols)
        widget->setColumnCount(cols);
    const QColor fixedBack(212, 208, 200);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            QTableWidgetItem* item = widget->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled);
                widget->setItem(r, c, item);
            }
            const QString text = Latin1Text(grid.Text(r, c));
            if (item->text() != text)
                item->setText(text);
            const bool fixed = r < grid.fixedRows || c < grid.fixedCols;
            item->setBackground(fixed ? QBrush(fixedBack) : QBrush());
            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
            if (r < grid.fixedRows && std::size_t(c) < grid.headerAlignment.size()) {
                switch (grid.headerAlignment[std::size_t(c)]) {
                    case forms::GridAlignment::Centre:
                        alignment = Qt::AlignHCenter | Qt::AlignVCenter;
                        break;
                    case forms::GridAlignment::Right:
                        alignment = Qt::AlignRight | Qt::AlignVCenter;
                        break;
                    case forms::GridAlignment::Left:
                        break;
                }
            }
            item->setTextAlignment(alignment);
        }
    }
    // Each column is as wide as the window's layout makes it, and wider where a text needs
    // more (a larger font or scale): texts are never cut, the grid scrolls instead.
    const QFontMetrics metrics(widget->font());
    const int padding =
        2 * widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) +
        metrics.averageCharWidth() + 2;
    for (int c = 0; c < cols; ++c) {
        const double twips =
            std::size_t(c) < grid.colWidths.size() ? grid.colWidths[std::size_t(c)] : 1000.0;
        int width = std::max(Px(twips, scale.x), 1);
        for (int r = 0; r < rows; ++r) {
            const QString text = widget->item(r, c)->text();
            if (!text.isEmpty())
                width = std::max(width, metrics.horizontalAdvance(text) + padding);
        }
        if (widget->columnWidth(c) != width)
            widget->setColumnWidth(c, width);
    }
    // Rows as high as a line of text needs, so that as many as can be are seen at once.
    const int rowHeight = metrics.height() + 6;
    for (int r = 0; r < rows; ++r) {
        if (widget->rowHeight(r) != rowHeight)
            widget->setRowHeight(r, rowHeight);
    }
}

QRegion RegionOf(const std::vector<forms::RegionShape>& shapes) {
    QRegion region;
    for (const forms::RegionShape& s : shapes) {
        const QRect r(s.left, s.top, s.right - s.left, s.bottom - s.top);
        region = region.united(QRegion(r, s.kind == forms::RegionShape::Kind::Ellipse
                                              ? QRegion::Ellipse
                                              : QRegion::Rectangle));
    }
    return region;
}

}  // namespace corvane::ui

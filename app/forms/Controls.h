// SPDX-License-Identifier: MIT
//
// Models of the controls on the program's windows: the state the logic reads
// and writes (captions, visibility, check marks, list items with their item
// data, tags, label texts, grid cells, positions and sizes in twips). The Qt
// widgets render these models and forward the user's actions to the logic's
// handlers; the headless host needs no widgets at all.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ports/Canvas.h"

namespace corvane::forms {

// What every control has. Positions and sizes are twips, relative to the form.
struct Control {
    std::string name;
    bool visible = true;
    bool enabled = true;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string tag;
    // The window system's handle of the control's own window, 0 when the
    // control has no window (the hosts fill it in).
    std::uint64_t windowHandle = 0;

    explicit Control(std::string controlName = {}) : name(std::move(controlName)) {}
};

struct Label : Control {
    using Control::Control;
    std::string caption;
};

struct Button : Control {
    using Control::Control;
    std::string caption;
};

struct TextBox : Control {
    using Control::Control;
    std::string text;
};

// A list box: items with 32-bit item data.
struct ListBox : Control {
    using Control::Control;
    std::vector<std::string> items;
    std::vector<std::int32_t> itemData;
    int listIndex = -1;

    void Clear() {
        items.clear();
        itemData.clear();
        listIndex = -1;
    }
    void AddItem(std::string text, std::int32_t data = 0) {
        items.push_back(std::move(text));
        itemData.push_back(data);
    }
};

struct ScrollBar : Control {
    using Control::Control;
    int min = 0;
    int max = 32767;
    int smallChange = 1;
    int largeChange = 1;
    int value = 0;
};

enum class GridAlignment { Left, Centre, Right };

// A grid of text cells (the runway details).
struct Grid : Control {
    using Control::Control;
    int rows = 2;
    int cols = 2;
    int fixedRows = 1;
    int fixedCols = 1;
    std::vector<std::vector<std::string>> cells;  // [row][col]
    std::vector<double> colWidths;                // twips
    std::vector<GridAlignment> headerAlignment;   // per column

    void Clear() {
        cells.clear();
        EnsureSize();
        for (auto& row : cells) {
            for (auto& cell : row)
                cell.clear();
        }
    }
    void SetRows(int r) {
        rows = r;
        EnsureSize();
    }
    void SetCols(int c) {
        cols = c;
        EnsureSize();
    }
    void SetText(int row, int col, std::string text) {
        EnsureSize();
        if (row >= 0 && row < rows && col >= 0 && col < cols)
            cells[row][col] = std::move(text);
    }
    const std::string& Text(int row, int col) const {
        static const std::string empty;
        if (row < 0 || col < 0 || row >= int(cells.size()) || col >= int(cells[row].size())) {
            return empty;
        }
        return cells[row][col];
    }

  private:
    void EnsureSize() {
        cells.resize(std::size_t(std::max(rows, 0)));
        for (auto& row : cells)
            row.resize(std::size_t(std::max(cols, 0)));
        colWidths.resize(std::size_t(std::max(cols, 0)), 1000);
        headerAlignment.resize(std::size_t(std::max(cols, 0)), GridAlignment::Left);
    }
};

// A picture box: a control with a canvas (made by the host, so that it can be
// shown on screen or kept off screen).
struct Picture : Control {
    using Control::Control;
    std::unique_ptr<Canvas> canvas;
    bool autoRedraw = false;  // keeps its image between paints
};

// An image control (the joystick knob).
struct Image : Control {
    using Control::Control;
    int mousePointer = 0;  // 0 default arrow, 5 four-way move arrow
};

// One entry of a menu tree. Level 0 is the top item, which is never shown as a
// menu bar; hidden entries are absent from the shown menu.
struct MenuItem {
    MenuItem(std::string itemName, std::string itemCaption, int itemLevel, bool isVisible = true,
             bool isChecked = false)
        : name(std::move(itemName)),
          caption(std::move(itemCaption)),
          level(itemLevel),
          visible(isVisible),
          checked(isChecked) {}
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string name;
    std::string caption;
    int level = 1;
    bool visible = true;
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem*> children;  // in the order shown
};

// The outline of a window: a union of ellipses and rectangles in window pixels.
// An empty outline means the window's full rectangle.
struct RegionShape {
    enum class Kind { Rectangle, Ellipse };
    Kind kind = Kind::Rectangle;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const RegionShape&) const = default;
};

// What every form has. Left and top are screen positions in twips.
struct Form {
    std::string name;
    std::string caption;
    bool visible = false;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string tag;
    std::vector<RegionShape> region;
    std::uint64_t windowHandle = 0;  // filled in by the hosts
    std::uint64_t parentWindow = 0;  // a window of another process we live inside, 0 for none
    bool childStyle = false;         // shown as a child window of parentWindow
    bool showInTaskbar = true;
    int mousePointer = 0;  // 0 arrow, 5 four-way move arrow (over the map)
    // The control (by name) that the logic asks to receive the keyboard focus;
    // the widgets move the focus there when they next render the form and
    // empty the field. Empty: no request.
    std::string focusControl;

    explicit Form(std::string formName = {}) : name(std::move(formName)) {}
};

}  // namespace corvane::forms

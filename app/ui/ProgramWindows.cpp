// SPDX-License-Identifier: MIT
#include "app/ui/ProgramWindows.h"

#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <cstring>
#include <optional>
#include <string>

#include "app/forms/Mouse.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "app/ui/KnobView.h"
#include "app/ui/PopupMenu.h"
#include "platform/qt/ImageCanvas.h"
#include "platform/qt/QtHost.h"

namespace corvane::ui {

namespace {

using startup::ControlEntry;
using startup::ControlKind;
using startup::UserEvent;
using startup::UserInput;

constexpr Qt::WindowFlags kPlainWindow = Qt::Tool | Qt::FramelessWindowHint;

Qt::CursorShape CursorOf(int mousePointer) {
    return mousePointer == forms::kMovePointer ? Qt::SizeAllCursor : Qt::ArrowCursor;
}

Qt::WindowFlags FlagsOf(startup::FormStyle style) {
    switch (style) {
        case startup::FormStyle::Plain:
            return kPlainWindow;
        case startup::FormStyle::Framed:
            return Qt::Window;
        case startup::FormStyle::Splash:
            return Qt::SplashScreen | Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

template <typename Model>
Model& ModelOf(const ControlEntry& control, forms::Forms& forms) {
    return static_cast<Model&>(control.model(forms));
}

}  // namespace

ProgramWindows::ProgramWindows(Program& p, qtui::QtHost& host)
    : p_(p), host_(host), scale_{host.TwipsPerPixelX(), host.TwipsPerPixelY()} {
    startup::OpenShellWindows<qtui::ImageCanvas>(
        p_.forms, host_, scale_, forms_, [this](const startup::FormEntry& entry) { Build(entry); },
        [this] { Sync(); }, [this] { HideAll(); });
}

ProgramWindows::~ProgramWindows() {
    startup::ClearShellHooks(host_);
}

ProgramWindows::Shown& ProgramWindows::Window(const char* name) {
    for (Shown& form : forms_) {
        if (std::strcmp(form.entry->name, name) == 0)
            return form;
    }
    return forms_.front();
}

QWidget* ProgramWindows::WidgetNamed(const Shown& form, const char* name) const {
    const int index = startup::ControlIndex(*form.entry, name);
    return index < 0 ? nullptr : form.widgets[std::size_t(index)];
}

PictureView& ProgramWindows::MapView() {
    return *static_cast<PictureView*>(WidgetNamed(Window("Form1"), "Picture1"));
}

// ---- Building ----------------------------------------------------------------------------

void ProgramWindows::Build(const startup::FormEntry& entry) {
    forms_.push_back({&entry, nullptr, {}});
    Shown& form = forms_.back();
    form.window = std::make_unique<FormWindow>(entry.model(p_.forms), host_, FlagsOf(entry.style));
    if (entry.onClose) {
        form.window->onClose = [this, &entry] { Run([&] { entry.onClose(p_, {}); }); };
    }
    if (entry.style == startup::FormStyle::Plain && std::strcmp(entry.name, "Form4") == 0)
        form.window->setAutoFillBackground(true);
    for (const ControlEntry& control : entry.controls) {
        QWidget* widget = Make(form, control);
        widget->setObjectName(QString::fromLatin1(control.name));
        if (control.ownWindow) {
            control.model(p_.forms).windowHandle = host_.RegisterWidget(widget);
            form.window->AddControl(control.name, widget);
        }
        form.widgets.push_back(widget);
        Bind(form, control, widget);
    }
}

QWidget* ProgramWindows::Make(Shown& form, const ControlEntry& control) {
    QWidget* parent = form.window.get();
    switch (control.kind) {
        case ControlKind::Picture:
            return new PictureView(ModelOf<forms::Picture>(control, p_.forms), scale_.x, scale_.y,
                                   parent);
        case ControlKind::Knob:
            return new KnobView(scale_.x, scale_.y, parent);
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar(Qt::Vertical, parent);
            bar->setFocusPolicy(Qt::NoFocus);
            return bar;
        }
        case ControlKind::ListBox:
            return new QListWidget(parent);
        case ControlKind::Grid: {
            auto* grid = new QTableWidget(parent);
            grid->horizontalHeader()->hide();
            grid->verticalHeader()->hide();
            grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
            grid->setSelectionMode(QAbstractItemView::NoSelection);
            grid->setWordWrap(false);  // one line a row; columns widen to their texts
            grid->setTextElideMode(Qt::ElideNone);
            grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            return grid;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(parent);
            // The button that runs on Enter: the one that reads the form's text box.
            button->setDefault(control.textFrom != nullptr);
            return button;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            switch (form.entry->style) {
                case startup::FormStyle::Plain: {  // the readout window's small lines
                    QFont font = parent->font();
                    font.setPointSizeF(8);
                    label->setFont(font);
                    break;
                }
                case startup::FormStyle::Framed:
                    label->setWordWrap(true);
                    break;
                case startup::FormStyle::Splash:  // the status line over the picture
                    label->setAlignment(Qt::AlignCenter);
                    label->setStyleSheet(
                        QStringLiteral("color: white; background-color: rgba(0, 64, 0, 160);"));
                    break;
            }
            return label;
        }
        case ControlKind::TextBox:
            return new QLineEdit(parent);
    }
    return new QWidget(parent);
}

void ProgramWindows::Report(const Shown& form, const ControlEntry& control, UserEvent event,
                            UserInput in) {
    auto readText = [this, &form](const char* name) -> std::optional<std::string> {
        if (auto* box = qobject_cast<QLineEdit*>(WidgetNamed(form, name)))
            return ProgramText(box->text());
        return std::nullopt;
    };
    startup::Dispatch(p_, control, event, std::move(in), readText,
                      [this](const std::function<void()>& handler) { Run(handler); });
}

void ProgramWindows::Bind(Shown& form, const ControlEntry& control, QWidget* widget) {
    auto report = [this, &form, &control](UserEvent event, UserInput in) {
        Report(form, control, event, std::move(in));
    };
    switch (control.kind) {
        case ControlKind::Picture:
            startup::HookMouse(*static_cast<PictureView*>(widget), report);
            break;
        case ControlKind::Knob:
            startup::HookMouse(*static_cast<KnobView*>(widget), report);
            break;
        case ControlKind::ScrollBar:
            QObject::connect(static_cast<QScrollBar*>(widget), &QScrollBar::valueChanged,
                             [this, &form, &control](int value) {
                                 UserInput in;
                                 in.value = value;
                                 Report(form, control, UserEvent::ValueChanged, in);
                             });
            break;
        case ControlKind::ListBox: {
            auto* list = static_cast<QListWidget*>(widget);
            // A line chosen with the keyboard or the mouse, or clicked again.
            auto chosen = [this, &form, &control](int row) {
                UserInput in;
                in.value = row;
                Report(form, control, UserEvent::LineChosen, in);
            };
            QObject::connect(list, &QListWidget::currentRowChanged, [this, chosen](int row) {
                if (row < 0)
                    return;
                listRowJustChanged_ = true;
                chosen(row);
            });
            QObject::connect(list, &QListWidget::itemClicked,
                             [this, list, chosen](QListWidgetItem* item) {
                                 if (listRowJustChanged_) {
                                     listRowJustChanged_ = false;
                                     return;
                                 }
                                 chosen(list->row(item));
                             });
            break;
        }
        case ControlKind::Button:
            QObject::connect(
                static_cast<QPushButton*>(widget), &QPushButton::clicked,
                [this, &form, &control] { Report(form, control, UserEvent::Clicked, {}); });
            break;
        case ControlKind::TextBox: {
            auto* box = static_cast<QLineEdit*>(widget);
            QObject::connect(box, &QLineEdit::textEdited,
                             [this, &form, &control](const QString& text) {
                                 UserInput in;
                                 in.text = ProgramText(text);
                                 Report(form, control, UserEvent::TextEdited, in);
                             });
            QObject::connect(box, &QLineEdit::returnPressed, [this, &form, &control] {
                Report(form, control, UserEvent::EnterPressed, {});
            });
            break;
        }
        case ControlKind::Grid:
        case ControlKind::Label:
            break;
    }
}

// ---- Catching up with the models -------------------------------------------------------------

void ProgramWindows::Sync() {
    if (syncing_)
        return;
    syncing_ = true;
    if (host_.Ended()) {
        HideAll();
    } else {
        for (const startup::FormEntry* entry : startup::SyncOrder()) {
            for (Shown& form : forms_) {
                if (form.entry == entry)
                    SyncForm(form);
            }
        }
    }
    syncing_ = false;
}

void ProgramWindows::SyncWidget(const ControlEntry& control, QWidget* widget, const Shown& form) {
    forms::Control& model = control.model(p_.forms);
    const forms::Label shown = control.shown ? control.shown(p_.forms) : forms::Label{};
    const forms::Control& place = control.shown ? static_cast<const forms::Control&>(shown) : model;
    switch (control.kind) {
        case ControlKind::Picture:
        case ControlKind::Knob:
            SyncControl(widget, place, scale_);
            break;
        case ControlKind::ScrollBar:
            SyncScrollBar(static_cast<QScrollBar*>(widget), static_cast<forms::ScrollBar&>(model),
                          scale_);
            break;
        case ControlKind::ListBox:
            SyncListBox(static_cast<QListWidget*>(widget), static_cast<forms::ListBox&>(model),
                        scale_);
            break;
        case ControlKind::Grid:
            SyncGrid(static_cast<QTableWidget*>(widget), static_cast<forms::Grid&>(model), scale_);
            break;
        case ControlKind::Button:
            SyncButton(static_cast<QPushButton*>(widget), static_cast<forms::Button&>(model),
                       scale_);
            break;
        case ControlKind::Label:
            SyncLabel(static_cast<QLabel*>(widget),
                      control.shown ? shown : static_cast<forms::Label&>(model), scale_);
            break;
        case ControlKind::TextBox:
            SyncTextBox(static_cast<QLineEdit*>(widget), static_cast<forms::TextBox&>(model),
                        scale_);
            break;
    }
    switch (control.pointer) {
        case startup::Pointer::Form:
            widget->setCursor(CursorOf(form.entry->model(p_.forms).mousePointer));
            break;
        case startup::Pointer::Own:
            widget->setCursor(CursorOf(static_cast<forms::Image&>(model).mousePointer));
            break;
        case startup::Pointer::Default:
            break;
    }
    switch (control.stacking) {
        case startup::Stacking::Top:
            widget->raise();
            break;
        case startup::Stacking::Bottom:
            widget->lower();
            break;
        case startup::Stacking::Normal:
            break;
    }
}

void ProgramWindows::MaskSurfaceUnderList(Shown& form) {
    QWidget* surface = WidgetNamed(form, "surface");
    QWidget* list = WidgetNamed(form, "foundlist");
    if (!surface || !list)
        return;
    if (list->isVisibleTo(form.window.get()) && surface->isVisibleTo(form.window.get())) {
        const QRect place = list->geometry();
        surface->setMask(QRegion(surface->rect()) -
                         QRegion(0, 0, place.right() + 1, place.bottom() + 1));
    } else {
        surface->clearMask();
    }
}

void ProgramWindows::SyncForm(Shown& form) {
    const std::vector<ControlEntry>& controls = form.entry->controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SyncWidget(controls[i], form.widgets[i], form);
        if (std::strcmp(controls[i].name, "foundlist") == 0)
            MaskSurfaceUnderList(form);
    }
    form.window->SyncWindow(scale_);
    if (!form.window->isVisible())
        return;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == ControlKind::Picture)
            form.widgets[i]->update();
    }
}

void ProgramWindows::HideAll() {
    for (Shown& form : forms_) {
        if (form.window)
            form.window->hide();
    }
    if (openMenu_)
        openMenu_->close();
}

// ---- User actions ----------------------------------------------------------------------------

void ProgramWindows::Run(const std::function<void()>& handler) {
    if (host_.Ended())
        return;
    handler();
    host_.Sync();
    if (!host_.Ended() && p_.forms.Form1.menu.popupRequested && !openMenu_)
        ShowPopupMenu();
}

void ProgramWindows::ShowPopupMenu() {
    forms::MainMenu& menu = p_.forms.Form1.menu;
    menu.popupRequested = false;
    std::unique_ptr<QMenu> popup = BuildPopupMenu(menu.mnuview, &Form1Window());
    openMenu_ = popup.get();
    const startup::HeldCycles held = startup::HoldCyclesForMenu(p_);
    QAction* chosen = popup->exec(QPoint(menu.popupX, menu.popupY));
    openMenu_ = nullptr;
    if (host_.Ended())
        return;
    startup::ReleaseCycles(p_, held);
    const std::string name = ItemNameOf(chosen);
    popup.reset();
    if (name.empty()) {
        host_.Sync();
        return;
    }
    Run([&] { startup::MenuClick(p_, name); });
}

}  // namespace corvane::ui

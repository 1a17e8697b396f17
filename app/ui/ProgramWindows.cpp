// SPDX-License-Identifier: MIT
#include "app/ui/ProgramWindows.h"

#include <QCursor>
#include <QHeaderView>

#include "app/forms/Mouse.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/FlyThereHandlers.h"
#include "app/startup/MainCycle.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "app/ui/PopupMenu.h"
#include "platform/qt/ImageCanvas.h"
#include "platform/qt/QtHost.h"

namespace corvane::ui {

namespace {

constexpr Qt::WindowFlags kPlainWindow = Qt::Tool | Qt::FramelessWindowHint;

Qt::CursorShape CursorOf(int mousePointer) {
    return mousePointer == forms::kMovePointer ? Qt::SizeAllCursor : Qt::ArrowCursor;
}

}  // namespace

ProgramWindows::ProgramWindows(Program& p, qtui::QtHost& host)
    : p_(p), host_(host), scale_{host.TwipsPerPixelX(), host.TwipsPerPixelY()} {
    MakeCanvases();
    BuildForm1();
    BuildForm2();
    BuildForm3();
    BuildForm4();
    BuildForm6();
    host_.SetSyncHook([this] { Sync(); });
    host_.SetEndHook([this] { HideAll(); });
}

ProgramWindows::~ProgramWindows() {
    host_.SetSyncHook({});
    host_.SetEndHook({});
}

void ProgramWindows::MakeCanvases() {
    forms::MakeCanvases(p_.forms, scale_, [this](int width, int height) {
        return std::make_unique<qtui::ImageCanvas>(width, height, scale_.x, scale_.y);
    });
}

// ---- Building ----------------------------------------------------------------------------

void ProgramWindows::BuildForm1() {
    forms::Form1Model& f = p_.forms.Form1;
    form1_ = std::make_unique<FormWindow>(f, host_, kPlainWindow);
    form1_->onClose = [this] { Run([this] { startup::Form1_Unload(p_); }); };

    picture1_ = new PictureView(f.Picture1, scale_.x, scale_.y, form1_.get());
    f.Picture1.windowHandle = host_.RegisterWidget(picture1_);
    picture1_->onMouseDown = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseDown(p_, b, s, x, y); });
    };
    picture1_->onMouseMove = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseMove(p_, b, s, x, y); });
    };
    picture1_->onMouseUp = [this](int b, int s, float x, float y) {
        Run([&] { startup::Picture1_MouseUp(p_, b, s, x, y); });
    };

    image1_ = new KnobView(scale_.x, scale_.y, form1_.get());
    image1_->onMouseDown = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseDown(p_, b, s, x, y); });
    };
    image1_->onMouseMove = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseMove(p_, b, s, x, y); });
    };
    image1_->onMouseUp = [this](int b, int s, float x, float y) {
        Run([&] { startup::Image1_MouseUp(p_, b, s, x, y); });
    };

    vscroll1_ = new QScrollBar(Qt::Vertical, form1_.get());
    vscroll1_->setObjectName(QStringLiteral("VScroll1"));
    vscroll1_->setFocusPolicy(Qt::NoFocus);
    f.VScroll1.windowHandle = host_.RegisterWidget(vscroll1_);
    QObject::connect(vscroll1_, &QScrollBar::valueChanged, [this](int value) {
        Run([&] {
            p_.forms.Form1.VScroll1.value = value;
            startup::VScroll1_Change(p_);
        });
    });
    form1_->AddControl("Picture1", picture1_);
    form1_->AddControl("VScroll1", vscroll1_);
}

void ProgramWindows::BuildForm2() {
    forms::Form2Model& f = p_.forms.Form2;
    form2_ = std::make_unique<FormWindow>(f, host_, Qt::Window);
    form2_->onClose = [this] { Run([this] { startup::cmdclose_Click(p_); }); };

    surface_ = new PictureView(f.surface, scale_.x, scale_.y, form2_.get());
    foundlist_ = new QListWidget(form2_.get());
    picmap_ = new PictureView(f.picmap, scale_.x, scale_.y, form2_.get());
    rungrid_ = new QTableWidget(form2_.get());
    rungrid_->horizontalHeader()->hide();
    rungrid_->verticalHeader()->hide();
    rungrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rungrid_->setSelectionMode(QAbstractItemView::NoSelection);
    rungrid_->setWordWrap(false);  // one line a row; columns widen to their texts
    rungrid_->setTextElideMode(Qt::ElideNone);
    rungrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rungrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    cmdDetails_ = new QPushButton(form2_.get());
    cmdflyme_ = new QPushButton(form2_.get());
    cmdclose_ = new QPushButton(form2_.get());

    struct Named {
        forms::Control& control;
        QWidget* widget;
    };
    for (const Named& n : {Named{f.foundlist, foundlist_}, Named{f.picmap, picmap_},
                           Named{f.rungrid, rungrid_}, Named{f.cmdDetails, cmdDetails_},
                           Named{f.cmdflyme, cmdflyme_}, Named{f.cmdclose, cmdclose_}}) {
        n.widget->setObjectName(QString::fromStdString(n.control.name));
        n.control.windowHandle = host_.RegisterWidget(n.widget);
        form2_->AddControl(n.control.name, n.widget);
    }

    // A list line chosen with the keyboard or the mouse, or clicked again.
    QObject::connect(foundlist_, &QListWidget::currentRowChanged, [this](int row) {
        if (row < 0)
            return;
        listRowJustChanged_ = true;
        Run([&] {
            p_.forms.Form2.foundlist.listIndex = row;
            startup::foundlist_Click(p_, row);
        });
    });
    QObject::connect(foundlist_, &QListWidget::itemClicked, [this](QListWidgetItem* item) {
        if (listRowJustChanged_) {
            listRowJustChanged_ = false;
            return;
        }
        const int row = foundlist_->row(item);
        Run([&] {
            p_.forms.Form2.foundlist.listIndex = row;
            startup::foundlist_Click(p_, row);
        });
    });
    QObject::connect(cmdDetails_, &QPushButton::clicked,
                     [this] { Run([this] { startup::cmdDetails_Click(p_); }); });
    QObject::connect(cmdflyme_, &QPushButton::clicked,
                     [this] { Run([this] { startup::cmdflyme_Click(p_); }); });
    QObject::connect(cmdclose_, &QPushButton::clicked,
                     [this] { Run([this] { startup::cmdclose_Click(p_); }); });
}

void ProgramWindows::BuildForm3() {
    forms::Form3Model& f = p_.forms.Form3;
    form3_ = std::make_unique<FormWindow>(f, host_, Qt::Window);
    // Closing the search window gives back what opening it took away.
    form3_->onClose = [this] { Run([this] { startup::Form3_QueryUnload(p_); }); };
    searchLabel_ = new QLabel(form3_.get());
    searchLabel_->setWordWrap(true);
    searchLabel_->setTextFormat(Qt::PlainText);
    txtAirport_ = new QLineEdit(form3_.get());
    txtAirport_->setObjectName(QStringLiteral("TxtAirport"));
    cmdOK_ = new QPushButton(form3_.get());
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    f.TxtAirport.windowHandle = host_.RegisterWidget(txtAirport_);
    f.cmdOK.windowHandle = host_.RegisterWidget(cmdOK_);
    form3_->AddControl("TxtAirport", txtAirport_);
    form3_->AddControl("cmdOK", cmdOK_);

    QObject::connect(txtAirport_, &QLineEdit::textEdited, [this](const QString& text) {
        p_.forms.Form3.TxtAirport.text = ProgramText(text);
    });
    auto search = [this] {
        Run([this] {
            p_.forms.Form3.TxtAirport.text = ProgramText(txtAirport_->text());
            startup::cmdOK_Click(p_);
        });
    };
    QObject::connect(txtAirport_, &QLineEdit::returnPressed, search);
    QObject::connect(cmdOK_, &QPushButton::clicked, search);
}

void ProgramWindows::BuildForm4() {
    forms::Form4Model& f = p_.forms.Form4;
    form4_ = std::make_unique<FormWindow>(f, host_, kPlainWindow);
    form4_->setAutoFillBackground(true);
    QFont font = form4_->font();
    font.setPointSizeF(8);
    for (int i = 0; i < 7; ++i) {
        readouts_[i] = new QLabel(form4_.get());
        readouts_[i]->setTextFormat(Qt::PlainText);
        readouts_[i]->setFont(font);
        readouts_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    }
}

void ProgramWindows::BuildForm6() {
    forms::Form6Model& f = p_.forms.Form6;
    form6_ = std::make_unique<FormWindow>(f, host_, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash_ = new PictureView(f.Picture1, scale_.x, scale_.y, form6_.get());
    f.Picture1.windowHandle = host_.RegisterWidget(splash_);
    splashStatus_ = new QLabel(form6_.get());
    splashStatus_->setObjectName(QStringLiteral("lblStatus"));
    splashStatus_->setAlignment(Qt::AlignCenter);
    splashStatus_->setStyleSheet(
        QStringLiteral("color: white; background-color: rgba(0, 64, 0, 160);"));
}

// ---- Catching up with the models -------------------------------------------------------------

void ProgramWindows::Sync() {
    if (syncing_)
        return;
    syncing_ = true;
    if (host_.Ended()) {
        HideAll();
    } else {
        SyncForm6();
        SyncForm1();
        SyncForm2();
        SyncForm3();
        SyncForm4();
    }
    syncing_ = false;
}

void ProgramWindows::SyncForm1() {
    forms::Form1Model& f = p_.forms.Form1;
    SyncControl(picture1_, f.Picture1, scale_);
    picture1_->setCursor(CursorOf(f.mousePointer));
    SyncControl(image1_, f.Image1, scale_);
    image1_->setCursor(CursorOf(f.Image1.mousePointer));
    image1_->raise();
    SyncScrollBar(vscroll1_, f.VScroll1, scale_);
    form1_->SyncWindow(scale_);
    if (form1_->isVisible())
        picture1_->update();
}

void ProgramWindows::SyncForm2() {
    forms::Form2Model& f = p_.forms.Form2;
    SyncControl(surface_, forms::Form2Surface(f), scale_);
    surface_->lower();
    SyncListBox(foundlist_, f.foundlist, scale_);
    // The airport's text block is written on the surface from its left edge; a
    // list shown over it would leave the first letters of each line showing at
    // its left, cut. The surface is not painted beside and under the list.
    if (foundlist_->isVisibleTo(form2_.get()) && surface_->isVisibleTo(form2_.get())) {
        const QRect list = foundlist_->geometry();
        surface_->setMask(QRegion(surface_->rect()) -
                          QRegion(0, 0, list.right() + 1, list.bottom() + 1));
    } else {
        surface_->clearMask();
    }
    SyncControl(picmap_, f.picmap, scale_);
    SyncGrid(rungrid_, f.rungrid, scale_);
    SyncButton(cmdDetails_, f.cmdDetails, scale_);
    SyncButton(cmdflyme_, f.cmdflyme, scale_);
    SyncButton(cmdclose_, f.cmdclose, scale_);
    form2_->SyncWindow(scale_);
    if (form2_->isVisible()) {
        picmap_->update();
        surface_->update();
    }
}

void ProgramWindows::SyncForm3() {
    forms::Form3Model& f = p_.forms.Form3;
    SyncLabel(searchLabel_, f.Label1, scale_);
    SyncTextBox(txtAirport_, f.TxtAirport, scale_);
    SyncButton(cmdOK_, f.cmdOK, scale_);
    form3_->SyncWindow(scale_);
}

void ProgramWindows::SyncForm4() {
    forms::Form4Model& f = p_.forms.Form4;
    const forms::Label* labels[7] = {&f.Label1, &f.Label2, &f.Label3, &f.Label4,
                                     &f.Label5, &f.Label6, &f.Label7};
    for (int i = 0; i < 7; ++i)
        SyncLabel(readouts_[i], *labels[i], scale_);
    form4_->SyncWindow(scale_);
}

void ProgramWindows::SyncForm6() {
    forms::Form6Model& f = p_.forms.Form6;
    SyncControl(splash_, f.Picture1, scale_);
    SyncLabel(splashStatus_, forms::Form6Status(f), scale_);
    splashStatus_->raise();
    form6_->SyncWindow(scale_);
    if (form6_->isVisible())
        splash_->update();
}

void ProgramWindows::HideAll() {
    for (FormWindow* w : {form1_.get(), form2_.get(), form3_.get(), form4_.get(), form6_.get()}) {
        if (w)
            w->hide();
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
    std::unique_ptr<QMenu> popup = BuildPopupMenu(menu.mnuview, form1_.get());
    openMenu_ = popup.get();
    // The menu is modal: the map and main cycles wait while it is open, so the
    // simulator stays paused until a command is chosen or the menu closes.
    host::Timer* waiting[] = {p_.Form1Timer1.get(), p_.Form1Timer3.get()};
    bool wasOn[2] = {false, false};
    for (int i = 0; i < 2; ++i) {
        if (!waiting[i])
            continue;
        wasOn[i] = waiting[i]->Enabled();
        waiting[i]->SetEnabled(false);
    }
    QAction* chosen = popup->exec(QPoint(menu.popupX, menu.popupY));
    openMenu_ = nullptr;
    if (host_.Ended())
        return;
    for (int i = 0; i < 2; ++i) {
        if (waiting[i] && wasOn[i])
            waiting[i]->SetEnabled(true);
    }
    const std::string name = ItemNameOf(chosen);
    popup.reset();
    if (name.empty()) {
        host_.Sync();
        return;
    }
    Run([&] { startup::MenuClick(p_, name); });
}

}  // namespace corvane::ui

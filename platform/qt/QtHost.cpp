// SPDX-License-Identifier: MIT
#include "platform/qt/QtHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "platform/posix/Desktop.h"
#include "platform/posix/RegistryFile.h"
#include "platform/qt/X11Windows.h"

namespace corvane::qtui {

namespace {

volatile std::sig_atomic_t pendingSignal = 0;

void OnSignal(int signal) {
    pendingSignal = signal;
}

// How long a tight wait loop of the program sleeps between rounds, so that it
// does not keep a processor busy.
constexpr unsigned long kIdleSleepUs = 500;
// The widgets catch up with the models at most this often while events run.
constexpr qint64 kSyncIntervalMs = 15;

QMessageBox::Icon ToQt(host::MessageBoxIcon icon) {
    switch (icon) {
        case host::MessageBoxIcon::Critical:
            return QMessageBox::Critical;
        case host::MessageBoxIcon::Question:
            return QMessageBox::Question;
        case host::MessageBoxIcon::Exclamation:
            return QMessageBox::Warning;
        case host::MessageBoxIcon::Information:
            return QMessageBox::Information;
        case host::MessageBoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

host::MessageBoxResult DefaultAnswer(host::MessageBoxButtons buttons) {
    switch (buttons) {
        case host::MessageBoxButtons::Ok:
            return host::MessageBoxResult::Ok;
        case host::MessageBoxButtons::OkCancel:
        case host::MessageBoxButtons::RetryCancel:
            return host::MessageBoxResult::Cancel;
        case host::MessageBoxButtons::YesNo:
            return host::MessageBoxResult::No;
    }
    return host::MessageBoxResult::Ok;
}

}  // namespace

// A window timer on a QTimer: ticks arrive on the program's thread and are
// followed by the widgets catching up with the models.
class QtTimer final : public host::Timer {
  public:
    QtTimer(QtHost& host, int intervalMs, std::function<void()> onTick)
        : host_(&host), onTick_(std::move(onTick)) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!host_ || host_->Ended())
                return;
            if (onTick_)
                onTick_();
            if (host_)
                host_->AfterTick();
        });
        host.timers_.push_back(this);
    }
    ~QtTimer() override {
        if (host_)
            std::erase(host_->timers_, this);
    }

    void SetEnabled(bool enabled) override {
        if (enabled == timer_.isActive())
            return;
        if (enabled && (!host_ || host_->Ended()))
            return;
        if (enabled) {
            timer_.start();
        } else {
            timer_.stop();
        }
    }
    bool Enabled() const override { return timer_.isActive(); }
    void SetInterval(int intervalMs) override { timer_.setInterval(intervalMs); }
    int Interval() const override { return timer_.interval(); }
    void Stop() { timer_.stop(); }

    QtHost* host_;

  private:
    QTimer timer_;
    std::function<void()> onTick_;
};

QtHost::QtHost() {
    sinceSync_.start();
    sinceDoEvents_.start();
}

QtHost::~QtHost() {
    for (QtTimer* t : timers_)
        t->host_ = nullptr;
    for (auto& [id, window] : foreignWindows_)
        delete window;
}

// ---- The program's own windows ----------------------------------------------------------

host::WindowId QtHost::RegisterWidget(QWidget* widget) {
    const host::WindowId id = nextWidgetId_++;
    widgets_[id] = widget;
    return id;
}

QWidget* QtHost::WidgetOf(host::WindowId id) const {
    auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second.data();
}

std::uint64_t QtHost::NativeIdOf(host::WindowId window) const {
    if (window == 0 || window > 0xFFFFFFFFu)
        return 0;
    auto entry = desktop::DescribeWindow(static_cast<desktop::WindowHandle>(window));
    return entry ? entry->nativeId : 0;
}

bool QtHost::Embed(QWidget* widget, host::WindowId parent) {
    const std::uint64_t nativeId = NativeIdOf(parent);
    if (!widget || nativeId == 0 || !OnX11())
        return false;
    QWindow*& foreign = foreignWindows_[nativeId];
    if (!foreign)
        foreign = QWindow::fromWinId(static_cast<WId>(nativeId));
    if (!foreign)
        return false;
    widget->winId();  // the widget needs its native window first
    QWindow* own = widget->windowHandle();
    if (!own)
        return false;
    own->setParent(foreign);
    return true;
}

void QtHost::Sync() {
    if (syncing_ || !syncHook_)
        return;
    syncing_ = true;
    syncHook_();
    syncing_ = false;
    sinceSync_.restart();
}

void QtHost::AfterTick() {
    Sync();
}

bool QtHost::AnswersMessageBoxes() const {
    const QString platform = QGuiApplication::platformName();
    return platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal");
}

void QtHost::InstallSignalHandlers() {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    auto* watcher = new QTimer(this);
    QObject::connect(watcher, &QTimer::timeout, this, [this] { CheckSignals(); });
    watcher->start(100);
}

void QtHost::CheckSignals() {
    if (pendingSignal != 0 && !ended_) {
        std::fprintf(stderr, "corvane: ended by signal %d\n", int(pendingSignal));
        EndProgram(128 + int(pendingSignal));
    }
}

// ---- Time ---------------------------------------------------------------------------------

double QtHost::TimeOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::unique_ptr<host::Timer> QtHost::CreateTimer(int intervalMs, std::function<void()> onTick) {
    return std::make_unique<QtTimer>(*this, intervalMs, std::move(onTick));
}

void QtHost::DoEvents() {
    CheckSignals();
    // A wait loop calls again at once: let it sleep a little between rounds.
    if (sinceDoEvents_.nsecsElapsed() < 2000000)
        QThread::usleep(kIdleSleepUs);
    if (!ended_ && sinceSync_.elapsed() >= kSyncIntervalMs)
        Sync();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceDoEvents_.restart();
}

// ---- Windows of other processes ---------------------------------------------------------

host::WindowId QtHost::FindWindowByTitle(std::string_view title) {
    return desktop::FindWindowByTitle(title);
}

host::WindowId QtHost::FindWindowByClass(std::string_view className) {
    return desktop::FindWindowByClass(className);
}

bool QtHost::GetWindowRect(host::WindowId window, host::Rect* rect) {
    if (QWidget* own = WidgetOf(window)) {
        const QRect g = own->frameGeometry();
        *rect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        return true;
    }
    if (window == 0 || window > 0xFFFFFFFFu)
        return false;
    auto entry = desktop::DescribeWindow(static_cast<desktop::WindowHandle>(window));
    if (!entry)
        return false;
    if (X11WindowRect(entry->nativeId, rect))
        return true;
    // A window without a native one on this screen (a simulator running
    // without a window of its own): taken as filling the screen.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect g = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    *rect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return true;
}

bool QtHost::RequestClose(host::WindowId window) {
    if (window == 0 || window > 0xFFFFFFFFu)
        return false;
    return desktop::PostCloseRequest(static_cast<desktop::WindowHandle>(window));
}

// ---- Focus ----------------------------------------------------------------------------------

host::WindowId QtHost::FocusWindow() {
    // The nearest registered window around the focus widget; 0 when the
    // focus is not in this program (it cannot be seen in other processes).
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        for (const auto& [id, widget] : widgets_) {
            if (widget == w)
                return id;
        }
    }
    return 0;
}

void QtHost::SetFocus(host::WindowId window) {
    QWidget* w = WidgetOf(window);
    if (w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void QtHost::UpdateWindow(host::WindowId window) {
    if (QWidget* w = WidgetOf(window); w && w->isVisible()) {
        Sync();
        w->repaint();
    }
}

// ---- Screen and mouse --------------------------------------------------------------------

int QtHost::TwipsPerPixelX() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? std::max(1, int(std::lround(1440.0 / dpi))) : 15;
}

int QtHost::TwipsPerPixelY() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? std::max(1, int(std::lround(1440.0 / dpi))) : 15;
}

int QtHost::ScreenWidthTwips() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->geometry().width() : 1024) * TwipsPerPixelX();
}

int QtHost::ScreenHeightTwips() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->geometry().height() : 768) * TwipsPerPixelY();
}

host::Point QtHost::CursorPosition() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

// ---- Registry, programs, files -----------------------------------------------------------

std::optional<host::RegistryValue> QtHost::ReadRegistryValue(host::RegistryRoot root,
                                                             std::string_view key,
                                                             std::string_view valueName) {
    return desktop::ReadRegistryValue(desktop::RegistryFilePath(), root, key, valueName);
}

bool QtHost::StartProgram(const std::string& path, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const std::string& a : arguments)
        args << QString::fromStdString(a);
    const QString program = QString::fromStdString(path);
    // A program given with its folder starts in that folder.
    const QFileInfo info(program);
    const QString folder = program.contains('/') ? info.absolutePath() : QString();
    return QProcess::startDetached(program, args, folder);
}

bool QtHost::FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool QtHost::CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                      ec);
}

// ---- Messages and the end -----------------------------------------------------------------

host::MessageBoxResult QtHost::ShowMessageBox(const std::string& text, const std::string& title,
                                              host::MessageBoxIcon icon,
                                              host::MessageBoxButtons buttons) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "corvane: %s: %s\n", title.c_str(), shown.toLocal8Bit().constData());
    if (AnswersMessageBoxes())
        return DefaultAnswer(buttons);

    QMessageBox box(ToQt(icon), QString::fromStdString(title), shown);
    switch (buttons) {
        case host::MessageBoxButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case host::MessageBoxButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case host::MessageBoxButtons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        case host::MessageBoxButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    Sync();
    const int answer = box.exec();
    if (ended_)
        return DefaultAnswer(buttons);
    switch (answer) {
        case QMessageBox::Ok:
            return host::MessageBoxResult::Ok;
        case QMessageBox::Retry:
            return host::MessageBoxResult::Retry;
        case QMessageBox::Yes:
            return host::MessageBoxResult::Yes;
        case QMessageBox::No:
            return host::MessageBoxResult::No;
        default:
            break;
    }
    // Closed with Escape or the close box.
    return buttons == host::MessageBoxButtons::Ok ? host::MessageBoxResult::Ok
                                                  : DefaultAnswer(buttons);
}

void QtHost::EndProgram(int exitStatus) {
    if (ended_)
        return;
    ended_ = true;
    exitStatus_ = exitStatus;
    for (QtTimer* t : timers_)
        t->Stop();
    if (endHook_)
        endHook_();
    // Leaves every running event loop (menus, message boxes, the main loop).
    QCoreApplication::exit(exitStatus);
}

}  // namespace corvane::qtui

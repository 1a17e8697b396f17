// SPDX-License-Identifier: MIT
#include "platform/headless/HeadlessHost.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>

#include "platform/posix/Desktop.h"
#include "platform/posix/RegistryFile.h"

namespace corvane::headless {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr double kSecondsPerDay = 86400.0;
constexpr host::WindowId kFirstSimulatedWindow = 0x1001;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash);
}

}  // namespace

class HeadlessTimer final : public host::Timer {
  public:
    HeadlessTimer(HeadlessHost& host, int intervalMs, std::function<void()> onTick)
        : host_(&host), interval_(intervalMs), onTick_(std::move(onTick)) {}
    ~HeadlessTimer() override {
        if (host_)
            host_->Forget(this);
    }

    void SetEnabled(bool enabled) override {
        if (enabled == enabled_)
            return;
        enabled_ = enabled;
        host_->ForgetNextDue();
        if (enabled_)
            host_->Schedule(this);
    }
    bool Enabled() const override { return enabled_; }
    void SetInterval(int intervalMs) override {
        interval_ = intervalMs;
        host_->ForgetNextDue();
        if (enabled_)
            host_->Schedule(this);  // a new interval starts the count again
    }
    int Interval() const override { return interval_; }

    HeadlessHost* host_;
    int interval_;
    std::function<void()> onTick_;
    bool enabled_ = false;
    double due_ = 0;
    std::uint64_t sequence_ = 0;
};

HeadlessHost::HeadlessHost(double startTimeOfDay) : now_(startTimeOfDay) {}

HeadlessHost::~HeadlessHost() {
    for (HeadlessTimer* t : timers_)
        t->host_ = nullptr;
}

// ---- Virtual time ----------------------------------------------------------------

double HeadlessHost::TimeOfDay() {
    return std::fmod(now_, kSecondsPerDay);
}

std::unique_ptr<host::Timer> HeadlessHost::CreateTimer(int intervalMs,
                                                       std::function<void()> onTick) {
    auto timer = std::make_unique<HeadlessTimer>(*this, intervalMs, std::move(onTick));
    timers_.push_back(timer.get());
    ForgetNextDue();
    return timer;
}

void HeadlessHost::Forget(HeadlessTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
    ForgetNextDue();
}

void HeadlessHost::Schedule(HeadlessTimer* timer) {
    timer->due_ = now_ + timer->interval_ / 1000.0;
    timer->sequence_ = ++sequence_;
    ForgetNextDue();
}

double HeadlessHost::NextDueTime() const {
    if (nextDueKnown_)
        return nextDue_;
    double next = kNever;
    for (const HeadlessTimer* t : timers_) {
        if (t->enabled_ && t->interval_ > 0)
            next = std::min(next, t->due_);
    }
    if (!actions_.empty())
        next = std::min(next, actions_.begin()->first.first);
    nextDue_ = next;
    nextDueKnown_ = true;
    return next;
}

void HeadlessHost::RunDue() {
    // The program lets events run far more often than a timer comes due.
    if (NextDueTime() > now_)
        return;
    while (!ended_) {
        HeadlessTimer* timer = nullptr;
        for (HeadlessTimer* t : timers_) {
            if (!t->enabled_ || t->interval_ <= 0 || t->due_ > now_)
                continue;
            if (!timer || t->due_ < timer->due_ ||
                (t->due_ == timer->due_ && t->sequence_ < timer->sequence_)) {
                timer = t;
            }
        }
        const bool actionDue = !actions_.empty() && actions_.begin()->first.first <= now_;
        const bool actionFirst =
            actionDue &&
            (!timer || actions_.begin()->first < ActionKey(timer->due_, timer->sequence_));
        if (actionFirst) {
            Action action = std::move(actions_.begin()->second);
            actions_.erase(actions_.begin());
            ForgetNextDue();
            Note("action: " + action.description);
            if (action.run)
                action.run();
        } else if (timer) {
            // The next tick is due before this one runs: a handler that lets
            // events run may see it come round again (and must guard itself).
            double next = timer->due_ + timer->interval_ / 1000.0;
            if (next <= now_)
                next = now_ + timer->interval_ / 1000.0;
            timer->due_ = next;
            timer->sequence_ = ++sequence_;
            ForgetNextDue();
            std::function<void()> tick = timer->onTick_;
            if (tick)
                tick();
        } else {
            break;
        }
    }
}

void HeadlessHost::DoEvents() {
    if (ended_) {
        now_ += quantum_;
        return;
    }
    const double next = NextDueTime();
    if (next > now_)
        now_ = std::min(next, now_ + quantum_);
    if (eventHook_)
        eventHook_();
    RunDue();
}

void HeadlessHost::RunUntil(double time) {
    while (!ended_) {
        RunDue();
        if (ended_)
            break;
        const double next = NextDueTime();
        if (next > time)
            break;
        now_ = std::max(now_, next);
    }
    if (!ended_ && now_ < time)
        now_ = time;
}

bool HeadlessHost::RunUntilEnded(double maxSeconds) {
    RunUntil(now_ + maxSeconds);
    return ended_;
}

void HeadlessHost::At(double time, std::string description, std::function<void()> action) {
    actions_.emplace(ActionKey(time, ++sequence_),
                     Action{std::move(description), std::move(action)});
    ForgetNextDue();
}

// ---- Desktop ---------------------------------------------------------------------------

host::WindowId HeadlessHost::AddWindow(std::string title, std::string className, host::Rect rect) {
    SimulatedWindow w;
    w.id = kFirstSimulatedWindow + windows_.size();
    w.title = std::move(title);
    w.className = std::move(className);
    w.rect = rect;
    windows_.push_back(std::move(w));
    Note("window appears: " + windows_.back().title);
    return windows_.back().id;
}

void HeadlessHost::RemoveWindow(host::WindowId id) {
    if (SimulatedWindow* w = Window(id); w && w->alive) {
        w->alive = false;
        Note("window gone: " + w->title);
    }
}

SimulatedWindow* HeadlessHost::Window(host::WindowId id) {
    for (SimulatedWindow& w : windows_) {
        if (w.id == id)
            return &w;
    }
    return nullptr;
}

host::WindowId HeadlessHost::FindWindowByTitle(std::string_view title) {
    if (posixDesktop_)
        return desktop::FindWindowByTitle(title);
    for (const SimulatedWindow& w : windows_) {
        if (w.alive && w.title == title)
            return w.id;
    }
    return 0;
}

host::WindowId HeadlessHost::FindWindowByClass(std::string_view className) {
    if (posixDesktop_)
        return desktop::FindWindowByClass(className);
    for (const SimulatedWindow& w : windows_) {
        if (w.alive && w.className == className)
            return w.id;
    }
    return 0;
}

bool HeadlessHost::GetWindowRect(host::WindowId window, host::Rect* rect) {
    if (posixDesktop_) {
        if (!desktop::WindowExists(static_cast<desktop::WindowHandle>(window)))
            return false;
        *rect = {0, 0, screenWidthPx_, screenHeightPx_};
        return true;
    }
    const SimulatedWindow* w = Window(window);
    if (!w || !w->alive)
        return false;
    *rect = w->rect;
    return true;
}

bool HeadlessHost::RequestClose(host::WindowId window) {
    closeRequests_.push_back(window);
    Note("close request");
    if (posixDesktop_)
        return desktop::PostCloseRequest(static_cast<desktop::WindowHandle>(window));
    SimulatedWindow* w = Window(window);
    if (!w || !w->alive)
        return false;
    if (w->onCloseRequest) {
        std::function<void()> behaviour = w->onCloseRequest;
        behaviour();
    } else {
        RemoveWindow(window);
    }
    return true;
}

void HeadlessHost::SetFocus(host::WindowId window) {
    focusGiven_.push_back(window);
    if (window != 0)
        focus_ = window;
}

void HeadlessHost::UpdateWindow(host::WindowId window) {
    repainted_.push_back(window);
}

// ---- Registry ----------------------------------------------------------------------------

void HeadlessHost::SetRegistryValue(host::RegistryRoot root, const std::string& key,
                                    const std::string& name, host::RegistryValue value) {
    registry_[{static_cast<int>(root), Lower(key), Lower(name)}] = std::move(value);
}

void HeadlessHost::SetRegistryString(host::RegistryRoot root, const std::string& key,
                                     const std::string& name, const std::string& text) {
    host::RegistryValue value;
    value.isString = true;
    value.text = text;
    value.text.push_back('\0');
    SetRegistryValue(root, key, name, std::move(value));
}

std::optional<host::RegistryValue> HeadlessHost::ReadRegistryValue(host::RegistryRoot root,
                                                                   std::string_view key,
                                                                   std::string_view valueName) {
    if (!registryFile_.empty()) {
        return desktop::ReadRegistryValue(registryFile_, root, key, valueName);
    }
    auto it = registry_.find({static_cast<int>(root), Lower(key), Lower(valueName)});
    if (it == registry_.end())
        return std::nullopt;
    return it->second;
}

// ---- Programs and files ---------------------------------------------------------------------

bool HeadlessHost::StartProgram(const std::string& path,
                                const std::vector<std::string>& arguments) {
    StartedProgram record{now_, path, arguments, false};
    Note("start program: " + path);
    record.started = starter_ ? starter_(path, arguments) : false;
    started_.push_back(record);
    return record.started;
}

void HeadlessHost::AddFolder(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    while (!folder.empty()) {
        folders_.insert(folder);
        folder = ParentFolder(folder);
    }
}

void HeadlessHost::AddFile(const std::string& path) {
    files_.insert(path);
    AddFolder(ParentFolder(path));
}

bool HeadlessHost::FileExists(const std::string& path) {
    if (realFiles_) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    }
    return files_.count(path) > 0;
}

bool HeadlessHost::CopyFile(const std::string& from, const std::string& to) {
    Note("copy " + from + " to " + to);
    bool copied = false;
    if (realFiles_) {
        std::error_code ec;
        copied =
            !copyFails_ && std::filesystem::copy_file(
                               from, to, std::filesystem::copy_options::overwrite_existing, ec);
    } else {
        copied = !copyFails_ && files_.count(from) > 0 && folders_.count(ParentFolder(to)) > 0;
        if (copied)
            files_.insert(to);
    }
    if (copied)
        copies_.emplace_back(from, to);
    return copied;
}

// ---- Messages and the end ---------------------------------------------------------------------

host::MessageBoxResult HeadlessHost::ShowMessageBox(const std::string& text,
                                                    const std::string& title,
                                                    host::MessageBoxIcon icon,
                                                    host::MessageBoxButtons buttons) {
    host::MessageBoxResult answer = host::MessageBoxResult::Ok;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.erase(answers_.begin());
    } else {
        switch (buttons) {
            case host::MessageBoxButtons::Ok:
                answer = host::MessageBoxResult::Ok;
                break;
            case host::MessageBoxButtons::OkCancel:
            case host::MessageBoxButtons::RetryCancel:
                answer = host::MessageBoxResult::Cancel;
                break;
            case host::MessageBoxButtons::YesNo:
                answer = host::MessageBoxResult::No;
                break;
        }
    }
    messageBoxes_.push_back({now_, text, title, icon, buttons, answer});
    Note("message box: " + title);
    return answer;
}

void HeadlessHost::EndProgram(int exitStatus) {
    if (ended_)
        return;
    ended_ = true;
    exitStatus_ = exitStatus;
    endTime_ = now_;
    Note("end program " + std::to_string(exitStatus));
}

}  // namespace corvane::headless

// SPDX-License-Identifier: MIT
#include "sim/fltsim98/WindowedRun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "platform/qt/X11Windows.h"
#include "sim/fltsim98/FlightWindow.h"

namespace corvane::sim {
namespace {

// The window of the running RunWithWindow (one per process).
FlightWindow* activeWindow = nullptr;
bool askingUser = false;

// Asks the user whether to end the simulator; true for yes. One question at a
// time: a second request while the question is open is answered by it.
bool AskToEnd() {
    if (askingUser)
        return false;
    askingUser = true;
    const auto answer = QMessageBox::question(activeWindow, "Microsoft Flight Simulator 98",
                                              "Do you want to end the flight simulator?",
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    askingUser = false;
    return answer == QMessageBox::Yes;
}

}  // namespace

void OnWindowCloseRequest(RealTimeRunner& runner) {
    switch (runner.OnCloseRequest()) {
        case RealTimeRunner::CloseDecision::Quit:
            // Quit after the message has been answered, from the event loop.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            break;
        case RealTimeRunner::CloseDecision::AskUser:
            QTimer::singleShot(0, qApp, [&runner] {
                if (AskToEnd()) {
                    runner.RequestQuit();
                    QCoreApplication::exit(0);
                }
            });
            break;
        case RealTimeRunner::CloseDecision::Keep:
            break;
    }
}

int RunWithWindow(int argc, char** argv, const CommandLine& command, SimulatorBackend& simulator,
                  RealTimeRunner& runner, desktop::PublishedWindow& published,
                  volatile std::sig_atomic_t* stop) {
    QApplication app(argc, argv);
    FlightWindow window(simulator);
    activeWindow = &window;
    window.SetCloseBoxHandler([&] {
        if (runner.QuitRequested())
            return true;
        switch (command.closeAnswer) {
            case CloseAnswer::Close:
            case CloseAnswer::Accept:
                break;
            case CloseAnswer::Refuse:
                return false;
            case CloseAnswer::Ask:
                if (!AskToEnd())
                    return false;
                break;
        }
        runner.RequestQuit();
        return true;
    });
    window.show();
    published.SetNativeId(static_cast<std::uint64_t>(window.winId()));

    QElapsedTimer clock;
    clock.start();
    auto now = [&clock] { return clock.nsecsElapsed() / 1e9; };
    runner.Begin(now());

    // Steps: woken once a step (not below 2 ms); each wake-up runs the steps due.
    QTimer steps;
    steps.setTimerType(Qt::PreciseTimer);
    steps.setInterval(std::max(1, static_cast<int>(runner.TickS() * 1000.0)));
    QObject::connect(&steps, &QTimer::timeout, [&] {
        if (*stop || runner.QuitRequested()) {
            QCoreApplication::exit(0);
            return;
        }
        runner.RunUntil(now());
    });
    steps.start();

    // The link: messages are handled as soon as they arrive, between steps.
    QSocketNotifier messages(published.WaitDescriptor(), QSocketNotifier::Read);
    QObject::connect(&messages, &QSocketNotifier::activated, [&] {
        runner.RunUntil(now());
        published.ProcessPending(0);
    });

    QTimer redraw;
    QObject::connect(&redraw, &QTimer::timeout, &window, [&window] { window.update(); });
    redraw.start(50);

    if (!command.screenshotPath.empty()) {
        QTimer::singleShot(1000, &window, [&window, &command] {
            if (window.grab().save(QString::fromStdString(command.screenshotPath), "PNG")) {
                std::printf("window saved to %s\n", command.screenshotPath.c_str());
            } else {
                std::fprintf(stderr, "fltsim98.exe: cannot save the window to %s\n",
                             command.screenshotPath.c_str());
            }
            std::fflush(stdout);
        });
    }

    // FlightGear in its own window (started so, or the user's own one
    // attached to): that window becomes the simulator's window on the desktop
    // once it shows, so that the program places its map inside FlightGear's
    // view.
    QTimer findFlightGear;
    if (command.backend == Backend::FlightGear &&
        (command.fgWindow || command.fgAttachReadingsPort != 0)) {
        QObject::connect(&findFlightGear, &QTimer::timeout, [&] {
            const std::uint64_t id = qtui::X11FindWindowTitled("FlightGear");
            if (id == 0)
                return;
            published.SetNativeId(id);
            std::printf("FlightGear's window 0x%llx is the simulator's window\n",
                        static_cast<unsigned long long>(id));
            std::fflush(stdout);
            findFlightGear.stop();
        });
        findFlightGear.start(1000);
    }

    QObject::connect(&app, &QApplication::lastWindowClosed, [&] { runner.RequestQuit(); });
    const int status = app.exec();
    activeWindow = nullptr;
    return status;
}

}  // namespace corvane::sim

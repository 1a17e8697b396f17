// SPDX-License-Identifier: MIT
//
// The real program in this process on Qt's offscreen platform, against the
// stand-in simulator running headless: it starts, shows its round window,
// exchanges with the simulator, opens its pop-up menu on the right button and
// runs the chosen command; and it ends when the simulator goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/autopilot/ApproachGeometry.h"
#include "app/flightstate/Readings.h"
#include "app/forms/Mouse.h"
#include "app/startup/AirportHandlers.h"
#include "app/startup/ExitStatus.h"
#include "app/startup/MainWindowHandlers.h"
#include "app/startup/Program.h"
#include "app/startup/Startup.h"
#include "app/ui/PopupMenu.h"
#include "app/ui/ProgramWindows.h"
#include "platform/posix/CVcomsLibrary.h"
#include "platform/qt/QtHost.h"
#include "tests/ui/StandInProcess.h"

namespace corvane::testing {
namespace {

const std::string kAppDir = CORVANE_TEST_APP_DIR "/";
const std::string kSimulator = CORVANE_TEST_SIM_DIR "/fltsim98.exe";

// With CORVANE_SCREENSHOT_DIR set (on a real X server), the simulator runs with
// its window and the screen is saved while the pop-up menu is open.
std::string ScreenshotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir && *dir ? std::string(dir) + "/" : std::string();
}

void SaveScreen(const std::string& name) {
    if (ScreenshotDir().empty())
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        screen->grabWindow(0, 0, 0, 1024, 768).save(QString::fromStdString(ScreenshotDir() + name));
    }
}

// Lets the Qt event loop run for a while (timers tick, the link exchanges).
void RunEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
}

// Chooses the action named `path` (item names, submenus first) in the open
// pop-up menu with the keyboard, as soon as the menu shows.
void ChooseWhenOpen(ui::ProgramWindows& windows, std::vector<std::string> path, bool* chosen,
                    std::function<void()> whileOpen = {}) {
    QTimer::singleShot(150, [&windows, path, chosen, whileOpen] {
        QMenu* menu = windows.OpenMenu();
        if (!menu)
            return;
        if (whileOpen)
            whileOpen();
        for (std::size_t i = 0; i < path.size(); ++i) {
            QAction* target = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->objectName().toStdString() == path[i] ||
                    (a->menu() && a->menu()->objectName().toStdString() == path[i])) {
                    target = a;
                }
            }
            if (!target) {
                menu->close();
                return;
            }
            menu->setActiveAction(target);
            if (i + 1 < path.size()) {
                QTest::keyClick(menu, Qt::Key_Right);
                menu = target->menu();
                if (!menu)
                    return;
                continue;
            }
            *chosen = true;
            if (!ScreenshotDir().empty()) {
                RunEvents(300);  // the menu painted on the X server first
                SaveScreen("menu-" + path.back() + ".png");
            }
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
}

class QtProgramTest : public ::testing::Test {
  protected:
    QtProgramTest() {
        ::setenv("CORVANE_DESKTOP", scratch.Path("desktop").c_str(), 1);
        ::setenv("CORVANE_REGISTRY", scratch.Path("registry.ini").c_str(), 1);
        std::filesystem::create_directories(scratch.Path("desktop"));
        std::filesystem::permissions(scratch.Path("desktop"), std::filesystem::perms::owner_all);
        desktop::WriteRegistryString(host::RegistryRoot::LocalMachine,
                                     "Software\\CLASSES\\flight simulator", "defaulticon",
                                     kSimulator + ",1");
    }
    ~QtProgramTest() override {
        ::unsetenv("CORVANE_DESKTOP");
        ::unsetenv("CORVANE_REGISTRY");
    }
    void StartSimulator(const std::vector<std::string>& extraArgs = {}) {
        std::vector<std::string> args = {kSimulator};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        if (ScreenshotDir().empty())
            args.push_back("--headless");
        ASSERT_TRUE(simulator.Start(args, {}, scratch.Path("sim.log")));
        ASSERT_TRUE(WaitUntil(10, [] { return SimulatorPid() != 0; }));
    }

    TempFolder scratch;
    ChildProcess simulator;
};

TEST_F(QtProgramTest, StartsOpensThePopupMenuAndRunsTheChosenCommand) {
    StartSimulator();
    qtui::QtHost host;
    desktop::CVcomsLibrary link(kAppDir);
    Program p(host, link);
    ui::ProgramWindows windows(p, host);

    QElapsedTimer clock;
    clock.start();
    startup::Form1_Load(p, kAppDir);
    host.Sync();  // as the program does before its event loop
    ASSERT_FALSE(host.Ended()) << "exit status " << host.ExitStatus();
    const qint64 startMs = clock.elapsed();
    std::printf("start-up to the running program: %lld ms\n", static_cast<long long>(startMs));

    // Running: round window inside the simulator's (here: the screen), timers on.
    EXPECT_TRUE(windows.Form1Window().isVisible());
    EXPECT_FALSE(windows.Form6Window().isVisible());
    EXPECT_EQ(p.forms.Form1.menu.mnushape.caption, "Square window");
    EXPECT_FALSE(windows.Form1Window().mask().isEmpty());
    EXPECT_TRUE(p.Form5Timer1->Enabled());
    EXPECT_NE(p.flightState.latitudehi, 0);
    EXPECT_NE(p.forms.Form1.windowHandle, 0u);
    EXPECT_EQ(windows.Form1Window().geometry().topLeft(), QPoint(7, 7));  // 100 twips

    // The main cycle exchanges with the simulator.
    RunEvents(600);
    EXPECT_EQ(p.flightState.simulatorkind, flightstate::kFs98);
    EXPECT_FALSE(p.FirstCycle);

    // Right button on the map: the menu opens; "Square window" is chosen.
    // While it is open the simulator is paused (read straight from the simulator).
    bool chosen = false;
    std::uint8_t pausedWhileOpen = 0;
    ChooseWhenOpen(windows, {"mnushape"}, &chosen,
                   [&] { link.readxbytes(1, 0x0264, &pausedWhileOpen); });
    QTest::mousePress(&windows.MapView(), Qt::RightButton, {}, QPoint(80, 80));
    EXPECT_TRUE(chosen);
    EXPECT_EQ(pausedWhileOpen, 1);
    EXPECT_EQ(windows.OpenMenu(), nullptr);
    EXPECT_EQ(p.forms.Form1.menu.mnushape.caption, "Round window");
    EXPECT_EQ(windows.Form1Window().mask(), QRegion(0, 0, 167, 167));
    EXPECT_TRUE(p.Form1Timer1->Enabled());  // the cycles run again
    EXPECT_TRUE(p.Form1Timer3->Enabled());

    // The pause state goes back to the simulator and is read back.
    RunEvents(600);
    EXPECT_EQ(p.flightState.paused, 0);

    // A submenu item: Range, 10 miles.
    chosen = false;
    ChooseWhenOpen(windows, {"MnuRange", "Mnu10miles"}, &chosen);
    QTest::mousePress(&windows.MapView(), Qt::RightButton, {}, QPoint(80, 80));
    EXPECT_TRUE(chosen);
    EXPECT_EQ(p.map.MapRange, 10);
    EXPECT_TRUE(p.forms.Form1.menu.Mnu10miles.checked);

    // A menu closed without a choice leaves everything as it was.
    QTimer::singleShot(150, [&windows] {
        if (QMenu* m = windows.OpenMenu())
            QTest::keyClick(m, Qt::Key_Escape);
    });
    QTest::mousePress(&windows.MapView(), Qt::RightButton, {}, QPoint(80, 80));
    EXPECT_EQ(windows.OpenMenu(), nullptr);
    EXPECT_FALSE(host.Ended());

    // Exit.
    chosen = false;
    ChooseWhenOpen(windows, {"Mnuexit"}, &chosen);
    QTest::mousePress(&windows.MapView(), Qt::RightButton, {}, QPoint(80, 80));
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitNormal);
    EXPECT_FALSE(windows.Form1Window().isVisible());
    link.stopit();
}

TEST_F(QtProgramTest, EndsWhenTheSimulatorCloses) {
    StartSimulator();
    qtui::QtHost host;
    desktop::CVcomsLibrary link(kAppDir);
    Program p(host, link);
    ui::ProgramWindows windows(p, host);
    startup::Form1_Load(p, kAppDir);
    ASSERT_FALSE(host.Ended());
    RunEvents(300);

    simulator.Stop();
    QElapsedTimer clock;
    clock.start();
    while (!host.Ended() && clock.elapsed() < 3000)
        RunEvents(10);
    ASSERT_TRUE(host.Ended());
    std::printf("ended %lld ms after the simulator's process ended\n",
                static_cast<long long>(clock.elapsed()));
    EXPECT_LE(clock.elapsed(),
              1000);  // the watchdog ticks every 500 ms; a loaded machine is slower
    EXPECT_EQ(host.ExitStatus(), startup::kExitNormal);
    link.stopit();
}

TEST_F(QtProgramTest, SearchAndAirportWindowsShowTheirModelsAndTakeTheUsersInput) {
    StartSimulator();
    qtui::QtHost host;
    desktop::CVcomsLibrary link(kAppDir);
    Program p(host, link);
    ui::ProgramWindows windows(p, host);
    startup::Form1_Load(p, kAppDir);
    host.Sync();
    ASSERT_FALSE(host.Ended());

    // "Show selected map": the search window in place of the map window.
    windows.Run([&] { startup::MenuClick(p, "mnushowplace"); });
    ASSERT_TRUE(windows.Form3Window().isVisible());
    EXPECT_FALSE(windows.Form1Window().isVisible());
    auto* text = qobject_cast<QLineEdit*>(windows.Form3Window().Control("TxtAirport"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(p.forms.Form3.focusControl.empty());  // the focus request was carried out

    // Typing goes into the model; Enter runs the search.
    QTest::keyClicks(text, "Heathrow");
    EXPECT_EQ(p.forms.Form3.TxtAirport.text, "Heathrow");
    if (!ScreenshotDir().empty()) {
        RunEvents(500);
        SaveScreen("airport-search.png");
    }
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_FALSE(windows.Form3Window().isVisible());
    ASSERT_TRUE(windows.Form2Window().isVisible());
    auto* list = qobject_cast<QListWidget*>(windows.Form2Window().Control("foundlist"));
    ASSERT_NE(list, nullptr);
    ASSERT_FALSE(p.forms.Form2.foundlist.items.empty());
    ASSERT_EQ(list->count(), int(p.forms.Form2.foundlist.items.size()));
    EXPECT_EQ(list->item(0)->text().toStdString(), p.forms.Form2.foundlist.items[0]);
    if (!ScreenshotDir().empty()) {
        RunEvents(500);
        SaveScreen("airport-list.png");
    }

    // A click on the first line shows the airport; its details fill the grid.
    const QRect line = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_GT(p.search.SelectedAirport, 0);
    EXPECT_FALSE(list->isVisible());  // the plan takes the list's place
    auto* details = qobject_cast<QPushButton*>(windows.Form2Window().Control("cmdDetails"));
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isVisible());
    QTest::mouseClick(details, Qt::LeftButton);
    auto* grid = qobject_cast<QTableWidget*>(windows.Form2Window().Control("rungrid"));
    ASSERT_NE(grid, nullptr);
    const forms::Grid& model = p.forms.Form2.rungrid;
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->rowCount(), model.rows);
    EXPECT_EQ(grid->columnCount(), model.cols);
    // Columns at least as wide as the layout's, and wide enough for every text in them.
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < model.cols; ++c) {
        EXPECT_GE(grid->columnWidth(c), ui::Px(model.colWidths[std::size_t(c)], 15)) << c;
        for (int r = 0; r < model.rows; ++r) {
            EXPECT_EQ(grid->item(r, c)->text().toStdString(), model.Text(r, c)) << r << c;
            EXPECT_LT(metrics.horizontalAdvance(grid->item(r, c)->text()), grid->columnWidth(c))
                << model.Text(r, c);
        }
    }
    EXPECT_GE(grid->rowHeight(0), metrics.height());
    if (!ScreenshotDir().empty()) {
        RunEvents(500);  // painted on the X server first
        SaveScreen("airport-window.png");
    }

    // Close: the map window comes back with its cycles.
    auto* close = qobject_cast<QPushButton*>(windows.Form2Window().Control("cmdclose"));
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(windows.Form2Window().isVisible());
    EXPECT_TRUE(windows.Form1Window().isVisible());
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    link.stopit();
}

// The pilot's whole road through the windows: the search, the airport's plan,
// "Fly there", a landing direction from the list; then the program flies the
// stand-in (at four times the speed) down to the runway, brakes to a stop and
// hands the aircraft back, with the stage shown in the readout window.
TEST_F(QtProgramTest, FlyThereChosenInTheWindowsLandsAndHandsBack) {
    StartSimulator({"--airport", "KSFO", "--runway", "28R", "--final", "8", "--rate", "4"});
    qtui::QtHost host;
    desktop::CVcomsLibrary link(kAppDir);
    Program p(host, link);
    ui::ProgramWindows windows(p, host);
    startup::Form1_Load(p, kAppDir);
    host.Sync();
    ASSERT_FALSE(host.Ended());
    RunEvents(600);

    windows.Run([&] { startup::MenuClick(p, "mnushowplace"); });
    auto* text = qobject_cast<QLineEdit*>(windows.Form3Window().Control("TxtAirport"));
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, "KSFO");
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_TRUE(windows.Form2Window().isVisible());
    auto* list = qobject_cast<QListWidget*>(windows.Form2Window().Control("foundlist"));
    ASSERT_NE(list, nullptr);
    if (list->isVisible()) {  // more than one match: the first line is San Francisco
        ASSERT_GT(list->count(), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
    }
    ASSERT_GT(p.search.SelectedAirport, 0);
    auto* flyThere = qobject_cast<QPushButton*>(windows.Form2Window().Control("cmdflyme"));
    ASSERT_NE(flyThere, nullptr);
    QTest::mouseClick(flyThere, Qt::LeftButton);
    ASSERT_TRUE(list->isVisible()) << "the landing directions are listed";
    const QList<QListWidgetItem*> runway =
        list->findItems(QStringLiteral(" 28R"), Qt::MatchStartsWith);
    ASSERT_EQ(runway.size(), 1);
    if (!ScreenshotDir().empty()) {
        RunEvents(500);
        SaveScreen("fly-there-runways.png");
    }
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(runway.front()).center());
    EXPECT_TRUE(windows.Form1Window().isVisible());
    EXPECT_TRUE(p.forms.Form4.visible);

    // The landing stages follow one another; the first is shown within seconds.
    ASSERT_TRUE(WaitUntil(30, [&] {
        RunEvents(100);
        return p.plan.LandingStage > 0 || p.plan.RouteStage > 0;
    }));
    RunEvents(4000);
    SaveScreen("fly-there-approach.png");
    const bool handedBack = WaitUntil(480, [&] {
        RunEvents(200);
        return p.plan.LandingStage == 0 && p.plan.RouteStage == 0 && !p.plan.GuidanceOn;
    });
    ASSERT_TRUE(handedBack) << "landing stage " << p.plan.LandingStage << ", route stage "
                            << p.plan.RouteStage;
    EXPECT_FALSE(host.Ended());
    std::uint32_t master = 1;
    link.readxbytes(4, 0x07BC, &master);  // the simulator's autopilot master
    EXPECT_EQ(master, 0) << "the autopilot is handed back off";
    // Stopped on the runway (KSFO 28R: 11,870 ft by 200 ft).
    const autopilot::RunwayOffsets stop = autopilot::OffsetsFromRunway(
        p.plan, p.flightState.readings.latitudeDeg, p.flightState.readings.longitudeDeg);
    EXPECT_LT(std::abs(stop.crossM), 30.0);
    EXPECT_GT(stop.alongFt, 0.0);
    EXPECT_LT(stop.alongFt, 11870.0);
    RunEvents(1500);
    SaveScreen("fly-there-landed.png");
    link.stopit();
}

// No simulator where the registry points: start-up says so in a message box
// and ends. On a real X server the box is shown, saved and checked to hold
// its whole text; offscreen the program answers it itself.
TEST_F(QtProgramTest, NoSimulatorEndsStartUpWithAMessageBoxThatReadsWhole) {
    desktop::WriteRegistryString(host::RegistryRoot::LocalMachine,
                                 "Software\\CLASSES\\flight simulator", "defaulticon",
                                 scratch.Path("missing/fltsim98.exe") + ",1");
    // An earlier test's program that ended left the application quitting, which
    // would close the box at once; a turn of the main event loop clears that.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    qtui::QtHost host;
    desktop::CVcomsLibrary link(kAppDir);
    Program p(host, link);
    ui::ProgramWindows windows(p, host);
    bool boxSeen = false;
    QString boxText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || boxSeen)
            return;
        boxSeen = true;
        boxText = box->text();
        RunEvents(500);
        if (!ScreenshotDir().empty())
            box->grab().save(QString::fromStdString(ScreenshotDir() + "message-box.png"));
        // Every line of the text within the box's label.
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label) {
            const QFontMetrics metrics(label->font());
            for (const QString& line : box->text().split(QLatin1Char('\n'))) {
                EXPECT_LE(metrics.horizontalAdvance(line), label->width()) << line.toStdString();
            }
        }
        box->accept();
    });
    poll.start(100);
    startup::Form1_Load(p, kAppDir);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
    if (!host.AnswersMessageBoxes()) {
        EXPECT_TRUE(boxSeen);
        EXPECT_FALSE(boxText.isEmpty());
    }
}

TEST(PopupMenuTest, MenuTreeFollowsTheModel) {
    forms::MainMenu menu;
    menu.mnuFlythereOff.visible = true;
    menu.Mnu25miles.checked = true;
    menu.mnushape.caption = "Square window";
    auto popup = ui::BuildPopupMenu(menu.mnuview);
    std::vector<std::string> top;
    for (QAction* a : popup->actions())
        top.push_back(a->text().toStdString());
    EXPECT_EQ(top, (std::vector<std::string>{"Range", "Display settings", "Show selected map",
                                             "Show throttle", "&Joystick", "Minimize",
                                             "Square window", "Crosswires", "Fly past view",
                                             "Stop 'fly there and land'", "Help", "E&xit"}));
    for (QAction* a : popup->actions()) {
        if (a->menu() && a->menu()->objectName() == "MnuRange") {
            const auto items = a->menu()->actions();
            ASSERT_EQ(items.size(), 6);
            EXPECT_TRUE(items[2]->isChecked());
            EXPECT_FALSE(items[3]->isChecked());
            EXPECT_EQ(ui::ItemNameOf(items[2]), "Mnu25miles");
        }
        if (a->menu() && a->menu()->objectName() == "mnuJoystick") {
            EXPECT_EQ(a->menu()->actions().size(), 2);  // Reverse horizontal is hidden
        }
    }
}

}  // namespace
}  // namespace corvane::testing

namespace {
// The offscreen platform's notices that it cannot shape, raise or grab.
void QuietOffscreenNotices(QtMsgType, const QMessageLogContext&, const QString& text) {
    if (!text.startsWith(QStringLiteral("This plugin does not support"))) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}
}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless told otherwise (under xvfb-run, QT_QPA_PLATFORM=xcb runs
    // the same tests on a real X server).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenNotices);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

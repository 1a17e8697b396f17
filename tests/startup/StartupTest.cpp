// SPDX-License-Identifier: MIT
//
// Start-up in virtual time: the ordinary start, the failure paths of finding,
// starting and restarting the simulator, the data files and the link library,
// and the wait for the first position.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/startup/ExitStatus.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::testing {
namespace {

using forms::RegionShape;
using host::MessageBoxButtons;
using host::MessageBoxIcon;
using host::MessageBoxResult;
using ::testing::HasSubstr;

void ExpectLocateError(const headless::HeadlessHost& host) {
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    const auto& box = host.MessageBoxes()[0];
    EXPECT_EQ(box.title, "Error loading Flight Simulator");
    EXPECT_EQ(box.text,
              "Can't locate Flight Simulator 98, please\r\nload FS98 and then re-start Corvane");
    EXPECT_EQ(box.icon, MessageBoxIcon::Critical);
    EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
}

TEST_F(ProgramTest, SimulatorAlreadyFineStartsWithoutCopyingLaunchingOrClosing) {
    SimulatorRuns();
    Load();
    ASSERT_TRUE(Running()) << (host.MessageBoxes().empty() ? "" : host.MessageBoxes()[0].text);
    EXPECT_TRUE(host.Copies().empty());
    EXPECT_TRUE(host.StartedPrograms().empty());
    EXPECT_TRUE(host.CloseRequests().empty());
    EXPECT_TRUE(host.MessageBoxes().empty());

    EXPECT_EQ(p.AppFolder, data.Path());
    EXPECT_EQ(p.startup.SimulatorFolder, "/sims/FS98/");
    EXPECT_EQ(p.flightState.simulatorkind, flightstate::kFs98);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
    EXPECT_TRUE(p.Form1Timer3->Enabled());
    EXPECT_FALSE(p.Form1Timer4->Enabled());
    EXPECT_FALSE(p.forms.Form6.visible);

    // The main window: inside the simulator's window at 100, 100 twips, round.
    const forms::Form1Model& f = p.forms.Form1;
    EXPECT_EQ(f.parentWindow, sim.window);
    EXPECT_TRUE(f.childStyle);
    for (const forms::Form* other : {(forms::Form*)&p.forms.Form2, (forms::Form*)&p.forms.Form3,
                                     (forms::Form*)&p.forms.Form4}) {
        EXPECT_EQ(other->parentWindow, sim.window) << other->name;
    }
    EXPECT_EQ(f.left, 100);
    EXPECT_EQ(f.top, 100);
    EXPECT_EQ(f.width, 2500 + 255);
    EXPECT_EQ(f.height, 2500);
    EXPECT_FALSE(f.showInTaskbar);
    EXPECT_EQ(f.region, (std::vector<RegionShape>{{RegionShape::Kind::Ellipse, 0, 0, 167, 167}}));
    EXPECT_EQ(f.menu.mnushape.caption, "Square window");
    EXPECT_EQ(f.menu.MnuRange.caption, "Range(50)");
    EXPECT_TRUE(f.menu.Mnu50miles.checked);
    EXPECT_EQ(p.map.MapRange, 50);
    EXPECT_EQ(f.Picture2.canvas->PixelWidth(), 167);
    EXPECT_EQ(f.picstore.canvas->PixelHeight(), 167);
    EXPECT_EQ(f.Picture2.canvas->FontSize(), 8);
    EXPECT_EQ(p.SimulatorWindowHandle, sim.window);
    EXPECT_EQ(p.SimulatorWindowRect, sim.rect);

    // The readout window: four labels in a row at the top.
    const forms::Form4Model& r = p.forms.Form4;
    EXPECT_EQ(r.Label2.left, r.Label1.left + r.Label1.width);
    EXPECT_EQ(r.Label4.left, r.Label3.left + r.Label3.width);
    EXPECT_EQ(r.width, r.Label1.width + r.Label2.width + r.Label3.width + r.Label4.width);
    EXPECT_EQ(r.height, r.Label1.height);
    EXPECT_EQ(r.top, 0);

    // The start-up picture was shown in the middle of the screen, picture-sized.
    const forms::Form6Model& s = p.forms.Form6;
    EXPECT_EQ(s.left, (1024 * 15 - 5000) / 2);
    EXPECT_EQ(s.top, (768 * 15 - 2700) / 2);
    EXPECT_EQ(s.width, s.Picture1.width);
    EXPECT_EQ(s.height, s.Picture1.height);
}

TEST_F(ProgramTest, StartsWithTheSimulatorsPauseStateAndWritesItBackOnTheFirstTick) {
    SimulatorRuns();
    link.Put<std::uint8_t>(0x0264, 1);  // the pilot had paused the simulator
    Load();
    ASSERT_TRUE(Running());
    EXPECT_EQ(p.SavedPauseState, 1);
    EXPECT_TRUE(p.FirstCycle);
    host.RunFor(0.2);  // the first main-cycle tick
    EXPECT_FALSE(p.FirstCycle);
    ASSERT_FALSE(link.pauseWrites.empty());
    EXPECT_EQ(link.pauseWrites.back(), 1);
    EXPECT_EQ(link.Paused(), 1);
}

TEST_F(ProgramTest, NoSimulatorAndNoRegistryEntryEndsWithTheMessage) {
    Load();
    ExpectLocateError(host);
    EXPECT_TRUE(host.StartedPrograms().empty());
    EXPECT_FALSE(p.forms.Form1.visible);
    EXPECT_FALSE(p.forms.Form6.visible);
}

TEST_F(ProgramTest, RegistryValueThatDoesNotNameTheProgramCountsAsNoFolder) {
    struct Case {
        const char* name;
        host::RegistryValue value;
    };
    const Case cases[] = {
        {"another program", {true, std::string("/sims/FS98/fs2000.exe,1\0", 24)}},
        {"only the program's name", {true, std::string("fltsim98.exe\0", 13)}},
        {"not a string", {false, std::string("\x01\x00\x00\x00", 4)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::HeadlessHost h;
        FakeLink l(h);
        Program program(h, l);
        h.SetRegistryValue(host::RegistryRoot::LocalMachine, std::string(startup::kSimulatorKey),
                           std::string(startup::kSimulatorValue), c.value);
        EXPECT_EQ(startup::FindSimulatorFolder(program), "");
        EXPECT_EQ(program.startup.SimulatorExePath, "");
        startup::LocateSimulator(program);
        ExpectLocateError(h);
        EXPECT_TRUE(h.StartedPrograms().empty());
    }
}

TEST_F(ProgramTest, RegistryStringsAsRead) {
    EXPECT_EQ(
        startup::ReadRegistryString(host, host::RegistryRoot::LocalMachine, "Software\\none", "x"),
        "");
    host.SetRegistryValue(host::RegistryRoot::LocalMachine, "Software\\k", "dword",
                          {false, "\x05"});
    EXPECT_EQ(
        startup::ReadRegistryString(host, host::RegistryRoot::LocalMachine, "Software\\k", "dword"),
        "--Not String--");
    host.SetRegistryString(host::RegistryRoot::LocalMachine, "Software\\k", "text", "abc");
    // The terminating zero is part of what is read.
    EXPECT_EQ(
        startup::ReadRegistryString(host, host::RegistryRoot::LocalMachine, "SOFTWARE\\K", "TEXT"),
        std::string("abc\0", 4));
}

TEST_F(ProgramTest, FolderIsFoundWithoutRegardToCaseAndKeptInItsRealCase) {
    struct Case {
        std::string value;
        std::string folder;
        std::string program;
    };
    const Case cases[] = {
        {"C:\\Sims\\FS98\\FLTSIM98.EXE,1", "C:\\Sims\\FS98\\", "C:\\Sims\\FS98\\FLTSIM98.EXE"},
        {"/home/Pilot/FS98/fltsim98.exe", "/home/Pilot/FS98/", "/home/Pilot/FS98/fltsim98.exe"},
        {"/opt/Fs98/FltSim98.Exe,0", "/opt/Fs98/", "/opt/Fs98/FltSim98.Exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        host.SetRegistryString(host::RegistryRoot::LocalMachine,
                               std::string(startup::kSimulatorKey),
                               std::string(startup::kSimulatorValue), c.value);
        EXPECT_EQ(startup::FindSimulatorFolder(p), c.folder);
        EXPECT_EQ(p.startup.SimulatorFolder, c.folder);
        EXPECT_EQ(p.startup.SimulatorExePath, c.program);
    }
}

TEST_F(ProgramTest, LaunchFailingEndsWithTheMessage) {
    sim.InstallRegistry();
    sim.InstallFiles(true);
    sim.startFails = true;
    Load();
    ExpectLocateError(host);
    ASSERT_EQ(host.StartedPrograms().size(), 1u);
    EXPECT_FALSE(host.StartedPrograms()[0].started);
}

TEST_F(ProgramTest, RegistryNamingAProgramThatIsNotThereEndsWithTheMessage) {
    sim.InstallRegistry();  // but no files
    Load();
    ExpectLocateError(host);
    EXPECT_TRUE(host.StartedPrograms().empty());
    EXPECT_TRUE(host.Copies().empty());
}

TEST_F(ProgramTest, LaunchesTheSimulatorByItsRealPathAndWaitsForIt) {
    sim.InstallRegistry();
    sim.InstallFiles(true);
    const double start = host.Now();
    Load();
    ASSERT_TRUE(Running());
    ASSERT_EQ(host.StartedPrograms().size(), 1u);
    EXPECT_EQ(host.StartedPrograms()[0].path, "/sims/FS98/FLTSIM98.EXE");
    EXPECT_TRUE(host.StartedPrograms()[0].arguments.empty());
    EXPECT_TRUE(host.Copies().empty());
    EXPECT_GE(host.Now() - start, sim.windowDelay);
    EXPECT_FALSE(p.forms.Form6.visible);  // the "starting" status is gone
}

TEST_F(ProgramTest, LaunchCopiesAMissingModuleFirst) {
    sim.InstallRegistry();
    sim.InstallFiles(false);
    Load();
    ASSERT_TRUE(Running());
    ASSERT_EQ(host.Copies().size(), 1u);
    EXPECT_EQ(host.Copies()[0].first, data.Path() + "FS6IPC.dll");
    EXPECT_EQ(host.Copies()[0].second, "/sims/FS98/modules/FS6IPC.dll");
    EXPECT_TRUE(link.moduleLoaded);
}

TEST_F(ProgramTest, LaunchedSimulatorThatNeverShowsItsWindowGivesUpAfterSixtySeconds) {
    sim.InstallRegistry();
    sim.InstallFiles(true);
    sim.neverShowsWindow = true;
    Load();
    ExpectLocateError(host);
    const double waited = host.MessageBoxes()[0].time - host.StartedPrograms()[0].time;
    EXPECT_GE(waited, 60.0);
    EXPECT_LT(waited, 60.1);
}

TEST_F(ProgramTest, ModuleMissingWhileTheSimulatorRunsIsCopiedAndTheSimulatorRestarted) {
    sim.InstallRegistry();
    sim.InstallFiles(false);
    sim.ShowWindow();
    ASSERT_FALSE(link.moduleLoaded);
    Load();
    ASSERT_TRUE(Running()) << (host.MessageBoxes().empty() ? "" : host.MessageBoxes()[0].text);
    ASSERT_EQ(host.Copies().size(), 1u);
    EXPECT_EQ(host.Copies()[0].second, "/sims/FS98/modules/FS6IPC.dll");
    ASSERT_EQ(host.CloseRequests().size(), 1u);
    ASSERT_EQ(host.StartedPrograms().size(), 1u);
    // The copy, then the close request, then the start at least 5 s later.
    double copyTime = -1, closeTime = -1, startTime = -1;
    for (const auto& e : host.Log()) {
        if (e.what.rfind("copy ", 0) == 0)
            copyTime = e.time;
        if (e.what == "close request")
            closeTime = e.time;
        if (e.what.rfind("start program", 0) == 0)
            startTime = e.time;
    }
    EXPECT_LE(copyTime, closeTime);
    EXPECT_GE(startTime - closeTime, 5.0);
    EXPECT_TRUE(link.moduleLoaded);  // the restarted simulator loaded it
    EXPECT_EQ(p.SimulatorWindowHandle, sim.window);
}

TEST_F(ProgramTest, SimulatorThatAsksBeforeClosingIsUsedAsItRuns) {
    sim.InstallRegistry();
    sim.InstallFiles(false);
    sim.asksBeforeClosing = true;
    sim.ShowWindow();
    link.moduleLoaded = true;  // the pilot let the simulator load it meanwhile
    Load();
    ASSERT_TRUE(Running());
    EXPECT_EQ(host.CloseRequests().size(), 1u);
    EXPECT_TRUE(host.StartedPrograms().empty());
    EXPECT_EQ(host.Copies().size(), 1u);
}

TEST_F(ProgramTest, RunningSimulatorWithoutRegistryEntryIsUsedWithoutClosingIt) {
    sim.InstallFiles(true);
    sim.ShowWindow();
    Load();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(host.Copies().empty());
    EXPECT_TRUE(host.CloseRequests().empty());
    EXPECT_TRUE(host.StartedPrograms().empty());
}

TEST_F(ProgramTest, ModuleThatCannotBeCopiedIsReportedByName) {
    sim.InstallRegistry();
    sim.InstallFiles(false);
    sim.ShowWindow();
    host.RemoveFile(data.Path() + "FS6IPC.dll");
    Load();
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_THAT(host.MessageBoxes()[0].text, HasSubstr(data.Path() + "FS6IPC.dll"));
    EXPECT_THAT(host.MessageBoxes()[0].text, HasSubstr("missing"));
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
    EXPECT_TRUE(host.CloseRequests().empty());  // the simulator is left alone

    // A copy that fails for another reason names both ends.
    headless::HeadlessHost h;
    FakeLink l(h);
    Program program(h, l);
    program.AppFolder = "/corvane/";
    h.AddFile("/corvane/FS6IPC.dll");
    h.SetCopyFails(true);
    std::string error;
    EXPECT_FALSE(startup::EnsureIpcModule(program, "/sims/FS98/", &error));
    EXPECT_THAT(error, HasSubstr("/corvane/FS6IPC.dll"));
    EXPECT_THAT(error, HasSubstr("/sims/FS98/modules/FS6IPC.dll"));
}

TEST_F(ProgramTest, DataFilesAndHelpComeFromTheDataFolderAndTheModuleFromTheProgramFolder) {
    SimulatorRuns();
    TempFolder chosen;
    navdata::SaveAirportDatabase(navdata::AirportDatabase{}, chosen.Path() + "airdata.tri");
    navdata::SaveCoastFile(navdata::CoastFileContents{}, chosen.Path() + "COAST2.int");
    {
        std::ofstream damaged(data.Path() + "airdata.tri", std::ios::binary | std::ios::trunc);
        damaged << "not a database";
    }
    std::string folder = chosen.Path();
    folder.pop_back();  // the separator is added when missing
    startup::Form1_Load(p, data.Path(), folder);
    ASSERT_TRUE(Running()) << (host.MessageBoxes().empty() ? "" : host.MessageBoxes()[0].text);
    EXPECT_EQ(p.AppFolder, data.Path());
    EXPECT_EQ(p.DataFolder, chosen.Path());

    // A data folder without the files is named in the message.
    TempFolder empty;
    headless::HeadlessHost h;
    FakeLink l(h);
    Program program(h, l);
    startup::Form1_Load(program, data.Path(), empty.Path());
    ASSERT_EQ(h.MessageBoxes().size(), 1u);
    EXPECT_THAT(h.MessageBoxes()[0].text, HasSubstr(empty.Path() + "airdata.tri"));
    EXPECT_TRUE(h.Ended());
}

TEST_F(ProgramTest, MissingOrDamagedDataFileIsReportedByNameBeforeLookingForTheSimulator) {
    SimulatorRuns();
    std::filesystem::remove(data.Path() + "COAST2.int");
    {
        std::ofstream damaged(data.Path() + "airdata.tri", std::ios::binary | std::ios::trunc);
        damaged << "not a database";
    }
    Load();
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_THAT(host.MessageBoxes()[0].text, HasSubstr("airdata.tri"));
    EXPECT_EQ(host.MessageBoxes()[0].icon, MessageBoxIcon::Critical);
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
    EXPECT_EQ(CountLog("fsworking"), 0u);

    // With the database whole, the missing coastline file is the one named.
    navdata::SaveAirportDatabase(navdata::AirportDatabase{}, data.Path() + "airdata.tri");
    headless::HeadlessHost h;
    FakeLink l(h);
    Program program(h, l);
    startup::Form1_Load(program, data.Path());
    ASSERT_EQ(h.MessageBoxes().size(), 1u);
    EXPECT_THAT(h.MessageBoxes()[0].text, HasSubstr("COAST2.int"));
    EXPECT_TRUE(h.Ended());
}

TEST_F(ProgramTest, LinkLibraryThatCannotBeLoadedIsReported) {
    SimulatorRuns();
    link.loadError =
        "The link library libCVcoms.so could not be loaded (looked for /x/libCVcoms.so)";
    Load();
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_THAT(host.MessageBoxes()[0].text, HasSubstr("libCVcoms.so"));
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
    EXPECT_FALSE(p.forms.Form1.visible);
}

TEST_F(ProgramTest, PositionWaitShowsItsStatusAndAsksAfterThirtySeconds) {
    SimulatorRuns();
    link.PlaceAircraft(0, 0);
    bool statusSeen = false;
    host.At(host.Now() + 5, "look at the window", [&] {
        statusSeen = p.forms.Form6.visible &&
                     p.forms.Form6.lblStatus.caption == "Waiting for the simulator...";
    });
    host.AnswerNextMessageBox(MessageBoxResult::Cancel);
    const double start = host.Now();
    Load();
    EXPECT_TRUE(statusSeen);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    const auto& box = host.MessageBoxes()[0];
    EXPECT_EQ(box.buttons, MessageBoxButtons::RetryCancel);
    EXPECT_THAT(box.text, HasSubstr("30 seconds"));
    EXPECT_GE(box.time - start, 30.0);
    EXPECT_LT(box.time - start, 33.0);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.ExitStatus(), startup::kExitStartFailed);
    EXPECT_FALSE(p.forms.Form6.visible);
    EXPECT_FALSE(p.forms.Form1.visible);
}

TEST_F(ProgramTest, RetryWaitsOnUntilThePositionArrives) {
    SimulatorRuns();
    link.PlaceAircraft(0, 0);
    host.AnswerNextMessageBox(MessageBoxResult::Retry);
    host.At(host.Now() + 40, "the aircraft is placed", [&] { link.PlaceAircraft(10, 10); });
    Load();
    ASSERT_TRUE(Running());
    EXPECT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_FALSE(p.forms.Form6.visible);
}

TEST_F(ProgramTest, PositionOnAZeroLineKeepsStartUpWaiting) {
    // Just north of the equator the latitude's high word is 0: not a position yet.
    SimulatorRuns();
    link.PlaceAircraft(0.000005, 20);
    bool waitingAt10s = false;
    host.At(host.Now() + 10, "check", [&] { waitingAt10s = !p.Form1Timer1->Enabled(); });
    host.At(host.Now() + 12, "the aircraft moves north", [&] { link.PlaceAircraft(1, 20); });
    Load();
    EXPECT_TRUE(waitingAt10s);
    EXPECT_TRUE(Running());
}

TEST_F(ProgramTest, SimulatorClosedDuringThePositionWaitEndsWithTheMessage) {
    SimulatorRuns();
    link.PlaceAircraft(0, 0);
    host.At(host.Now() + 3, "the simulator is closed", [&] { host.RemoveWindow(sim.window); });
    Load();
    ExpectLocateError(host);
}

TEST_F(ProgramTest, StartUpOrderAsTheLogShowsIt) {
    sim.InstallRegistry();
    sim.InstallFiles(true);
    Load();
    ASSERT_TRUE(Running());
    // Only the first occurrence of each event counts.
    std::vector<std::string> order;
    for (const auto& e : host.Log()) {
        std::string what = e.what.substr(0, e.what.find(':'));
        if (std::find(order.begin(), order.end(), what) == order.end())
            order.push_back(what);
    }
    const std::vector<std::string> expected = {"start program", "action",  "window appears",
                                               "fsworking",     "startit", "exchange"};
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace corvane::testing

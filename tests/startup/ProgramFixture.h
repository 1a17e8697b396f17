// SPDX-License-Identifier: MIT
//
// The whole program on the headless host, against a simulated simulator: its
// window on the simulated desktop, its registry entry and files, and a link
// that serves the flight-state exchange from a variable image while the
// simulator's window is there and its IPC module is loaded.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/startup/Program.h"
#include "app/startup/SimulatorLocator.h"
#include "app/startup/Startup.h"
#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"
#include "platform/headless/HeadlessHost.h"
#include "ports/SimulatorLink.h"
#include "tests/support/TempFolder.h"

namespace corvane::testing {

// A canvas that keeps only its size (the program's logic under test draws
// nothing that these tests look at).
class SizedCanvas final : public forms::Canvas {
  public:
    SizedCanvas(int w, int h) : w_(w), h_(h) {}
    int PixelWidth() const override { return w_; }
    int PixelHeight() const override { return h_; }
    void Resize(int w, int h) override {
        w_ = w;
        h_ = h;
    }
    int TwipsPerPixelX() const override { return 15; }
    int TwipsPerPixelY() const override { return 15; }
    void SetScaleMode(forms::ScaleMode m) override { mode_ = m; }
    forms::ScaleMode GetScaleMode() const override { return mode_; }
    void SetForeColor(forms::Rgb) override {}
    forms::Rgb ForeColor() const override { return {}; }
    void SetBackColor(forms::Rgb) override {}
    forms::Rgb BackColor() const override { return {}; }
    void SetFillColor(forms::Rgb) override {}
    forms::Rgb FillColor() const override { return {}; }
    void SetFillSolid(bool) override {}
    bool FillSolid() const override { return false; }
    void SetFontSize(double s) override { font_ = s; }
    double FontSize() const override { return font_; }
    void SetFontBold(bool) override {}
    bool FontBold() const override { return false; }
    void Cls() override {}
    void Line(double, double, double, double) override {}
    void Box(double, double, double, double) override {}
    void Circle(double, double, double) override {}
    void Print(std::string_view) override {}
    void NewLine() override {}
    double TextWidth(std::string_view t) const override { return 6.0 * double(t.size()); }
    double TextHeight(std::string_view) const override { return 12; }
    double CurrentX() const override { return 0; }
    double CurrentY() const override { return 0; }
    void SetCurrentX(double) override {}
    void SetCurrentY(double) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void FillRect(int, int, int, int, forms::Rgb) override {}
    void FloodFill(int, int, forms::Rgb) override {}
    void CopyFrom(const forms::Canvas&, int, int) override {}
    forms::Rgb PixelAt(int, int) const override { return {}; }

  private:
    int w_;
    int h_;
    forms::ScaleMode mode_ = forms::ScaleMode::Twips;
    double font_ = 8.25;
};

// The simulator's link as the program sees it: the class is found while the
// simulated desktop shows an FS98MAIN window; a batch is answered while the
// link is open, the window is there and the simulator has loaded its module.
class FakeLink final : public flightstate::SimulatorLink {
  public:
    explicit FakeLink(headless::HeadlessHost& host) : host_(host) {}

    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(65536);
    bool moduleLoaded = true;
    bool open = false;
    int exchanges = 0;                  // batches answered
    std::vector<int> pauseWrites;       // values written to the pause byte, in order
    std::vector<double> exchangeTimes;  // virtual time of each answered batch
    // Thrown by the first call, as the library loader does for a missing library.
    std::string loadError;

    template <typename T>
    void Put(std::uint32_t offset, T value) {
        std::memcpy(image.data() + offset, &value, sizeof value);
    }
    void PlaceAircraft(double latitudeDeg, double longitudeDeg) {
        const double twoTo32 = 4294967296.0;
        Put<std::int64_t>(0x0560, std::int64_t(latitudeDeg * 5000875.0 / 45.0 * twoTo32));
        Put<std::int64_t>(0x0568, std::int64_t(longitudeDeg * 1073741824.0 / 90.0 * twoTo32));
    }
    std::uint8_t Paused() const { return image[0x0264]; }

    std::int32_t fsworking() override {
        Loaded();
        host_.Note("fsworking");
        return host_.FindWindowByClass("FS98MAIN") ? flightstate::kFs98 : flightstate::kNoSimulator;
    }
    std::int32_t startit() override {
        Loaded();
        host_.Note("startit");
        if (open || !host_.FindWindowByClass("FS98MAIN"))
            return 0;
        open = true;
        return 1;
    }
    std::int32_t stopit() override {
        open = false;
        return 0;
    }
    std::int32_t readDWORD(std::int32_t o, void* d) override {
        startmessage();
        rawreadDWORD(o, d);
        return sendmessage();
    }
    std::int32_t writeDWORD(std::int32_t o, const void* s) override {
        startmessage();
        rawwriteDWORD(o, s);
        return sendmessage();
    }
    std::int32_t readxbytes(std::int32_t n, std::int32_t o, void* d) override {
        startmessage();
        rawreadxbytes(n, o, d);
        return sendmessage();
    }
    std::int32_t writexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        startmessage();
        rawwritexbytes(n, o, s);
        return sendmessage();
    }
    std::int32_t startmessage() override {
        batch_.clear();
        return open ? 1 : 0;
    }
    std::int32_t rawreadxbytes(std::int32_t n, std::int32_t o, void* d) override {
        batch_.push_back({false, o, n, d, {}});
        return 1;
    }
    std::int32_t rawwritexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        const auto* bytes = static_cast<const std::uint8_t*>(s);
        batch_.push_back({true, o, n, nullptr, std::vector<std::uint8_t>(bytes, bytes + n)});
        return 1;
    }
    std::int32_t rawreadDWORD(std::int32_t o, void* d) override { return rawreadxbytes(4, o, d); }
    std::int32_t rawwriteDWORD(std::int32_t o, const void* s) override {
        return rawwritexbytes(4, o, s);
    }
    std::int32_t sendmessage() override {
        if (!open || !moduleLoaded || !host_.FindWindowByClass("FS98MAIN")) {
            batch_.clear();
            return 0;
        }
        for (const Request& r : batch_) {
            if (r.write) {
                std::memcpy(image.data() + r.offset, r.data.data(), std::size_t(r.size));
                if (r.offset == 0x0264)
                    pauseWrites.push_back(r.data[0]);
            } else {
                std::memcpy(r.destination, image.data() + r.offset, std::size_t(r.size));
            }
        }
        batch_.clear();
        ++exchanges;
        exchangeTimes.push_back(host_.Now());
        host_.Note("exchange");
        return 1;
    }

  private:
    struct Request {
        bool write;
        std::int32_t offset;
        std::int32_t size;
        void* destination;
        std::vector<std::uint8_t> data;
    };
    void Loaded() {
        if (!loadError.empty())
            throw std::runtime_error(loadError);
    }
    headless::HeadlessHost& host_;
    std::vector<Request> batch_;
};

// The simulator as the simulated desktop shows it: its folder, program and
// module, its registry entry, and what starting and closing it do.
struct SimulatedSimulator {
    SimulatedSimulator(headless::HeadlessHost& h, FakeLink& l) : host(h), link(l) {}

    headless::HeadlessHost& host;
    FakeLink& link;
    std::string folder = "/sims/FS98/";
    std::string program = "FLTSIM98.EXE";
    double windowDelay = 2.0;  // seconds from start to window
    double closeDelay = 1.0;   // seconds from close request to gone
    bool asksBeforeClosing = false;
    bool startFails = false;
    bool neverShowsWindow = false;
    host::WindowId window = 0;
    int starts = 0;
    host::Rect rect{0, 0, 800, 600};

    std::string ExePath() const { return folder + program; }
    std::string ModulePath() const { return folder + "modules/FS6IPC.dll"; }

    void InstallRegistry() {
        host.SetRegistryString(host::RegistryRoot::LocalMachine,
                               std::string(startup::kSimulatorKey),
                               std::string(startup::kSimulatorValue), ExePath() + ",1");
    }
    void InstallFiles(bool withModule) {
        host.AddFile(ExePath());
        host.AddFolder(folder + "modules");
        if (withModule)
            host.AddFile(ModulePath());
    }
    // The simulator's window appears now; it loads its module if it is there.
    void ShowWindow() {
        window = host.AddWindow(std::string(startup::kSimulatorTitle), "FS98MAIN", rect);
        link.moduleLoaded = host.HasFile(ModulePath());
        host.Window(window)->onCloseRequest = [this] {
            if (asksBeforeClosing)
                return;
            const host::WindowId closing = window;
            host.After(closeDelay, "simulator closes",
                       [this, closing] { host.RemoveWindow(closing); });
        };
    }
    bool Start(const std::string& path, const std::vector<std::string>&) {
        if (startFails || path != ExePath() || !host.HasFile(path))
            return false;
        ++starts;
        if (!neverShowsWindow)
            host.After(windowDelay, "simulator window", [this] { ShowWindow(); });
        return true;
    }
};

// The program with a simulator that runs, has its module and a registry
// entry, and an aircraft placed off the zero lines: the ordinary start.
class ProgramTest : public ::testing::Test {
  protected:
    ProgramTest() {
        navdata::SaveAirportDatabase(navdata::AirportDatabase{}, data.Path() + "airdata.tri");
        navdata::SaveCoastFile(navdata::CoastFileContents{}, data.Path() + "COAST2.int");
        host.AddFile(data.Path() + "FS6IPC.dll");
        host.SetProgramStarter([this](const std::string& path, const std::vector<std::string>& a) {
            return sim.Start(path, a);
        });
        link.PlaceAircraft(51.4775, -0.4614);
        for (forms::Picture* picture :
             {&p.forms.Form1.Picture1, &p.forms.Form1.Picture2, &p.forms.Form1.picstore,
              &p.forms.Form2.picmap, &p.forms.Form2.surface, &p.forms.Form6.Picture1}) {
            picture->canvas = std::make_unique<SizedCanvas>(1, 1);
        }
        // The hosts give the program's windowed controls window handles.
        p.forms.Form1.windowHandle = 0x100;
        p.forms.Form1.Picture1.windowHandle = 0x101;
        p.forms.Form1.VScroll1.windowHandle = 0x102;
        p.forms.Form2.foundlist.windowHandle = 0x201;
        p.forms.Form3.TxtAirport.windowHandle = 0x301;
    }

    // The simulator runs, with its module and its registry entry.
    void SimulatorRuns() {
        sim.InstallRegistry();
        sim.InstallFiles(true);
        sim.ShowWindow();
    }
    void Load() { startup::Form1_Load(p, data.Path()); }
    bool Running() const {
        return !host.Ended() && p.Form5Timer1 && p.Form5Timer1->Enabled() && p.forms.Form1.visible;
    }
    std::size_t CountLog(const std::string& what) const {
        std::size_t n = 0;
        for (const auto& e : host.Log())
            n += e.what == what;
        return n;
    }

    TempFolder data;
    headless::HeadlessHost host;
    FakeLink link{host};
    Program p{host, link};
    SimulatedSimulator sim{host, link};
};

}  // namespace corvane::testing

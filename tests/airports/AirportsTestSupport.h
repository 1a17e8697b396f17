// SPDX-License-Identifier: MIT
//
// What the airport window tests share: a host and a link that record what the
// program asks of them, a canvas that records its drawing, and small airport
// databases built record by record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/startup/AirportHandlers.h"
#include "app/startup/Program.h"
#include "navdata/AirportDatabase.h"
#include "platform/canvas/CanvasSettings.h"
#include "ports/Host.h"
#include "tests/support/ExchangedReadings.h"
#include "tests/support/HostStub.h"
#include "tests/support/LinkStub.h"
#include "tests/support/ProgramData.h"

namespace corvane::testing {

// Timers start switched on here, as the main window's are while it shows:
// the airport windows switch them off and on.
class FakeTimer : public StubTimer {
  public:
    FakeTimer() : StubTimer(0, true) {}
};

class FakeHost : public HostStub {
  public:
    std::vector<host::WindowId> focusCalls;
    std::vector<host::WindowId> updateCalls;

    // The clock moves on only while events are let run.
    double TimeOfDay() override { return now_; }
    std::unique_ptr<host::Timer> CreateTimer(int, std::function<void()>) override {
        return std::make_unique<FakeTimer>();
    }
    void DoEvents() override { now_ += 0.05; }
    void SetFocus(host::WindowId window) override { focusCalls.push_back(window); }
    void UpdateWindow(host::WindowId window) override { updateCalls.push_back(window); }

  private:
    double now_ = 36000;
};

// A link that answers every call with success.
class FakeLink : public ConstantLink {
  public:
    FakeLink() : ConstantLink(1) {}
};

// A canvas that keeps what was drawn on it. Text is 90 twips a character
// (scaled with the font size against 8.25 points) and 240 twips high.
class RecordingCanvas : public canvas::CanvasSettings {
  public:
    struct LineCall {
        double x1, y1, x2, y2;
        forms::Rgb colour;
    };
    struct BoxCall {
        double x1, y1, x2, y2;
        forms::Rgb fore;
        forms::Rgb fill;
        bool solid;
    };
    struct PrintCall {
        std::string text;
        double x, y;
        forms::Rgb fore;
        bool bold;
        double fontSize;
    };
    struct FillCall {
        int x, y;
        forms::Rgb boundary;
        forms::Rgb fill;
        forms::ScaleMode mode;
    };
    std::vector<LineCall> lines;
    std::vector<BoxCall> boxes;
    std::vector<PrintCall> prints;
    std::vector<FillCall> fills;
    int clsCount = 0;

    RecordingCanvas(int pixelWidth, int pixelHeight) : CanvasSettings(pixelWidth, pixelHeight) {}

    void Forget() {
        lines.clear();
        boxes.clear();
        prints.clear();
        fills.clear();
        clsCount = 0;
    }

    void Cls() override {
        ++clsCount;
        currentX_ = currentY_ = 0;
    }
    void Line(double x1, double y1, double x2, double y2) override {
        lines.push_back({x1, y1, x2, y2, foreColor_});
        currentX_ = x2;
        currentY_ = y2;
    }
    void Box(double x1, double y1, double x2, double y2) override {
        boxes.push_back({x1, y1, x2, y2, foreColor_, fillColor_, fillSolid_});
    }
    void Circle(double, double, double) override {}
    void Print(std::string_view text) override {
        prints.push_back(
            {std::string(text), currentX_, currentY_, foreColor_, fontBold_, fontSize_});
        currentX_ += TextWidth(text);
    }
    void NewLine() override {
        currentX_ = 0;
        currentY_ += TextHeight("Ag");
    }
    double TextWidth(std::string_view text) const override {
        return Units(90.0 * double(text.size()) * fontSize_ / 8.25);
    }
    double TextHeight(std::string_view) const override { return Units(240.0 * fontSize_ / 8.25); }

    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void FillRect(int, int, int, int, forms::Rgb) override {}
    void FloodFill(int x, int y, forms::Rgb boundary) override {
        fills.push_back({x, y, boundary, fillColor_, scaleMode_});
    }
    void CopyFrom(const forms::Canvas&, int, int) override {}
    forms::Rgb PixelAt(int, int) const override { return backColor_; }

  private:
    double Units(double twips) const {
        return scaleMode_ == forms::ScaleMode::Twips ? twips : twips / 15;
    }
};

// Appends a record to a database list (records 1..count with the empty
// element count + 1 kept at the end) and returns its record number.
template <typename Record>
int AddRecord(std::vector<Record>& list, std::int16_t& count, Record record) {
    list.insert(list.end() - 1, std::move(record));
    return ++count;
}

inline int AddAirport(navdata::AirportDatabase& db, std::string name, double lat, double lon) {
    navdata::AirportRecord airport;
    airport.name = std::move(name);
    airport.latitude = lat;
    airport.longitude = lon;
    return AddRecord(db.Airports, db.AirportCount, airport);
}

inline int AddRunway(navdata::AirportDatabase& db, int airportNumber, int codeA, int codeB,
                     double latA, double lonA, double latB, double lonB) {
    navdata::RunwayRecord runway;
    runway.airportNumber = static_cast<std::int16_t>(airportNumber);
    runway.codeA = static_cast<std::uint8_t>(codeA);
    runway.codeB = static_cast<std::uint8_t>(codeB);
    runway.latitudeA = latA;
    runway.longitudeA = lonA;
    runway.latitudeB = latB;
    runway.longitudeB = lonB;
    runway.lengthFeet = 3650;
    runway.widthFeet = 150;
    runway.surface = 2;
    return AddRecord(db.Runways, db.RunwayCount, runway);
}

// A program over the fake host and link, linked to the simulator, with the
// main and map timers running and canvases on the airport window's plan and
// surface (the plan 6000 x 6000 twips as designed, 400 x 400 pixels).
struct TestProgram {
    FakeHost host;
    FakeLink link;
    Program p{host, link};
    // The program's airport database, which the tests build record by record.
    navdata::AirportDatabase& db = OwnAirports(p);
    RecordingCanvas* plan = nullptr;
    RecordingCanvas* surface = nullptr;

    TestProgram() {
        p.flightState.simulatorkind = flightstate::kFs98;
        p.Form1Timer1 = std::make_unique<FakeTimer>();
        p.Form1Timer3 = std::make_unique<FakeTimer>();
        p.forms.Form1.visible = true;
        p.SimulatorWindowHandle = 0x5150;
        auto planCanvas = std::make_unique<RecordingCanvas>(400, 400);
        plan = planCanvas.get();
        p.forms.Form2.picmap.canvas = std::move(planCanvas);
        auto surfaceCanvas = std::make_unique<RecordingCanvas>(700, 620);
        surface = surfaceCanvas.get();
        p.forms.Form2.surface.canvas = std::move(surfaceCanvas);
    }
};

// The airport windows' handlers as the tests call them: the tests write the
// record's wire values (the pause byte), so the readings are decoded first, as
// the exchange would have.
inline void mnushowplace_Click(Program& p) {
    DecodeAsExchanged(p.flightState);
    startup::mnushowplace_Click(p);
}
inline void cmdOK_Click(Program& p) {
    DecodeAsExchanged(p.flightState);
    startup::cmdOK_Click(p);
}
inline void foundlist_Click(Program& p, int index) {
    DecodeAsExchanged(p.flightState);
    startup::foundlist_Click(p, index);
}

}  // namespace corvane::testing

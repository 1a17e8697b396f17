// SPDX-License-Identifier: MIT
//
// The stand-in simulator as a library: the variable space, the flight model
// behind it, the terrain, the magnetic variation, the wind and the
// simulator's own clock. The process (or the harness, in the same process and
// the same virtual time as the program) constructs one, places the aircraft
// with one of the Start calls, serves the IPC module from Variables() and
// calls Advance() with the time that passed; the model integrates in fixed
// steps of its own (stepS), faster than real time by the rate factor.
//
// Step order: read the inputs from the variable space, integrate one step,
// publish the state into the space. Publishing writes only the simulator's
// outputs, so the program's writes between steps are never lost. Not
// thread-safe: serve the IPC module and call Advance() from one thread.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/model/SimulatorBackend.h"
#include "sim/physics/AircraftConfig.h"
#include "sim/physics/FlightModel.h"
#include "sim/physics/GroundContactDetector.h"
#include "sim/physics/MagneticModel.h"
#include "sim/physics/SimEvent.h"
#include "sim/physics/Terrain.h"
#include "sim/physics/Wind.h"
#include "sim/trace/TraceRecord.h"
#include "sim/trace/TraceSink.h"
#include "sim/variables/VariableSpace.h"

namespace corvane::sim {

struct SimulatorOptions {
    AircraftConfig aircraft;
    double stepS = 0.02;  // fixed integration step of the simulator's clock
    // While the aircraft flies more than cruiseStepAboveM above the ground,
    // the simulator steps only once cruiseStepS is pending (a reader that
    // comes sooner sees the last step, as with a slower frame rate), and
    // flies the pending time in the fewest equal steps of at most
    // cruiseStepS (never shorter than stepS); zero keeps stepS at every
    // height.
    double cruiseStepS = 0.0;
    double cruiseStepAboveM = 609.6;
    double rate = 1.0;          // simulated seconds per host second
    double windFromDeg = 0.0;   // true direction the wind blows from
    double windSpeedKt = 0.0;   // at the surface (see sim/physics/Wind.h)
    bool windGradient = false;  // the wind grows with the height above the ground
    TurbulenceLevel turbulence = TurbulenceLevel::None;
    std::uint64_t turbulenceSeed = 1;
    bool crashDetection = true;  // initial crash setting (0x0830)
    // When set, this variation everywhere instead of the dipole model.
    std::optional<double> fixedMagneticVariationDeg;
};

// A runway by its two ends; the aircraft lands at (or starts from) the
// threshold and rolls towards the far end.
struct RunwayStart {
    double thresholdLatitudeDeg = 0.0;
    double thresholdLongitudeDeg = 0.0;
    double farEndLatitudeDeg = 0.0;
    double farEndLongitudeDeg = 0.0;
};

struct FinalStart {
    RunwayStart runway;
    double distanceNm = 5.0;    // from the threshold, on the extended centre line
    double glidePathDeg = 3.0;  // height above the threshold = distance * tan(path)
    double iasKt = 130.0;
    double flaps = 0.5;
    bool gearDown = true;
};

struct AirStart {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 5000.0;
    double headingTrueDeg = 0.0;
    double iasKt = 200.0;
    double flaps = 0.0;
    bool gearDown = false;
    double climbFpm = 0.0;  // trimmed on this flight path (0: level)
};

class Simulator final : public SimulatorBackend {
  public:
    // terrain may be null (sea level everywhere); it must outlive the simulator.
    explicit Simulator(const SimulatorOptions& options = SimulatorOptions{},
                       const Terrain* terrain = nullptr);

    // The space as a reader sees it: the state after the last step.
    VariableSpace& Variables() override {
        PublishPending();
        return space_;
    }
    const VariableSpace& Variables() const override {
        PublishPending();
        return space_;
    }

    // Starts. Each one places the aircraft, resets the autopilot switches and
    // targets, brakes and control inputs in the variable space, keeps the
    // pause and crash settings, clears a crash and records a Start event.
    void StartOnGround(double latitudeDeg, double longitudeDeg, double headingTrueDeg);
    void StartOnRunway(const RunwayStart& runway);
    void StartOnFinal(const FinalStart& final);
    void StartInAir(const AirStart& air);

    // Runs as many fixed steps as hostSeconds * rate covers (the remainder is
    // kept for the next call). Returns the number of steps run. While paused
    // the time is consumed without moving anything.
    int Advance(double hostSeconds) override;
    // One fixed step.
    void Step();

    // Rate factor (> 0, finite); returns false and keeps the old rate otherwise.
    bool SetRate(double rate);
    double Rate() const override { return rate_; }
    double StepS() const override { return stepS_; }
    // The surface wind; the gradient and turbulence settings are kept.
    void SetWind(double fromDeg, double speedKt);
    // Every setting of the wind. The turbulence starts again from its seed.
    void SetWind(const WindSettings& settings);
    const WindField& Wind() const { return wind_; }
    // The air's velocity the aircraft flew in during the last step.
    const WindVector& WindAtAircraft() const { return windNow_; }
    // Moves the aircraft over the ground (see FlightModel::Shift).
    void ShiftAircraft(double northM, double eastM);

    double TimeS() const override { return timeS_; }
    std::uint64_t StepCount() const { return stepCount_; }

    const AircraftState& State() const override { return model_.State(); }
    const FlightModel& Model() const { return model_; }
    const TraceRecord& LastTrace() const override { return trace_; }
    const std::vector<SimEvent>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }
    int CrashCount() const override { return crashCount_; }
    int TouchdownCount() const override { return touchdownCount_; }

    // Receives one record per step and every event; null to stop.
    void SetTraceSink(TraceSink* sink) override { sink_ = sink; }
    double GearHeightM() const override { return options_.aircraft.gearHeightM; }
    const AircraftData& Aircraft() const override { return aircraftData_; }

    double MagneticVariationAt(double latitudeDeg, double longitudeDeg) const;

  private:
    // One step of stepS seconds without writing the variable space; false
    // while paused.
    bool StepModel(double stepS);
    double NextStepS() const;
    // The aircraft's state written into the variable space.
    void PublishState();
    void PublishPending() const;
    FlightModel::Environment EnvironmentHere() const;
    // Before a start: the mean wind (and the first gust) where the aircraft is placed.
    FlightModel::Environment EnvironmentForStart(double latitudeDeg, double longitudeDeg,
                                                 double altitudeM);
    void ResetInputs(double throttleLever, double flaps, bool gearDown, double headingTrueDeg);
    void AfterStart();
    void RecordEvent(SimEventKind kind, double sinkFpm = 0.0,
                     CrashReason reason = CrashReason::None);
    void FillTrace(std::uint32_t eventMask);

    SimulatorOptions options_;
    AircraftData aircraftData_;
    const Terrain* terrain_;
    VariableSpace space_;
    FlightModel model_;
    GroundContactDetector contact_;
    double stepS_;
    double cruiseStepS_;
    double rate_;
    WindField wind_;
    WindVector windNow_;
    double pendingS_ = 0.0;
    // Steps moved the aircraft since the space was last written: it is
    // written when next read (a read comes at most once a program cycle,
    // steps many times).
    mutable bool publishPending_ = false;
    double timeS_ = 0.0;
    std::uint64_t stepCount_ = 0;
    bool paused_ = false;
    int crashCount_ = 0;
    int touchdownCount_ = 0;
    std::vector<SimEvent> events_;
    TraceRecord trace_;
    MagneticVariationCells variation_;
    ControlInputs lastInputs_;
    // The space's change count when lastInputs_ was read from it.
    std::uint64_t inputsChangeCount_ = ~std::uint64_t{0};
    TraceSink* sink_ = nullptr;
};

}  // namespace corvane::sim

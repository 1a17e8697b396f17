// SPDX-License-Identifier: MIT
#include "tools/harness/FlightRun.h"

namespace corvane::harness {

namespace units = sim::units;

std::string FlightRun::Fixed(double x, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    return text;
}

void FlightRun::Fly() {
    dest_ = sc_.resolved ? *sc_.resolved : ResolveDestination(db_, sc_);
    runway_ = RunwayFrame(db_, dest_.runwayChoice);
    ReportDestination(dest_, runway_, sc_, r_);

    SetUpSimulator();
    SetUpHost();
    SetUpProgram();

    startVirtual_ = host_.Now();
    simClock_ = host_.Now();
    startup::Form1_Load(p_, options_.dataFolder);
    for (const headless::RecordedMessageBox& box : host_.MessageBoxes())
        r_.messageBoxes.push_back(box.title + ": " + box.text);
    if (host_.Ended() && !sim_->Backend().Failure().empty())
        throw ScenarioError(sim_->Backend().Failure());
    if (host_.Ended())
        throw ScenarioError(
            "the program ended during start-up" +
            (r_.messageBoxes.empty() ? std::string() : " (" + r_.messageBoxes.back() + ")"));
    SchedulePilot(host_.Now());
    Loop();
    Finish();
}

void FlightRun::SetUpSimulator() {
    sim::SimulatorOptions options;
    if (!options_.fineSteps) {
        // High above the ground the simulator steps once a main cycle
        // (150 ms) instead of seven or eight times: the same flight within
        // the integration's own error, for a seventh of the steps there. The
        // main cycle's reads come when a step is due, so it sees the aircraft
        // as fresh as before; the map's reads between them see the last step.
        // The last 500 ft (the stabilised gate and below), the flare and the
        // wheels keep 20 ms.
        options.cruiseStepS = kCruiseStepS;
        options.cruiseStepAboveM = kCruiseStepAboveFt * units::kMetresPerFoot;
    }
    if (options_.flightGear) {
        if (!sc_.aircraft.empty() && sc_.aircraft != "c172p")
            throw ScenarioError("FlightGear flies its Cessna 172P, not the stand-in's \"" +
                                sc_.aircraft + "\"");
    } else if (sc_.aircraft == "c172p") {
        throw ScenarioError("the Cessna 172P flies only in FlightGear (--simulator flightgear)");
    } else if (!sc_.aircraft.empty()) {
        options.aircraft = *sim::StandInAircraft(sc_.aircraft);
    }
    options.windFromDeg = sc_.windFromDeg;
    options.windSpeedKt = sc_.windSpeedKt;
    options.windGradient = sc_.windGradient;
    options.turbulence = sc_.turbulence;
    options.turbulenceSeed = sc_.turbulenceSeed;
    options.crashDetection = sc_.crashDetection;
    sim_ = std::make_unique<sim::InProcessSimulator>(options, terrain_);
    if (!sim_->IsOpen())
        throw ScenarioError("the simulator's window could not be published: " + sim_->Error());
    if (options_.flightGear)
        StartFlightGear();
    else
        PlaceAircraft(sim_->Sim(), db_, sc_, dest_);
    recorder_ = std::make_unique<FlightRecorder>(sim_->Backend());
    sim_->Backend().SetTraceSink(recorder_.get());
    r_.aircraft = FiguresOf(sim_->Backend().Aircraft());

    if (!options_.commandsFolder.empty()) {
        const std::string path = options_.commandsFolder + "/" + sc_.name + ".csv";
        commandsFile_ = std::fopen(path.c_str(), "w");
        if (!commandsFile_)
            throw ScenarioError(path + ": cannot be written");
        recorder_->WriteCommands(commandsFile_);
    }
    if (!options_.traceFolder.empty()) {
        const std::string path = options_.traceFolder + "/" + sc_.name + ".csv";
        traceFile_ = std::fopen(path.c_str(), "w");
        if (!traceFile_)
            throw ScenarioError(path + ": cannot be written");
        recorder_->WriteTrace(traceFile_, options_.traceEverySteps,
                              "route_stage,landing_stage,label6", [this] {
                                  return std::to_string(p_.plan.RouteStage) + "," +
                                         std::to_string(p_.plan.LandingStage) + ",\"" +
                                         p_.flyThereStatus.stage + "\"";
                              });
    }
}

void FlightRun::SetUpHost() {
    // The simulator's window is the in-process one; its folder, program and
    // IPC module are where the registry says.
    host_.UsePosixDesktop(true);
    host_.SetRegistryString(host::RegistryRoot::LocalMachine, std::string(startup::kSimulatorKey),
                            std::string(startup::kSimulatorValue),
                            std::string(kSimulatorFolder) + kSimulatorProgram + ",1");
    host_.AddFile(std::string(kSimulatorFolder) + kSimulatorProgram);
    host_.AddFile(std::string(kSimulatorFolder) + std::string(startup::kModulesFolder) + "/" +
                  std::string(startup::kModuleFile));

    link_.SetBeforeBatch([this] {
        CatchUp();
        Watch();
    });
    host_.SetEventHook([this] {
        CatchUp();
        Watch();
    });
    stepper_ = host_.CreateTimer(kStepTimerMs, [this] {
        CatchUp();
        Watch();
        SaveFrame();
    });
    stepper_->SetEnabled(true);
}

void FlightRun::SetUpProgram() {
    const int tppx = host_.TwipsPerPixelX();
    const int tppy = host_.TwipsPerPixelY();
    auto make = [&](forms::Picture& picture, double widthTwips, double heightTwips) {
        const int w = std::max(1, static_cast<int>(std::lround(widthTwips / tppx)));
        const int h = std::max(1, static_cast<int>(std::lround(heightTwips / tppy)));
        if (options_.makeCanvas)
            picture.canvas = options_.makeCanvas(w, h, tppx, tppy);
        else
            picture.canvas = std::make_unique<BlankCanvas>(w, h, tppx, tppy);
    };
    // Every flight's program reads the same data files: parsed once, shared.
    p_.readAirportDatabase = [this](const std::string& path) {
        return navData_.AirportDatabase(path);
    };
    p_.readCoastlines = [this](const std::string& path) { return navData_.Coastlines(path); };
    p_.airportSearchIndexOf = [this](const navdata::AirportDatabase& db) {
        return navData_.SearchIndexOf(db);
    };

    forms::Form1Model& f1 = p_.forms.Form1;
    for (forms::Picture* map : {&f1.Picture1, &f1.Picture2, &f1.picstore}) {
        make(*map, map->width, map->height);
        map->canvas->SetBackColor(kMapBackground);
        map->canvas->Cls();
    }
    forms::Form2Model& f2 = p_.forms.Form2;
    make(f2.picmap, f2.picmap.width, f2.picmap.height);
    make(f2.surface, f2.surface.width > 0 ? f2.surface.width : f2.width,
         f2.surface.height > 0 ? f2.surface.height : f2.height);
    make(p_.forms.Form6.Picture1, p_.forms.Form6.Picture1.width, p_.forms.Form6.Picture1.height);

    // The windowed controls get window handles, as a window system gives them.
    f1.windowHandle = 0x100;
    f1.Picture1.windowHandle = 0x101;
    f1.VScroll1.windowHandle = 0x102;
    f2.windowHandle = 0x200;
    f2.foundlist.windowHandle = 0x201;
    p_.forms.Form3.windowHandle = 0x300;
    p_.forms.Form3.TxtAirport.windowHandle = 0x301;
}

void FlightRun::StartFlightGear() {
    if (sc_.disturbance)
        throw ScenarioError("a push sideways moves the stand-in's aircraft; FlightGear has none");
    // Without terrain under the runway FlightGear's wheels never touch: a
    // flight there cannot land, and is refused before FlightGear starts.
    std::string missing;
    if (!RunwayTerrainInstalled(flightGearTerrain_, RunwayStartOf(db_, dest_.runwayChoice),
                                &missing)) {
        std::string folders;
        for (const std::string& f : flightGearTerrain_.folders)
            folders += (folders.empty() ? "" : ", ") + f;
        std::string designator = r_.runwayDesignator;
        designator.erase(0, designator.find_first_not_of(' '));
        throw ScenarioError("FlightGear has no terrain at runway " + designator + " of " +
                            dest_.airportLine + ": " + missing +
                            " is in none of its scenery folders (" + folders +
                            "); install that scenery or name its folder with --fg-scenery");
    }
    desktop::FlightGearProcess::Options fg;
    fg.plan = FlightGearStartOf(db_, sc_, dest_, runway_.Designator());
    const std::string ownScenery = desktop::FlightGearProcess::DefaultInstalledRoot() + "/Scenery";
    for (const std::string& f : flightGearTerrain_.folders) {
        if (f != ownScenery)
            fg.plan.sceneryFolders.push_back(f);
    }
    fg.plan.speedUp = options_.flightGearSpeedUp;
    // The readings come once a frame of real time; at a speed-up each covers
    // more simulated time, so they come faster to keep the control loops' pace.
    fg.plan.rateHz = static_cast<int>(std::lround(30.0 * options_.flightGearSpeedUp));
    fg.plan.ownWindow = options_.flightGearWindow;
    if (!options_.flightGearLogFolder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(options_.flightGearLogFolder, ignored);
        fg.logPath = options_.flightGearLogFolder + "/fgfs-" + sc_.name + ".log";
    }
    flightGear_ = std::make_unique<desktop::FlightGearProcess>();
    std::string error;
    if (!flightGear_->Start(fg, &error))
        throw ScenarioError("FlightGear cannot be started: " + error);
    sim::flightgear::BackendOptions backend;
    backend.crashDetection = sc_.crashDetection;
    backend.rate = options_.flightGearSpeedUp;
    backend.logPath = flightGear_->LogPath();
    flightGearBackend_ =
        std::make_unique<sim::flightgear::FlightGearSimulator>(*flightGear_, backend);
    sim_->UseBackend(flightGearBackend_.get());

    // FlightGear loads its scenery and aircraft before it sends anything;
    // then it settles a few seconds before the program starts.
    const auto begin = std::chrono::steady_clock::now();
    auto waited = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    double last = 0.0;
    double startedAt = -1.0;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const double now = waited();
        sim_->Advance(now - last);
        last = now;
        if (!flightGearBackend_->Failure().empty())
            throw ScenarioError(flightGearBackend_->Failure());
        if (flightGearBackend_->Started() && startedAt < 0.0) {
            // FlightGear does not start trimmed: it waits paused (frozen)
            // for the program, as a pilot pauses a simulator before setting up.
            startedAt = now;
            flightGearBackend_->Variables().SetU16(sim::offsets::kPause, 1);
        }
        if (startedAt >= 0.0 && now - startedAt > kFlightGearSettleS)
            break;
    }
}

void FlightRun::Pace() {
    if (!options_.flightGear)
        return;
    // The program's clock runs as fast as FlightGear's: its main cycle then
    // comes as often in simulated time at any speed-up.
    const double ahead =
        (host_.Now() - paceVirtualStart_) -
        options_.flightGearSpeedUp *
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    if (ahead > 0.0)
        std::this_thread::sleep_for(std::chrono::duration<double>(ahead));
}

void FlightRun::CheckBackend() {
    const std::string failure = sim_->Backend().Failure();
    if (!failure.empty())
        throw ScenarioError(failure);
}

void FlightRun::CatchUp() {
    const double now = host_.Now();
    if (now > simClock_) {
        // FlightGear's backend counts real seconds (for its silence limits);
        // the host's clock runs at the speed-up.
        sim_->Advance(options_.flightGear ? (now - simClock_) / options_.flightGearSpeedUp
                                          : now - simClock_);
        simClock_ = now;
    }
}

void FlightRun::Disturb() {
    if (!sc_.disturbance || disturbed_)
        return;
    const int stage = p_.plan.LandingStage;
    if (stage < 2 || stage > 4)
        return;
    const sim::AircraftState& s = sim_->Backend().State();
    if (s.altitudeM * units::kFeetPerMetre - runway_.ElevationFt() >=
        sc_.disturbance->belowHeightFt)
        return;
    disturbed_ = true;
    const double right = (runway_.HeadingTrueDeg() + 90) * units::kDegToRad;
    const double m = sc_.disturbance->sidewaysM;
    sim_->Sim().ShiftAircraft(m * std::cos(right), m * std::sin(right));
    r_.stages.push_back({FlightTime(), "pushed " + Fixed(m, 0) + " m sideways"});
}

void FlightRun::Watch() {
    if (!flightStartSimS_)
        return;
    Disturb();
    const double t = FlightTime();
    if (p_.plan.RouteStage != lastRoute_) {
        lastRoute_ = p_.plan.RouteStage;
        r_.stages.push_back({t, "route " + std::to_string(lastRoute_)});
    }
    if (p_.plan.LandingStage != lastLanding_) {
        lastLanding_ = p_.plan.LandingStage;
        r_.stages.push_back({t, "landing " + std::to_string(lastLanding_)});
    }
    // The stage the fly-there status shows (Form4's Label6 shows it as it is).
    const std::string& stage = p_.flyThereStatus.stage;
    if (stage != lastStage_) {
        lastStage_ = stage;
        r_.stageTexts.push_back({t, stage});
    }
}

void FlightRun::SaveFrame() {
    if (options_.framesFolder.empty() || !options_.writeFrame)
        return;
    const double t = host_.Now() - startVirtual_;
    if (t < nextFrameS_)
        return;
    nextFrameS_ = t + options_.frameEveryS;
    const forms::Canvas* canvas = p_.forms.Form1.Picture1.canvas.get();
    if (!canvas)
        return;
    const std::string folder = options_.framesFolder + "/" + sc_.name;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    char name[64];
    std::snprintf(name, sizeof name, "/frame-%04d-t%05.0f.png", frameCount_++, t);
    if (!options_.writeFrame(*canvas, folder + name))
        Fail(folder + name + ": the map frame cannot be written");
}
bool FlightRun::HandedBack() const {
    return p_.plan.LandingStage == 0 && p_.plan.RouteStage == 0 && !p_.plan.GuidanceOn &&
           !sim_->Backend().LastTrace().apMaster;
}

void FlightRun::Loop() {
    const double pilotStart = host_.Now();
    wallStart_ = std::chrono::steady_clock::now();
    paceVirtualStart_ = host_.Now();
    for (;;) {
        host_.RunFor(options_.flightGear ? kRealTimeChunkS : kLoopChunkS);
        Pace();
        CatchUp();
        CheckBackend();
        if (!failure_.empty())
            throw ScenarioError(failure_);
        if (host_.Ended())
            throw ScenarioError("the program ended during the flight");
        if (!flightStartVirtual_) {
            if (host_.Now() - pilotStart > kFlightStartWaitS)
                throw ScenarioError("the flight never started");
            continue;
        }
        const double flightS = FlightTime();
        if (recorder_->Crashed()) {
            host_.RunFor(kCrashAftermathS);
            endDetail_ = "the simulator detected a crash (" + recorder_->CrashReason() + ")";
            return;
        }
        if (recorder_->Touchdown() && HandedBack()) {
            if (!handBackS_)
                handBackS_ = flightS;
            if (recorder_->Standing() || flightS - *handBackS_ > kSettleAfterHandBackS)
                return;
            continue;
        }
        if (recorder_->Touchdown() && recorder_->Standing() &&
            SimNow() - recorder_->StandingSinceS() > sc_.handBackWaitS) {
            timedOut_ = true;
            endDetail_ =
                "standing since " + Fixed(recorder_->StandingSinceS() - *flightStartSimS_, 0) +
                " s but no hand-back within " + Fixed(sc_.handBackWaitS, 0) + " s (landing stage " +
                std::to_string(p_.plan.LandingStage) + ", true airspeed " +
                Fixed(sim_->Backend().State().tasMps * units::kKnotsPerMps, 1) + " kt)";
            return;
        }
        // The limit counts the simulator's time; a simulator left paused
        // is given up on once as much virtual time and a margin have passed.
        const bool paused = flightS <= sc_.simTimeLimitS &&
                            host_.Now() - *flightStartVirtual_ > sc_.simTimeLimitS + kPausedMarginS;
        if (flightS > sc_.simTimeLimitS || paused) {
            timedOut_ = true;
            const RunwayPoint at = recorder_->Position();
            endDetail_ = std::string(paused ? "the simulator stayed paused; " : "") +
                         "time limit of " + Fixed(sc_.simTimeLimitS, 0) +
                         " s reached in route stage " + std::to_string(p_.plan.RouteStage) +
                         ", landing stage " + std::to_string(p_.plan.LandingStage) + ", " +
                         Fixed(std::hypot(at.alongFt * units::kMetresPerFoot, at.crossM) /
                                   units::kMetresPerNm,
                               1) +
                         " nm from the threshold";
            return;
        }
    }
}

void FlightRun::Finish() {
    const FlightRecorder& rec = *recorder_;
    r_.flightTimeS = FlightTime();
    r_.virtualTimeS = host_.Now() - startVirtual_;
    rec.FillReport(*flightStartSimS_, r_);
    r_.handedBack = handBackS_.has_value() && HandedBack();
    r_.handBackTimeS = handBackS_;
    for (std::size_t i = r_.messageBoxes.size(); i < host_.MessageBoxes().size(); ++i) {
        const headless::RecordedMessageBox& box = host_.MessageBoxes()[i];
        r_.messageBoxes.push_back(box.title + ": " + box.text);
    }

    DecideOutcome(r_, rec.LeftRunway(), endDetail_);
}

}  // namespace corvane::harness

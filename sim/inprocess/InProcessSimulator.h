// SPDX-License-Identifier: MIT
//
// The stand-in simulator inside the program's own process, for the headless
// harness: it owns a Simulator and its terrain, publishes an in-process window
// of class "FS98MAIN" titled "Microsoft Flight Simulator 98", and answers the
// link's message on that window with the IPC module's own code
// (ipc::HandleIpcMessage) against the simulator's variable space. The program's
// link finds the window and sends its batches exactly as it does to the
// fltsim98.exe process; the call reaches the handler directly on the caller's
// thread, so a batch is served at once and never waits for a step.
//
// Time is the caller's: nothing moves until Advance() is called, so the
// harness steps the simulator in the program's virtual time.
//
//     corvane::sim::InProcessSimulator sim(options, terrain);  // window published
//     sim.Sim().StartOnFinal(final);                            // place the aircraft
//     ... program's link: fsworking() == 2, batches served ...
//     sim.Advance(0.15);                                        // 150 ms of virtual time
//
// A close request to the window (the program's restart path) is counted and,
// by the close policy, either removes the window at the next Advance() (as a
// simulator that ends) or is refused (the simulator keeps running). Open()
// publishes the window again (a simulator started anew; the aircraft is not
// reset). SetModuleLoaded(false) makes the window answer 0 to every link
// message, as a simulator without modules/FS6IPC.dll.
//
// Single-threaded: the program's link, Advance() and the rest must be called
// from one thread (the simulator's model is not thread-safe).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/posix/Desktop.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Terrain.h"

namespace corvane::sim {

class InProcessSimulator {
  public:
    enum class ClosePolicy {
        Close,   // a close request removes the window at the next Advance()
        Refuse,  // a close request is counted and otherwise ignored
    };

    // Publishes the window at once (see IsOpen() and Error()). terrain may be
    // null (sea level everywhere); the simulator keeps it alive.
    explicit InProcessSimulator(const SimulatorOptions& options = SimulatorOptions{},
                                std::shared_ptr<const Terrain> terrain = nullptr);
    ~InProcessSimulator();
    InProcessSimulator(const InProcessSimulator&) = delete;
    InProcessSimulator& operator=(const InProcessSimulator&) = delete;

    // The simulator: starts, state, trace, events, rate, wind.
    Simulator& Sim() { return simulator_; }
    const Simulator& Sim() const { return simulator_; }

    // What flies behind the window: the simulator above unless another
    // backend (e.g. FlightGear) was given, which must outlive its use here.
    // Advance() and the link's batches go to it.
    void UseBackend(SimulatorBackend* backend) { backend_ = backend ? backend : &simulator_; }
    SimulatorBackend& Backend() { return *backend_; }
    const SimulatorBackend& Backend() const { return *backend_; }
    const Terrain* Ground() const { return terrain_.get(); }

    // Runs the simulator for `seconds` of the caller's time (times the rate),
    // in whole fixed steps; the remainder is kept for the next call. A
    // pending close request is acted on first; a closed simulator does not
    // move. Returns the number of steps run.
    int Advance(double seconds);

    // The window: published (the simulator runs) or not.
    bool IsOpen() const;
    const std::string& Error() const { return error_; }
    // Publishes the window again after a close; true when it is published.
    bool Open();
    // Removes the window at once (the simulator has ended).
    void Close();

    void SetClosePolicy(ClosePolicy policy) { closePolicy_ = policy; }
    ClosePolicy GetClosePolicy() const { return closePolicy_; }
    int CloseRequests() const { return closeRequests_; }

    // Without the module the window answers every link message with 0.
    void SetModuleLoaded(bool loaded) { moduleLoaded_ = loaded; }
    bool ModuleLoaded() const { return moduleLoaded_; }

    // Link messages answered with 1, and all link messages received.
    std::uint64_t BatchesServed() const { return batchesServed_; }
    std::uint64_t MessagesReceived() const { return messagesReceived_; }

    static constexpr const char* kClassName = "FS98MAIN";
    static constexpr const char* kTitle = "Microsoft Flight Simulator 98";

  private:
    std::uint32_t OnMessage(const desktop::Message& message);
    void OnCloseRequest();

    std::shared_ptr<const Terrain> terrain_;
    Simulator simulator_;
    SimulatorBackend* backend_ = &simulator_;
    std::unique_ptr<desktop::PublishedWindow> window_;
    std::string error_;
    ClosePolicy closePolicy_ = ClosePolicy::Close;
    bool closePending_ = false;
    int closeRequests_ = 0;
    bool moduleLoaded_ = true;
    std::uint64_t batchesServed_ = 0;
    std::uint64_t messagesReceived_ = 0;
};

}  // namespace corvane::sim

// SPDX-License-Identifier: MIT
//
// A FlightGear process for the stand-in: prepares what FlightGear reads (a
// data folder with the stand-in's protocol file, added to FlightGear's data
// path, and a home folder of its own), opens the two UDP streams on the loopback
// interface, starts FlightGear with its output in a log file, and stops it
// (its whole process group) when destroyed. Attaching instead uses a
// FlightGear the user started with the options GenericOptions() names.
//
// Several FlightGears may run at once (the harness's -j, or two users of one
// work folder): each claims a slot of the work folder, a lock held while it
// runs, and has that slot's home and data folders (slot 0: home/ and data/,
// slot n: home-n/ and data-n/) and a virtual screen of its own. FlightGear
// locks its home folder, and a second FlightGear on the same home hangs at
// its start.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sim/flightgear/Channel.h"
#include "sim/flightgear/Launch.h"

namespace corvane::desktop {

class FlightGearProcess final : public sim::flightgear::Channel {
  public:
    struct Options {
        sim::flightgear::LaunchPlan plan;  // ports and data folder are filled in here
        // FlightGear's installed data ($FG_ROOT, else Debian's folder).
        std::string installedRoot;
        // Where the data folder, the home folder and the log go (default
        // $XDG_CACHE_HOME/corvane/flightgear, else ~/.cache/corvane/flightgear).
        std::string workFolder;
        std::string logPath;  // default: fgfs.log (slot n: fgfs-n.log) in the work folder
        // Attach: FlightGear already runs, sending to readingsPort and
        // reading commandsPort; nothing is started or stopped.
        bool attach = false;
        // Told what the process notices on the way (a sender refused, the
        // sender taken as FlightGear's); may be empty.
        std::function<void(const std::string&)> notice;
    };

    FlightGearProcess() = default;
    ~FlightGearProcess() override;
    FlightGearProcess(const FlightGearProcess&) = delete;
    FlightGearProcess& operator=(const FlightGearProcess&) = delete;

    // Starts (or attaches). False with *error naming what is missing.
    bool Start(Options options, std::string* error);
    // Ends FlightGear (SIGTERM to its group, SIGKILL after a few seconds).
    void Stop();

    void Receive(std::vector<std::string>& lines) override;
    bool Send(std::string_view line) override;
    std::string ProcessFailure() override;

    const std::string& LogPath() const { return options_.logPath; }
    const std::vector<std::string>& Command() const { return command_; }
    // The slot this FlightGear runs in (-1 attached or not started).
    int Slot() const { return slot_; }
    const sim::flightgear::LaunchPlan& Plan() const { return options_.plan; }

    // The port FlightGear's readings come from, once its first datagram
    // has come (0 before).
    int SenderPort() const { return senderPort_; }
    // Datagrams dropped because another program sent them.
    std::uint64_t ForeignDatagrams() const { return foreign_; }

    static std::string DefaultInstalledRoot();
    static std::string DefaultWorkFolder();
    // Where the protocol file goes for a FlightGear the user starts:
    // $XDG_DATA_HOME/corvane/flightgear, else ~/.local/share/corvane/flightgear.
    static std::string UserDataFolder();
    // Writes Protocol/corvane.xml into folder (made when missing). False
    // with *error naming the file when it cannot be written.
    static bool WriteProtocolFile(const std::string& folder, std::string* error);

  private:
    bool ClaimSlot(std::string* error);
    bool PrepareFolders(std::string* error);
    bool OpenSockets(std::string* error);
    bool Spawn(std::string* error);
    bool FromFlightGear(std::uint32_t addressHost, std::uint16_t port);
    void Notice(const std::string& text) const;

    Options options_;
    std::vector<std::string> command_;
    int readings_ = -1;
    int commands_ = -1;
    pid_t pid_ = -1;
    int slot_ = -1;
    int slotLock_ = -1;
    std::string ended_;
    std::uint32_t senderAddress_ = 0;  // host order; 0 until FlightGear's first datagram
    int senderPort_ = 0;
    // Senders refused, by port, and when: looked at again after a while, in
    // case the port has since become FlightGear's.
    std::map<std::uint16_t, std::chrono::steady_clock::time_point> refused_;
    std::uint64_t foreign_ = 0;
    char buffer_[65536];
};

}  // namespace corvane::desktop

// SPDX-License-Identifier: MIT
//
// A fake FlightGear for the tests: it takes fgfs's command line, streams the
// readings of an aircraft gliding down at 500 ft/min over the two
// --generic=socket options' UDP ports, reads the controls sent back, and
// ends with status 3 after FAKE_FGFS_LIFETIME seconds (default 3). As
// FlightGear, it needs the streams' protocol file in Protocol/ of a --data
// folder or of $FG_ROOT, and ends with status 5 without it. With
// FAKE_FGFS_SILENT set it sends nothing; with FAKE_FGFS_LOADING=S it sends
// its first frame S seconds after its start, as FlightGear loads its
// scenery first; FAKE_FGFS_PIDFILE names a file for its process id. It prints what it saw on its
// standard output (which the stand-in sends to FlightGear's log).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "sim/flightgear/Protocol.h"

using namespace corvane::sim::flightgear;

namespace {

struct Stream {
    int hz = 30;
    int port = 0;
    std::string protocol;
};

// "--generic=socket,DIR,HZ,HOST,PORT,udp,NAME"
bool ParseGeneric(const std::string& arg, const char* direction, Stream* out) {
    const std::string prefix = std::string("--generic=socket,") + direction + ",";
    if (arg.rfind(prefix, 0) != 0)
        return false;
    int hz = 0;
    char host[64] = {};
    int port = 0;
    char protocol[64] = {};
    if (std::sscanf(arg.c_str() + prefix.size(), "%d,%63[^,],%d,udp,%63s", &hz, host, &port,
                    protocol) != 4)
        return false;
    out->hz = hz;
    out->port = port;
    out->protocol = protocol;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Stream out;
    Stream in;
    std::vector<std::string> dataPath;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        ParseGeneric(a, "out", &out);
        ParseGeneric(a, "in", &in);
        if (a.rfind("--data=", 0) == 0)
            dataPath.push_back(a.substr(7));
        std::printf("arg %s\n", a.c_str());
    }
    if (const char* root = std::getenv("FG_ROOT"))
        dataPath.push_back(root);
    for (const Stream* s : {&out, &in}) {
        bool found = false;
        for (const std::string& folder : dataPath)
            found = found ||
                    std::filesystem::is_regular_file(folder + "/Protocol/" + s->protocol + ".xml");
        if (!found) {
            std::printf("no protocol file Protocol/%s.xml on the data path\n", s->protocol.c_str());
            return 5;
        }
    }
    const char* home = std::getenv("FG_HOME");
    std::printf("home %s\n", home ? home : "(none)");
    const char* lifetimeText = std::getenv("FAKE_FGFS_LIFETIME");
    const double lifetime = lifetimeText ? std::atof(lifetimeText) : 3.0;
    const bool silent = std::getenv("FAKE_FGFS_SILENT") != nullptr;
    if (const char* pidFile = std::getenv("FAKE_FGFS_PIDFILE")) {
        if (std::FILE* f = std::fopen(pidFile, "w")) {
            std::fprintf(f, "%d\n", static_cast<int>(getpid()));
            std::fclose(f);
        }
    }
    if (const char* loading = std::getenv("FAKE_FGFS_LOADING"))
        std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(loading)));

    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(out.port));
    const int receiver = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = htons(static_cast<std::uint16_t>(in.port));
    if (bind(receiver, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        std::printf("cannot listen on port %d\n", in.port);
        return 4;
    }

    Readings r;
    r.fdmInitialized = true;
    r.latitudeDeg = 37.55;
    r.longitudeDeg = -122.2;
    r.altitudeFt = 3000.0;
    r.headingTrueDeg = 298.0;
    r.iasKt = 90.0;
    r.tasKt = 94.0;
    r.groundSpeedKt = 94.0;
    r.downFps = 500.0 / 60.0;
    r.alphaDeg = 3.0;
    r.magneticVariationDeg = 13.0;
    int commands = 0;
    int unreadable = 0;
    double lastThrottle = -1.0;
    const double dt = 1.0 / std::max(out.hz, 1);
    const int frames = static_cast<int>(lifetime / dt);
    char buffer[4096];
    for (int frame = 0; frame < frames; ++frame) {
        r.timeS = 1.0 + frame * dt;
        r.altitudeFt -= r.downFps * dt;
        if (!silent) {
            const std::string line = FormatReadings(r);
            sendto(sender, line.data(), line.size(), 0, reinterpret_cast<sockaddr*>(&to),
                   sizeof to);
        }
        for (;;) {
            const ssize_t n = recv(receiver, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            const auto c = ParseCommands(std::string(buffer, static_cast<std::size_t>(n)));
            if (c) {
                ++commands;
                lastThrottle = c->throttle;
            } else {
                ++unreadable;
            }
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(dt));
    }
    std::printf("commands received %d, unreadable %d, last throttle %.3f\n", commands, unreadable,
                lastThrottle);
    return 3;
}

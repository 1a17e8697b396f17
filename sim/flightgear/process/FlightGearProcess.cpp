// SPDX-License-Identifier: MIT
#include "sim/flightgear/process/FlightGearProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "sim/flightgear/Protocol.h"
#include "sim/flightgear/process/SocketOwner.h"

extern char** environ;

namespace corvane::desktop {

namespace fs = std::filesystem;

namespace {

std::string Errno(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// A UDP socket on 127.0.0.1 at port (0: any free one); -1 on failure.
int BoundSocket(int port, int* boundPort) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        close(fd);
        return -1;
    }
    *boundPort = ntohs(a.sin_port);
    return fd;
}

// Finds an executable on PATH (or the path itself when it has a slash).
bool OnPath(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t colon = dirs.find(':', start);
        const std::string dir = dirs.substr(start, colon - start);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return false;
}

}  // namespace

std::string FlightGearProcess::DefaultInstalledRoot() {
    const char* root = std::getenv("FG_ROOT");
    if (root && *root)
        return root;
    return "/usr/share/games/flightgear";
}

std::string FlightGearProcess::DefaultWorkFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache)
        return std::string(cache) + "/corvane/flightgear";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.cache/corvane/flightgear";
}

std::string FlightGearProcess::UserDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data)
        return std::string(data) + "/corvane/flightgear";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/corvane/flightgear";
}

bool FlightGearProcess::WriteProtocolFile(const std::string& folder, std::string* error) {
    std::error_code ec;
    const fs::path protocols = fs::path(folder) / "Protocol";
    fs::create_directories(protocols, ec);
    if (ec) {
        *error = protocols.string() + ": " + ec.message();
        return false;
    }
    const fs::path protocol = protocols / (std::string(sim::flightgear::kProtocolName) + ".xml");
    std::ofstream out(protocol);
    out << sim::flightgear::ProtocolFileText();
    out.close();
    if (!out) {
        *error = protocol.string() + ": cannot be written";
        return false;
    }
    return true;
}

FlightGearProcess::~FlightGearProcess() {
    Stop();
    if (readings_ >= 0)
        close(readings_);
    if (commands_ >= 0)
        close(commands_);
    if (slotLock_ >= 0)
        close(slotLock_);  // and the slot is free again
}

namespace {

// Slot 0 keeps the names of the folders before there were slots, so that
// their caches stay in use.
std::string SlotName(const char* name, int slot) {
    return slot == 0 ? std::string(name) : std::string(name) + "-" + std::to_string(slot);
}

constexpr int kSlots = 16;
// The first virtual screen a slot tries: far enough apart that two
// FlightGears starting at once do not pick the same free one.
constexpr int kFirstScreen = 100;
constexpr int kScreensPerSlot = 10;

}  // namespace

bool FlightGearProcess::ClaimSlot(std::string* error) {
    std::error_code ec;
    fs::create_directories(options_.workFolder, ec);
    fs::permissions(options_.workFolder, fs::perms::owner_all, ec);
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::string path = options_.workFolder + "/" + SlotName("slot", slot) + ".lock";
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            *error = Errno(path.c_str());
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            slot_ = slot;
            slotLock_ = fd;
            return true;
        }
        close(fd);
    }
    *error = "all " + std::to_string(kSlots) + " FlightGear slots of " + options_.workFolder +
             " are in use by other processes";
    return false;
}

bool FlightGearProcess::Start(Options options, std::string* error) {
    options_ = std::move(options);
    if (options_.installedRoot.empty())
        options_.installedRoot = DefaultInstalledRoot();
    if (options_.workFolder.empty())
        options_.workFolder = DefaultWorkFolder();
    if (!options_.attach && !ClaimSlot(error))
        return false;
    if (options_.logPath.empty())
        options_.logPath =
            options_.workFolder + "/" + SlotName("fgfs", std::max(slot_, 0)) + ".log";
    if (!OpenSockets(error))
        return false;
    if (options_.attach)
        return true;
    if (options_.plan.virtualScreen == 0)
        options_.plan.virtualScreen = kFirstScreen + kScreensPerSlot * slot_;
    // Debian installs FlightGear in /usr/games, which not every PATH holds.
    if (!OnPath(options_.plan.fgfs) && options_.plan.fgfs.find('/') == std::string::npos &&
        OnPath("/usr/games/" + options_.plan.fgfs)) {
        options_.plan.fgfs = "/usr/games/" + options_.plan.fgfs;
    }
    if (!OnPath(options_.plan.fgfs)) {
        *error = options_.plan.fgfs +
                 " (FlightGear) was not found; install the packages flightgear and "
                 "flightgear-data-base";
        return false;
    }
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    options_.plan.sessionBus = bus != nullptr && *bus != '\0';
    if (!options_.plan.ownWindow || !options_.plan.sessionBus) {
        for (const char* tool : {"xvfb-run", "dbus-run-session"}) {
            if (options_.plan.ownWindow && std::string(tool) == "xvfb-run")
                continue;
            if (!OnPath(tool)) {
                *error = std::string(tool) +
                         " was not found; FlightGear without a window needs the packages xvfb "
                         "and dbus";
                return false;
            }
        }
    }
    return PrepareFolders(error) && Spawn(error);
}

bool FlightGearProcess::OpenSockets(std::string* error) {
    sim::flightgear::LaunchPlan& plan = options_.plan;
    int port = 0;
    readings_ = BoundSocket(options_.attach ? plan.readingsPort : 0, &port);
    if (readings_ < 0) {
        *error = Errno(
            ("cannot listen for FlightGear on 127.0.0.1 port " + std::to_string(plan.readingsPort))
                .c_str());
        return false;
    }
    plan.readingsPort = port;
    if (!options_.attach) {
        // A free port for FlightGear to listen on: taken and given back.
        int free = -1;
        const int probe = BoundSocket(0, &free);
        if (probe < 0) {
            *error = Errno("cannot find a free UDP port");
            return false;
        }
        close(probe);
        plan.commandsPort = free;
    }
    commands_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(plan.commandsPort));
    if (commands_ < 0 || connect(commands_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        *error = Errno("cannot open the UDP socket for FlightGear's controls");
        return false;
    }
    return true;
}

bool FlightGearProcess::PrepareFolders(std::string* error) {
    std::error_code ec;
    const fs::path installed(options_.installedRoot);
    if (!fs::is_directory(installed / "Aircraft", ec)) {
        *error = "FlightGear's data folder " + options_.installedRoot +
                 " has no Aircraft folder; install the package flightgear-data-base (or set "
                 "FG_ROOT)";
        return false;
    }
    // FlightGear finds protocol files under Protocol/ of its data path; the
    // installed data is not ours to write, so ours goes in a folder of our
    // own that --data adds to the path.
    const fs::path work(options_.workFolder);
    const fs::path data = work / SlotName("data", slot_);
    fs::create_directories(data / "Protocol", ec);
    fs::create_directories(work / SlotName("home", slot_), ec);
    fs::permissions(work, fs::perms::owner_all, ec);
    if (ec) {
        *error = work.string() + ": " + ec.message();
        return false;
    }
    if (!WriteProtocolFile(data.string(), error))
        return false;
    options_.plan.dataFolder = data.string();
    return true;
}

bool FlightGearProcess::Spawn(std::string* error) {
    command_ = sim::flightgear::LaunchCommand(options_.plan);
    const int log = open(options_.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (log < 0) {
        *error = Errno(options_.logPath.c_str());
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, log, 1);
    posix_spawn_file_actions_adddup2(&actions, log, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A process group of its own, so that stopping it stops the virtual
    // screen and the D-Bus session with it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "FG_HOME=", 8) != 0 && std::strncmp(*e, "FG_ROOT=", 8) != 0)
            environment.emplace_back(*e);
    }
    environment.push_back("FG_HOME=" + options_.workFolder + "/" + SlotName("home", slot_));
    environment.push_back("FG_ROOT=" + options_.installedRoot);
    // A watcher in FlightGear's process group ends the group when this
    // process is gone, however it ended, so no FlightGear is left behind.
    std::vector<std::string> wrapped = {
        "/bin/sh", "-c",
        "p=$PPID; (while kill -0 \"$p\" 2>/dev/null; do sleep 1; done; kill -TERM 0) & "
        "exec \"$@\"",
        "sh"};
    wrapped.insert(wrapped.end(), command_.begin(), command_.end());
    std::vector<char*> argv;
    for (std::string& a : wrapped)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const int rc = posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(log);
    if (rc != 0) {
        pid_ = -1;
        *error = std::string("cannot start ") + argv[0] + ": " + std::strerror(rc);
        return false;
    }
    return true;
}

void FlightGearProcess::Stop() {
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            kill(-pid_, SIGKILL);  // whatever of the group is left
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

namespace {

// Datagrams taken in one call at most: FlightGear sends 30 a second (times
// its speed-up); a flood from another program must not hold the stand-in here.
constexpr int kDatagramsPerReceive = 256;
// A refused sender's port is looked at again after this long.
constexpr auto kRefusalHeld = std::chrono::seconds(2);
constexpr std::size_t kRefusalsKept = 64;

}  // namespace

void FlightGearProcess::Notice(const std::string& text) const {
    if (options_.notice)
        options_.notice(text);
}

bool FlightGearProcess::FromFlightGear(std::uint32_t addressHost, std::uint16_t port) {
    if (senderPort_ != 0)
        return addressHost == senderAddress_ && port == senderPort_;
    if (addressHost != INADDR_LOOPBACK)
        return false;
    const auto now = std::chrono::steady_clock::now();
    const auto held = refused_.find(port);
    if (held != refused_.end() && now - held->second < kRefusalHeld)
        return false;
    SenderRule rule;
    rule.uid = getuid();
    rule.session = options_.attach ? 0 : pid_;
    const std::string refusal = SenderRefusal(FindLoopbackSender(port), rule);
    if (!refusal.empty()) {
        if (held == refused_.end())
            Notice("ignoring datagrams from 127.0.0.1 port " + std::to_string(port) + ": " +
                   refusal);
        if (refused_.size() >= kRefusalsKept)
            refused_.clear();
        refused_[port] = now;
        return false;
    }
    senderAddress_ = addressHost;
    senderPort_ = port;
    refused_.clear();
    // From now on the kernel delivers FlightGear's datagrams only; those
    // already queued from others are still dropped here.
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(addressHost);
    peer.sin_port = htons(port);
    connect(readings_, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    Notice("FlightGear's readings come from 127.0.0.1 port " + std::to_string(port));
    return true;
}

void FlightGearProcess::Receive(std::vector<std::string>& lines) {
    if (readings_ < 0)
        return;
    for (int i = 0; i < kDatagramsPerReceive; ++i) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = recvfrom(readings_, buffer_, sizeof buffer_, 0,
                                   reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0)
            return;
        if (from.sin_family != AF_INET ||
            !FromFlightGear(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port))) {
            ++foreign_;
            continue;
        }
        // One datagram may hold one or more lines.
        std::string_view data(buffer_, static_cast<std::size_t>(n));
        while (!data.empty()) {
            const std::size_t end = data.find('\n');
            const std::string_view line = data.substr(0, end);
            if (!line.empty())
                lines.emplace_back(line);
            if (end == std::string_view::npos)
                break;
            data.remove_prefix(end + 1);
        }
    }
}

bool FlightGearProcess::Send(std::string_view line) {
    if (commands_ < 0)
        return false;
    const ssize_t n = send(commands_, line.data(), line.size(), MSG_DONTWAIT);
    // A refused datagram (FlightGear not listening yet) is not a failure.
    return n == static_cast<ssize_t>(line.size()) || errno == ECONNREFUSED || errno == EAGAIN;
}

std::string FlightGearProcess::ProcessFailure() {
    if (!ended_.empty() || pid_ <= 0)
        return ended_;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_)
        return {};
    kill(-pid_, SIGKILL);
    pid_ = -1;
    const std::string how = WIFEXITED(status) ? "with status " + std::to_string(WEXITSTATUS(status))
                                              : "on signal " + std::to_string(WTERMSIG(status));
    ended_ = "FlightGear ended " + how + "; its log is " + options_.logPath;
    return ended_;
}

}  // namespace corvane::desktop

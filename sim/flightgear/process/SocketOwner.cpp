// SPDX-License-Identifier: MIT
#include "sim/flightgear/process/SocketOwner.h"

#include <dirent.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace corvane::desktop {

namespace {

// The whitespace-separated fields of a line.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

template <typename Number>
bool Parse(std::string_view text, int base, Number* value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// 127.0.0.1 and 0.0.0.0 as the tables write them (the address's bytes in
// the machine's order: little-endian here), and their IPv6 forms.
bool CanSendFromLoopback(std::string_view address, bool ipv6) {
    if (!ipv6)
        return address == "0100007F" || address == "00000000";
    return address == "0000000000000000FFFF00000100007F" ||
           address == "0000000000000000FFFF000000000000" ||
           address == "00000000000000000000000000000000";
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The session id from /proc/PID/stat: the sixth field, counted after the
// program's name in brackets (which may itself hold spaces and brackets).
pid_t SessionOf(const std::string& stat) {
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return 0;
    const std::vector<std::string_view> f = Fields(std::string_view(stat).substr(close + 1));
    // state, ppid, pgrp, session
    pid_t session = 0;
    if (f.size() < 4 || !Parse(f[3], 10, &session))
        return 0;
    return session;
}

}  // namespace

std::vector<LoopbackUdpSocket> LoopbackUdpSockets(std::string_view table, bool ipv6) {
    std::vector<LoopbackUdpSocket> found;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        const std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        // "sl local rem st tx:rx tr:when retrnsmt uid timeout inode ..."
        const std::vector<std::string_view> f = Fields(line);
        if (f.size() < 10 || f[0].empty() || f[0].back() != ':')
            continue;
        const std::size_t colon = f[1].find(':');
        if (colon == std::string_view::npos)
            continue;
        LoopbackUdpSocket s;
        if (!CanSendFromLoopback(f[1].substr(0, colon), ipv6) ||
            !Parse(f[1].substr(colon + 1), 16, &s.localPort) || !Parse(f[7], 10, &s.uid) ||
            !Parse(f[9], 10, &s.inode))
            continue;
        found.push_back(s);
    }
    return found;
}

LoopbackSender FindLoopbackSender(std::uint16_t port) {
    LoopbackSender sender;
    for (const bool ipv6 : {false, true}) {
        const std::string table = ReadText(ipv6 ? "/proc/net/udp6" : "/proc/net/udp");
        for (const LoopbackUdpSocket& s : LoopbackUdpSockets(table, ipv6)) {
            if (s.localPort == port)
                sender.sockets.push_back(s);
        }
    }
    if (sender.sockets.empty())
        return sender;
    std::vector<std::string> links;
    for (const LoopbackUdpSocket& s : sender.sockets)
        links.push_back("socket:[" + std::to_string(s.inode) + "]");

    DIR* processes = opendir("/proc");
    if (processes == nullptr)
        return sender;
    while (const dirent* p = readdir(processes)) {
        pid_t pid = 0;
        if (!Parse(std::string_view(p->d_name), 10, &pid))
            continue;
        const std::string folder = std::string("/proc/") + p->d_name;
        DIR* descriptors = opendir((folder + "/fd").c_str());
        if (descriptors == nullptr)
            continue;  // gone, or not ours to read
        bool holds = false;
        while (const dirent* d = readdir(descriptors)) {
            if (d->d_name[0] == '.')
                continue;
            char target[64];
            const std::string path = folder + "/fd/" + d->d_name;
            const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
            if (n <= 0)
                continue;
            const std::string_view link(target, static_cast<std::size_t>(n));
            for (const std::string& wanted : links)
                holds = holds || link == wanted;
            if (holds)
                break;
        }
        closedir(descriptors);
        if (!holds)
            continue;
        SocketHolder h;
        h.pid = pid;
        h.session = SessionOf(ReadText(folder + "/stat"));
        h.name = ReadText(folder + "/comm");
        while (!h.name.empty() && (h.name.back() == '\n' || h.name.back() == '\r'))
            h.name.pop_back();
        sender.holders.push_back(h);
    }
    closedir(processes);
    return sender;
}

std::string SenderRefusal(const LoopbackSender& sender, const SenderRule& rule) {
    if (sender.sockets.empty())
        return "no socket is bound there any more";
    for (const LoopbackUdpSocket& s : sender.sockets) {
        if (s.uid != rule.uid)
            return "its socket belongs to user " + std::to_string(s.uid);
    }
    if (sender.holders.empty())
        return "no process of this user holds its socket";
    for (const SocketHolder& h : sender.holders) {
        const std::string who = "process " + std::to_string(h.pid) + " (" + h.name + ")";
        if (rule.session > 0 && h.session != rule.session)
            return who + " is not the FlightGear started here";
        if (rule.session <= 0 && h.name != rule.program)
            return who + " is not FlightGear (" + rule.program + ")";
    }
    return {};
}

}  // namespace corvane::desktop

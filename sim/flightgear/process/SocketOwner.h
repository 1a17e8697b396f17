// SPDX-License-Identifier: MIT
//
// Who sent a datagram on the loopback interface: the processes that hold the
// UDP socket bound to its source port, found in the kernel's socket tables
// (/proc/net/udp, /proc/net/udp6) and the processes' descriptor folders
// (/proc/PID/fd). The stand-in takes FlightGear's readings only from the
// socket of the FlightGear it started or attached to; any other local
// program could otherwise send it a position. Linux only.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::desktop {

// One row of /proc/net/udp or /proc/net/udp6 whose local address can send
// from 127.0.0.1: bound to it, to the wildcard address, or (udp6) to their
// IPv4-mapped forms.
struct LoopbackUdpSocket {
    std::uint16_t localPort = 0;
    uid_t uid = 0;  // the user who made the socket
    std::uint64_t inode = 0;
};

// The rows of a socket table (the text of /proc/net/udp, or of udp6 with
// ipv6) that can send from 127.0.0.1; rows of other addresses and lines that
// are not rows (the heading, damaged text) are left out.
std::vector<LoopbackUdpSocket> LoopbackUdpSockets(std::string_view table, bool ipv6);

// A process that holds a socket.
struct SocketHolder {
    pid_t pid = 0;
    pid_t session = 0;  // its session id
    std::string name;   // its program's name as the kernel has it (/proc/PID/comm)
};

// The sockets that can send from 127.0.0.1 port `port` and the processes
// holding them. Only processes whose descriptors this process may read are
// found (its user's own).
struct LoopbackSender {
    std::vector<LoopbackUdpSocket> sockets;
    std::vector<SocketHolder> holders;
};
LoopbackSender FindLoopbackSender(std::uint16_t port);

// Whom the readings are taken from.
struct SenderRule {
    uid_t uid = 0;      // the sockets must be this user's
    pid_t session = 0;  // >0: held by a process of this session (the FlightGear started)
    // Without a session: held by a program of this name (a FlightGear attached to).
    std::string program = "fgfs";
};

// Why the sender is not FlightGear's, for the user ("process 4242 (nc) is not
// FlightGear"); empty when it is.
std::string SenderRefusal(const LoopbackSender& sender, const SenderRule& rule);

}  // namespace corvane::desktop

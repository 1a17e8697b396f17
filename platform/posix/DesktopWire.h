// SPDX-License-Identifier: MIT
//
// What the desktop stand-in writes for other processes and reads back from
// them: the text of a window file and the bytes of a window message. Both come
// from another process, so reading them takes any bytes and never trusts a
// length it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/Desktop.h"

namespace corvane::desktop::wire {

constexpr std::size_t kMaxTextLength = 255;  // of a message's name and of an atom's text

// The text of a window file: "class=", "title=", "pid=", "native=" and
// "socket=" lines.
std::string FormatWindowText(const WindowEntry& entry);

// The entry a window file describes; nullopt when it names no socket or no
// valid process. Unknown lines are skipped; a number that does not parse is 0.
std::optional<WindowEntry> ParseWindowText(std::string_view text);

enum class RequestKind : std::uint32_t { Send = 1, Close = 2 };

struct Request {
    RequestKind kind = RequestKind::Send;
    std::uint32_t sequence = 0;
    std::int64_t deadlineNs = 0;  // CLOCK_MONOTONIC, shared by all processes of the machine
    Message message;
};

// The largest request on the wire (both texts at their longest).
std::size_t MaxRequestSize();

// A request as sent; texts longer than kMaxTextLength are cut.
std::vector<char> EncodeRequest(const Request& request);

// The request in one received packet; nullopt when the bytes are not a request
// of this desktop (wrong magic, unknown kind, lengths that disagree with the
// packet's size).
std::optional<Request> DecodeRequest(const char* bytes, std::size_t size);

// The answer to a send: the request's sequence number and the 32-bit result.
struct Reply {
    std::uint32_t sequence = 0;
    std::uint32_t answer = 0;
};
constexpr std::size_t kReplySize = 12;
void EncodeReply(const Reply& reply, char (&bytes)[kReplySize]);
std::optional<Reply> DecodeReply(const char* bytes, std::size_t size);

}  // namespace corvane::desktop::wire

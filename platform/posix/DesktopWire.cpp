// SPDX-License-Identifier: MIT
#include "platform/posix/DesktopWire.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace corvane::desktop::wire {
namespace {

constexpr std::uint32_t kRequestMagic = 0x4D445643;  // "CVDM"
constexpr std::uint32_t kReplyMagic = 0x52445643;    // "CVDR"

#pragma pack(push, 1)
struct RequestHeader {
    std::uint32_t magic;
    std::uint32_t kind;
    std::uint32_t sequence;
    std::uint32_t wParam;
    std::uint32_t lParam;
    std::uint32_t token;
    std::int64_t deadlineNs;
    std::uint16_t nameLength;
    std::uint16_t atomLength;
};
struct ReplyHeader {
    std::uint32_t magic;
    std::uint32_t sequence;
    std::uint32_t answer;
};
#pragma pack(pop)
static_assert(sizeof(ReplyHeader) == kReplySize);

// A decimal number of a window file; 0 when the text is not one or is out of range.
template <typename Number>
Number ParseNumber(const std::string& text, Number (*parse)(const char*, char**, int)) {
    errno = 0;
    char* end = nullptr;
    Number n = parse(text.c_str(), &end, 10);
    return (end == text.c_str() || errno == ERANGE) ? Number{} : n;
}

}  // namespace

std::string FormatWindowText(const WindowEntry& entry) {
    std::ostringstream text;
    text << "class=" << entry.className << "\n"
         << "title=" << entry.title << "\n"
         << "pid=" << entry.pid << "\n"
         << "native=" << entry.nativeId << "\n"
         << "socket=" << entry.endpoint << "\n";
    return text.str();
}

std::optional<WindowEntry> ParseWindowText(std::string_view text) {
    WindowEntry entry;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq);
        const std::string value(line.substr(eq + 1));
        if (key == "class") {
            entry.className = value;
        } else if (key == "title") {
            entry.title = value;
        } else if (key == "pid") {
            entry.pid = ParseNumber<long long>(value, std::strtoll);
        } else if (key == "native") {
            entry.nativeId = ParseNumber<unsigned long long>(value, std::strtoull);
        } else if (key == "socket") {
            entry.endpoint = value;
        }
    }
    // A process number beyond pid_t would name some other process once cut.
    if (entry.endpoint.empty() || entry.pid <= 0 || entry.pid > 0x7FFFFFFF)
        return std::nullopt;
    return entry;
}

std::size_t MaxRequestSize() {
    return sizeof(RequestHeader) + 2 * kMaxTextLength;
}

std::vector<char> EncodeRequest(const Request& request) {
    const Message& m = request.message;
    RequestHeader h{};
    h.magic = kRequestMagic;
    h.kind = static_cast<std::uint32_t>(request.kind);
    h.sequence = request.sequence;
    h.wParam = m.wParam;
    h.lParam = m.lParam;
    h.token = m.token;
    h.deadlineNs = request.deadlineNs;
    h.nameLength = static_cast<std::uint16_t>(std::min(m.name.size(), kMaxTextLength));
    h.atomLength = static_cast<std::uint16_t>(std::min(m.atomText.size(), kMaxTextLength));
    std::vector<char> buffer(sizeof h + h.nameLength + h.atomLength);
    std::memcpy(buffer.data(), &h, sizeof h);
    std::memcpy(buffer.data() + sizeof h, m.name.data(), h.nameLength);
    std::memcpy(buffer.data() + sizeof h + h.nameLength, m.atomText.data(), h.atomLength);
    return buffer;
}

std::optional<Request> DecodeRequest(const char* bytes, std::size_t size) {
    RequestHeader h{};
    if (size < sizeof h)
        return std::nullopt;
    std::memcpy(&h, bytes, sizeof h);
    if (h.magic != kRequestMagic || h.nameLength > kMaxTextLength ||
        h.atomLength > kMaxTextLength || sizeof h + h.nameLength + h.atomLength != size) {
        return std::nullopt;
    }
    if (h.kind != static_cast<std::uint32_t>(RequestKind::Send) &&
        h.kind != static_cast<std::uint32_t>(RequestKind::Close)) {
        return std::nullopt;
    }
    Request r;
    r.kind = static_cast<RequestKind>(h.kind);
    r.sequence = h.sequence;
    r.deadlineNs = h.deadlineNs;
    r.message.name.assign(bytes + sizeof h, h.nameLength);
    r.message.atomText.assign(bytes + sizeof h + h.nameLength, h.atomLength);
    r.message.wParam = h.wParam;
    r.message.lParam = h.lParam;
    r.message.token = h.token;
    return r;
}

void EncodeReply(const Reply& reply, char (&bytes)[kReplySize]) {
    const ReplyHeader h{kReplyMagic, reply.sequence, reply.answer};
    std::memcpy(bytes, &h, sizeof h);
}

std::optional<Reply> DecodeReply(const char* bytes, std::size_t size) {
    ReplyHeader h{};
    if (size != sizeof h)
        return std::nullopt;
    std::memcpy(&h, bytes, sizeof h);
    if (h.magic != kReplyMagic)
        return std::nullopt;
    return Reply{h.sequence, h.answer};
}

}  // namespace corvane::desktop::wire

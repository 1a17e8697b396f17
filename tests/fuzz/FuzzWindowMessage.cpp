// SPDX-License-Identifier: MIT
// A packet on a window's socket from any bytes: decoded without harm (a
// decoded request encodes to the same bytes), and delivered over a real
// connection to a published window, which handles or ignores it.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>

#include "platform/posix/Desktop.h"
#include "platform/posix/DesktopWire.h"
#include "tests/fuzz/FuzzCommon.h"

namespace {

using namespace corvane::desktop;

struct Receiver {
    std::string folder;
    std::unique_ptr<PublishedWindow> window;
    int connection = -1;

    ~Receiver() {
        ::close(connection);
        window.reset();
        ::rmdir(folder.c_str());
    }
    Receiver() {
        char pattern[] = "/tmp/corvane-fuzz-desktop-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        folder = pattern;
        ::setenv("CORVANE_DESKTOP", pattern, 1);
        window = std::make_unique<PublishedWindow>(
            "FS98MAIN", "fuzz", 0, [](const Message& m) { return std::uint32_t(m.name.size()); },
            [] {});
        if (!window->IsPublished())
            std::abort();
        const auto entry = DescribeWindow(FindWindowByClass("FS98MAIN"));
        if (!entry)
            std::abort();
        connection = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, entry->endpoint.c_str(), sizeof addr.sun_path - 1);
        if (::connect(connection, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            std::abort();
        }
        window->ProcessPending(100);  // accepts the connection
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (const auto request = wire::DecodeRequest(bytes, size)) {
        const auto encoded = wire::EncodeRequest(*request);
        corvane::fuzz::Require(
            encoded.size() == size && std::memcmp(encoded.data(), bytes, size) == 0,
            "a decoded request encodes to the same bytes");
    }
    (void)wire::DecodeReply(bytes, size);

    static Receiver receiver;
    if (size == 0)
        return 0;  // an empty packet would read as the end of the connection
    if (::send(receiver.connection, bytes, size, MSG_NOSIGNAL) != ssize_t(size))
        return 0;
    receiver.window->ProcessPending(0);
    char reply[64];
    while (::recv(receiver.connection, reply, sizeof reply, MSG_DONTWAIT) > 0) {
    }
    return 0;
}

// SPDX-License-Identifier: MIT
//
// A simulator for the flight-state tests. The program's link calls are recorded
// and passed on to a real link connection, whose request block is served by
// the IPC module's block walk against a 64 KiB variable image. So a test sees
// both the calls the exchange makes and the bytes that reach the simulator.
#pragma once

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "linklib/Connection.h"
#include "linklib/LinkPlatform.h"
#include "linklib/Protocol.h"
#include "ports/SimulatorLink.h"
#include "sim/ipcmodule/ServeBlock.h"

namespace corvane::flightstate::testing {

struct LinkCall {
    std::string op;
    std::int32_t offset = 0;
    std::int32_t size = 0;
    std::vector<std::uint8_t> data;  // write requests: the bytes laid
    bool operator==(const LinkCall&) const = default;
};

inline void PrintTo(const LinkCall& c, std::ostream* os) {
    *os << c.op << "(0x" << std::hex << c.offset << std::dec << ", " << c.size;
    for (std::uint8_t b : c.data)
        *os << " " << int(b);
    *os << ")";
}

class FakeSimulator : public SimulatorLink, link::LinkPlatform, ipc::VariableAccess {
  public:
    FakeSimulator() {
        connection_.fsworking();
        connection_.startit();
    }

    std::vector<LinkCall> calls;
    bool answers = true;  // false: every send fails, as with a simulator that does not answer
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(65536);

    template <typename T>
    void Put(std::uint32_t offset, T value) {
        image.at(offset + sizeof value - 1);  // throws when the value runs past the image
        std::memcpy(image.data() + offset, &value, sizeof value);
    }
    // The little-endian number of `bytes` bytes at offset (up to 8), sign-extended.
    std::int64_t GetSigned(std::uint32_t offset, int bytes) const {
        std::uint64_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | image.at(offset + i);
        const int unused = 64 - 8 * bytes;
        return static_cast<std::int64_t>(v << unused) >> unused;
    }

    // ---- The link as the program calls it; the batch calls are recorded ----
    std::int32_t fsworking() override { return connection_.fsworking(); }
    std::int32_t startit() override { return connection_.startit(); }
    std::int32_t stopit() override { return connection_.stopit(); }
    std::int32_t readDWORD(std::int32_t o, void* d) override { return connection_.readDWORD(o, d); }
    std::int32_t writeDWORD(std::int32_t o, const void* s) override {
        return connection_.writeDWORD(o, s);
    }
    std::int32_t readxbytes(std::int32_t n, std::int32_t o, void* d) override {
        return connection_.readxbytes(n, o, d);
    }
    std::int32_t writexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        return connection_.writexbytes(n, o, s);
    }
    std::int32_t startmessage() override {
        return Note("startmessage", connection_.startmessage());
    }
    std::int32_t sendmessage() override { return Note("sendmessage", connection_.sendmessage()); }
    std::int32_t rawreadxbytes(std::int32_t n, std::int32_t o, void* d) override {
        return Note("rawreadxbytes", connection_.rawreadxbytes(n, o, d), o, n);
    }
    std::int32_t rawwritexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        return Note("rawwritexbytes", connection_.rawwritexbytes(n, o, s), o, n, s);
    }
    std::int32_t rawreadDWORD(std::int32_t o, void* d) override {
        return Note("rawreadDWORD", connection_.rawreadDWORD(o, d), o, 4);
    }
    std::int32_t rawwriteDWORD(std::int32_t o, const void* s) override {
        return Note("rawwriteDWORD", connection_.rawwriteDWORD(o, s), o, 4, s);
    }

  private:
    std::int32_t Note(const char* op, std::int32_t result, std::int32_t offset = 0,
                      std::int32_t size = 0, const void* source = nullptr) {
        LinkCall call{op, offset, size, {}};
        if (source != nullptr) {
            const auto* bytes = static_cast<const std::uint8_t*>(source);
            call.data.assign(bytes, bytes + size);
        }
        calls.push_back(std::move(call));
        return result;
    }

    // ---- The desktop as the link sees it: one FS98MAIN window, one area ----
    link::WindowRef FindWindowByClass(const char* name) override {
        return std::strcmp(name, "FS98MAIN") == 0 ? 1 : 0;
    }
    std::uint32_t RegisterMessage(const char*) override { return 0xC100; }
    std::uint16_t AddAtom(const std::string&) override { return 1; }
    void DeleteAtom(std::uint16_t) override {}
    link::MappingRef CreateMapping(const std::string&, std::size_t, bool* existed) override {
        *existed = false;
        return 1;
    }
    void* MapView(link::MappingRef, std::size_t) override { return area_.data(); }
    void UnmapView(void*, std::size_t) override {}
    void CloseMapping(link::MappingRef) override {}
    std::uint32_t CurrentProcessId() override { return 4242; }
    bool SendWithTimeout(link::WindowRef, std::uint32_t, std::uint32_t, std::uint32_t,
                         std::uint32_t, void* area, std::uint32_t* answer) override {
        if (!answers)
            return false;
        *answer = ipc::ServeBlock(static_cast<std::uint8_t*>(area), link::kAreaSize, *this);
        return true;
    }

    // ---- The simulator's variable space ----
    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        if (std::uint64_t(offset) + size > image.size())
            return false;
        std::memcpy(destination, image.data() + offset, size);
        return true;
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        if (std::uint64_t(offset) + size > image.size())
            return false;
        std::memcpy(image.data() + offset, source, size);
        return true;
    }

    std::vector<std::uint8_t> area_ = std::vector<std::uint8_t>(link::kAreaSize);
    link::Connection connection_{*this};
};

}  // namespace corvane::flightstate::testing

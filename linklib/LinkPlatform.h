// SPDX-License-Identifier: MIT
//
// The operating-system operations the link needs, behind one small seam: the
// POSIX desktop stand-in on Linux, the Windows calls on Win32, and fakes in the
// tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane::link {

using WindowRef = std::uint64_t;   // 0: no window
using MappingRef = std::intptr_t;  // 0: no mapping

class LinkPlatform {
public:
    virtual ~LinkPlatform() = default;

    // A top-level window of the given class (no parent, any title); 0 if none.
    virtual WindowRef FindWindowByClass(const char* className) = 0;
    // The registered window message for the name; 0 on failure.
    virtual std::uint32_t RegisterMessage(const char* name) = 0;
    // A global atom for the text; 0 on failure.
    virtual std::uint16_t AddAtom(const std::string& text) = 0;
    virtual void DeleteAtom(std::uint16_t atom) = 0;
    // Creates a named shared mapping of `size` bytes. Returns 0 on failure;
    // *alreadyExisted tells that the name was taken (also a failure for the
    // link, which then closes the mapping it got).
    virtual MappingRef CreateMapping(const std::string& name, std::size_t size,
                                     bool* alreadyExisted) = 0;
    virtual void* MapView(MappingRef mapping, std::size_t size) = 0;
    virtual void UnmapView(void* view, std::size_t size) = 0;
    virtual void CloseMapping(MappingRef mapping) = 0;
    virtual std::uint32_t CurrentProcessId() = 0;
    // Sends the message and blocks until the receiver answers or the time-out
    // elapses; false when the send failed or timed out. `area` is the mapped
    // view that the message concerns.
    virtual bool SendWithTimeout(WindowRef window, std::uint32_t messageId, std::uint32_t wParam,
                                 std::uint32_t lParam, std::uint32_t timeoutMs, void* area,
                                 std::uint32_t* answer) = 0;
};

// The platform of this build (POSIX desktop stand-in or Win32).
LinkPlatform& SystemLinkPlatform();

}  // namespace corvane::link

// SPDX-License-Identifier: MIT
//
// A link platform in memory: windows by class, atoms and mappings that can be
// made to fail, and a simulator that answers each send with a function of the
// block.
#pragma once

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "linklib/LinkPlatform.h"

namespace corvane::link::testing {

class FakeLinkPlatform final : public LinkPlatform {
public:
    std::map<std::string, WindowRef> windows;
    bool failRegister = false;
    bool failAtom = false;
    bool mappingExists = false;
    bool failMap = false;
    bool failSend = false;
    std::uint32_t processId = 0x1A4;
    // Called with the area on each send; returns the simulator's answer.
    std::function<std::uint32_t(std::uint8_t* area)> simulator = [](std::uint8_t*) { return 1u; };

    std::vector<std::string> atomTexts;  // texts of atoms added, in order
    int liveAtoms = 0;
    int liveMappings = 0;
    int liveViews = 0;
    int sends = 0;
    WindowRef lastSendWindow = 0;
    std::uint32_t lastSendParam = 0;

    WindowRef FindWindowByClass(const char* className) override {
        auto it = windows.find(className);
        return it == windows.end() ? 0 : it->second;
    }
    std::uint32_t RegisterMessage(const char*) override { return failRegister ? 0 : 0xC123; }
    std::uint16_t AddAtom(const std::string& text) override {
        atomTexts.push_back(text);
        if (failAtom) return 0;
        ++liveAtoms;
        return 0xC001;
    }
    void DeleteAtom(std::uint16_t) override { --liveAtoms; }
    MappingRef CreateMapping(const std::string&, std::size_t size, bool* existed) override {
        *existed = mappingExists;
        ++liveMappings;
        area.assign(size, 0xEE);  // not zero: a read request must not rely on cleared bytes
        return 42;
    }
    void* MapView(MappingRef, std::size_t) override {
        if (failMap) return nullptr;
        ++liveViews;
        return area.data();
    }
    void UnmapView(void*, std::size_t) override { --liveViews; }
    void CloseMapping(MappingRef) override { --liveMappings; }
    std::uint32_t CurrentProcessId() override { return processId; }
    bool SendWithTimeout(WindowRef window, std::uint32_t, std::uint32_t wParam, std::uint32_t,
                         std::uint32_t, void*, std::uint32_t* answer) override {
        ++sends;
        lastSendWindow = window;
        lastSendParam = wParam;
        if (failSend || window == 0) return false;
        *answer = simulator(area.data());
        return true;
    }

    std::vector<std::uint8_t> area;
};

}  // namespace corvane::link::testing

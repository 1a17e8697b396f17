// SPDX-License-Identifier: MIT
// The link copying answers out of an area that a hostile simulator rewrote:
// the input lays a batch of reads into buffers of exactly their size, then its
// remaining bytes overwrite the area before the answer comes. Nothing may be
// written outside the buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <vector>

#include "linklib/Connection.h"
#include "linklib/Protocol.h"

namespace {

using namespace corvane::link;

class HostilePlatform final : public LinkPlatform {
  public:
    std::vector<std::uint8_t> area = std::vector<std::uint8_t>(kAreaSize);
    std::vector<std::uint8_t> rewrite;
    std::size_t rewriteAt = 0;
    std::uint32_t answerWith = 1;

    WindowRef FindWindowByClass(const char* className) override {
        return std::strcmp(className, "FS98MAIN") == 0 ? 7 : 0;
    }
    std::uint32_t RegisterMessage(const char*) override { return 0xC000; }
    std::uint16_t AddAtom(const std::string&) override { return 0xC001; }
    void DeleteAtom(std::uint16_t) override {}
    MappingRef CreateMapping(const std::string&, std::size_t, bool* existed) override {
        *existed = false;
        return 1;
    }
    void* MapView(MappingRef, std::size_t) override { return area.data(); }
    void UnmapView(void*, std::size_t) override {}
    void CloseMapping(MappingRef) override {}
    std::uint32_t CurrentProcessId() override { return 1; }
    bool SendWithTimeout(WindowRef, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                         void*, std::uint32_t* answer) override {
        const std::size_t n = std::min(rewrite.size(), area.size() - rewriteAt);
        if (n > 0) std::memcpy(area.data() + rewriteAt, rewrite.data(), n);
        *answer = answerWith;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    HostilePlatform platform;
    Connection link(platform);
    if (link.fsworking() != 2 || link.startit() != 1)
        return 0;
    std::vector<std::unique_ptr<std::uint8_t[]>> buffers;
    link.startmessage();
    const int reads = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < reads; ++i) {
        const auto length = input.ConsumeIntegralInRange<std::int32_t>(0, 300);
        const auto offset = input.ConsumeIntegral<std::int32_t>();
        buffers.emplace_back(new std::uint8_t[std::size_t(length) + 1]);  // +1: never 0 bytes
        if (input.ConsumeBool()) {
            const std::uint32_t value = input.ConsumeIntegral<std::uint32_t>();
            link.rawwritexbytes(4, offset, &value);
        }
        link.rawreadxbytes(length, offset, length == 0 ? nullptr : buffers.back().get());
    }
    platform.answerWith = input.ConsumeIntegralInRange<std::uint32_t>(0, 2);
    platform.rewriteAt = input.ConsumeIntegralInRange<std::size_t>(0, 4 * 64);
    platform.rewrite = input.ConsumeRemainingBytes<std::uint8_t>();
    (void)link.sendmessage();
    link.stopit();
    return 0;
}

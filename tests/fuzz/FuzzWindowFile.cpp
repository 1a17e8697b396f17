// SPDX-License-Identifier: MIT
// A window file of the desktop from any text: read without harm, and an entry
// read from it is written and read back the same.
#include <string_view>

#include "platform/posix/DesktopWire.h"
#include "tests/fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::desktop;
    const auto entry = wire::ParseWindowText({reinterpret_cast<const char*>(data), size});
    if (!entry)
        return 0;
    const auto again = wire::ParseWindowText(wire::FormatWindowText(*entry));
    corvane::fuzz::Require(again && again->className == entry->className &&
                               again->title == entry->title && again->pid == entry->pid &&
                               again->nativeId == entry->nativeId &&
                               again->endpoint == entry->endpoint,
                           "a window entry reads back the same");
    return 0;
}

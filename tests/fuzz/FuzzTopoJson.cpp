// SPDX-License-Identifier: MIT
// The converter's TopoJSON reader from any text: rings, or a ConversionError
// that says why.
#include <string>

#include "tools/navdata/ConversionError.h"
#include "tools/navdata/TopoJsonReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::navdata::convert;
    try {
        (void)ReadTopoJsonRings(std::string(reinterpret_cast<const char*>(data), size),
                                "land.json");
    } catch (const ConversionError&) {
    }
    return 0;
}

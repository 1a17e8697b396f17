// SPDX-License-Identifier: MIT
// The converter's nav.dat reader from any bytes: it reads the file, counting
// malformed rows, or stops with a ConversionError that says why.
#include "tests/fuzz/FuzzCommon.h"
#include "tools/navdata/ConversionError.h"
#include "tools/navdata/DatFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::navdata::convert;
    const std::string& path = corvane::fuzz::ScratchFile("-nav.dat");
    corvane::fuzz::WriteScratch(path, data, size);
    try {
        Diagnostics diagnostics;
        (void)ReadNavDatFile(path, diagnostics);
    } catch (const ConversionError&) {
    }
    return 0;
}

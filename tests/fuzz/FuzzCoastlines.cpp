// SPDX-License-Identifier: MIT
// COAST2.int from any bytes: the reader accepts it or says why (NavDataError);
// accepted contents become the program's coastline tables and are written and
// read back the same.
#include "navdata/CoastlineFile.h"
#include "navdata/NavDataError.h"
#include "tests/fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::navdata;
    CoastFileContents contents;
    try {
        contents = ReadCoastFileContents({data, size}, "COAST2.int");
    } catch (const NavDataError&) {
        return 0;
    }
    // The tables are large and fixed: made once and filled with each accepted file, as
    // the program's own are (an element written past them is a heap overflow).
    static CoastlineData tables;
    FillCoastlineData(contents, tables);
    corvane::fuzz::Require(
        tables.CoastPointCount == static_cast<std::int32_t>(contents.points.size()),
        "every accepted point is in the tables");
    const auto bytes = WriteCoastFile(contents, "COAST2.int");
    const auto again = WriteCoastFile(ReadCoastFileContents(bytes, "COAST2.int"), "COAST2.int");
    corvane::fuzz::Require(again == bytes, "accepted coastlines read back the same");
    return 0;
}

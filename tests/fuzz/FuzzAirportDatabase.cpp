// SPDX-License-Identifier: MIT
// airdata.tri from any bytes: the reader accepts it or says why (NavDataError);
// a database it accepts is written and read back the same.
#include "navdata/AirportDatabaseFile.h"
#include "navdata/NavDataError.h"
#include "tests/fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::navdata;
    AirportDatabase db;
    try {
        db = ReadAirportDatabase({data, size}, "airdata.tri");
    } catch (const NavDataError&) {
        return 0;
    }
    const auto bytes = WriteAirportDatabase(db, "airdata.tri");
    const AirportDatabase again = ReadAirportDatabase(bytes, "airdata.tri");
    corvane::fuzz::Require(WriteAirportDatabase(again, "airdata.tri") == bytes,
                           "an accepted database reads back the same");
    return 0;
}

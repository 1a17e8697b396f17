// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "tools/navdata/Diagnostics.h"
#include "tools/navdata/LineReader.h"
#include "tools/navdata/SourceData.h"

namespace corvane::navdata::convert {

/// Reads an X-Plane/FlightGear apt.dat file (version 1000, 1100 or 1200, plain or gzip). Land
/// airports (row 1) with their runways (100), tower viewpoint (14), start positions (15, 1300)
/// and ATIS frequencies (50 in 10 kHz, 1050 in kHz) are kept; seaplane bases (16), heliports (17),
/// water runways (101) and helipads (102) are counted; other rows are not used. Malformed rows are
/// noted in diagnostics and skipped. A file that is not an apt.dat file or of another version
/// raises ConversionError.
AptDatContents ReadAptDat(LineReader& reader, Diagnostics& diagnostics);
/// onRead, when given, is told the bytes of the file read so far (see LineReader::OnRead).
AptDatContents ReadAptDatFile(const std::string& path, Diagnostics& diagnostics,
                              std::function<void(long long)> onRead = {});

/// Reads an X-Plane/FlightGear nav.dat file (version 810, 1000, 1100, 1150 or 1200, plain or gzip;
/// 1000, as FlightGear's scenery NavData/nav files have it, in the layout of 810): NDBs
/// (row 2), VORs (3), localizers (4, 5) and glide slopes (6). Other rows are counted. Malformed
/// rows are noted and skipped; a file that is not a nav.dat file or of another version raises
/// ConversionError.
NavDatContents ReadNavDat(LineReader& reader, Diagnostics& diagnostics);
NavDatContents ReadNavDatFile(const std::string& path, Diagnostics& diagnostics,
                              std::function<void(long long)> onRead = {});

}  // namespace corvane::navdata::convert

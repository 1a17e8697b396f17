// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "navdata/AirportDatabase.h"

namespace corvane::navdata {

/// Reads airdata.tri at the given path (the program passes its folder + "airdata.tri").
/// The whole file is read and checked before anything is returned: a file that cannot be
/// read, ends early, holds a negative count or one above 32766, or a reference (airport of a
/// runway, ATIS of an airport, ILS of a runway, longitude index entry) beyond its list raises
/// NavDataError naming the file, the section and the record. Bytes after the NDB index are
/// ignored.
AirportDatabase LoadAirportDatabase(const std::string& path);

/// The same from bytes already in memory; fileName names them in errors.
AirportDatabase ReadAirportDatabase(std::span<const std::uint8_t> bytes,
                                    const std::string& fileName);

/// Lays out the database as airdata.tri bytes. Raises NavDataError for a database the loader
/// would refuse (counts that do not match the arrays, references beyond their lists, texts
/// over 65535 bytes). Missing header texts are written empty.
std::vector<std::uint8_t> WriteAirportDatabase(const AirportDatabase& db,
                                               const std::string& fileName);

/// Writes the database to a file (through a temporary file renamed over it).
void SaveAirportDatabase(const AirportDatabase& db, const std::string& path);

/// Checks every reference of the database and raises NavDataError for the first one beyond
/// its list.
void CheckAirportDatabaseReferences(const AirportDatabase& db, const std::string& fileName);

}  // namespace corvane::navdata

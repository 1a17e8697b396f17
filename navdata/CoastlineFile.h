// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "navdata/CoastlineData.h"

namespace corvane::navdata {

/// Reads COAST2.int at the given path (the program passes its folder + "COAST2.int") into the
/// in-memory model. A file that cannot be read, ends early, has a negative point or block
/// count, more than 81500 points or 1000 blocks, or a block whose first point is not one of
/// the points read raises NavDataError naming the file, the section and the record.
/// Example: a raw point (16384, -16384) reads as 45 degrees north, 90 degrees west; a raw
/// point (0, 0) reads as CoastBreak in both arrays.
CoastlineData LoadCoastlines(const std::string& path);

/// The same from bytes already in memory; fileName names them in errors.
CoastlineData ReadCoastlines(std::span<const std::uint8_t> bytes, const std::string& fileName);

/// Parses the file as stored, with the same checks as ReadCoastlines.
CoastFileContents ReadCoastFileContents(std::span<const std::uint8_t> bytes,
                                        const std::string& fileName);

/// Turns the stored contents into the in-memory model (degrees, break markers as CoastBreak).
CoastlineData ToCoastlineData(const CoastFileContents& contents);

/// Writes the contents' points and blocks into tables already made, from element 1 on,
/// and sets their counts. Elements past the counts are left as they were.
void FillCoastlineData(const CoastFileContents& contents, CoastlineData& data);

/// Lays out the contents as COAST2.int bytes. Raises NavDataError for contents the loader
/// would refuse.
std::vector<std::uint8_t> WriteCoastFile(const CoastFileContents& contents,
                                         const std::string& fileName);

/// Writes the contents to a file (through a temporary file renamed over it).
void SaveCoastFile(const CoastFileContents& contents, const std::string& path);

}  // namespace corvane::navdata

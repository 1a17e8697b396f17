// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "tools/navdata/SourceData.h"

namespace corvane::navdata::convert {

/// A closed ring of a land polygon: the first and last points are the same.
using Ring = std::vector<GeoPoint>;

/// Reads the rings of the land polygons of a TopoJSON topology (Natural Earth land as
/// redistributed by world-atlas): the object "land" (or, when there is none, every object),
/// its Polygons and MultiPolygons, nested GeometryCollections included; other geometry types
/// are skipped. Arcs are delta-decoded and scaled by the topology's transform when it has one.
/// Malformed JSON or topology raises ConversionError naming the file and the line or the
/// element ("objects.land.geometries[0].arcs[3][0]: arc 5000 does not exist").
std::vector<Ring> ReadTopoJsonRings(const std::string& text, const std::string& fileName);
std::vector<Ring> ReadTopoJsonFile(const std::string& path);

}  // namespace corvane::navdata::convert

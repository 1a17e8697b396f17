// SPDX-License-Identifier: MIT
//
// FlightGear's scenery tiles ("buckets"): which tile holds a point, the
// tile's index and its folder, and which tiles a set of scenery folders holds.
// A tile is 1/8 degree of latitude high; its width depends on the latitude
// band (1/8 degree near the equator, 1/4 from 22 degrees, 1/2 from 62 degrees
// and wider towards the poles), so that tiles cover about the same area. Its
// terrain lies in <scenery>/Terrain/<10-degree folder>/<1-degree folder>/
// <index>.stg (older scenery has no Terrain level), e.g. Keflavik's runway
// 11 threshold (63.985 N, 22.655 W) lies in tile 2582136 of
// w030n60/w023n63.
//
// Pure: the folders are read by SceneryScan (sim/flightgear/process), which
// hands the file names it finds to InstalledTerrain.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim::flightgear {

struct SceneryTile {
    int lonDeg = 0;  // whole degree west edge of the tile's column, -180..179
    int latDeg = 0;  // whole degree south edge of the tile's row band, -90..89
    int x = 0;       // column within the degree (0 where a tile spans a degree or more)
    int y = 0;       // row of 1/8 degree within the degree, 0..7
    double widthDeg = 0.125;

    // FlightGear's tile index: the file name of the tile's terrain.
    std::int64_t Index() const;
    // The tile's folder below a scenery's Terrain folder, "w030n60/w023n63".
    std::string Folder() const;
    // The tile's south-west corner.
    double WestDeg() const { return lonDeg + x * widthDeg; }
    double SouthDeg() const { return latDeg + y * 0.125; }
};

// The width in longitude of the tiles at a latitude, degrees.
double TileWidthDeg(double latDeg);

// The tile holding a point (latitude -90..90, longitude any: it is wrapped
// into -180..180).
SceneryTile TileAt(double latDeg, double lonDeg);

// The tile of an index, or nothing when the index names no tile.
std::optional<SceneryTile> TileFromIndex(std::int64_t index);

// The tiles whose terrain a set of scenery folders holds.
class InstalledTerrain {
  public:
    // A file found below a terrain folder: its folder relative to that terrain
    // folder ("w030n60/w023n63") and its name ("2582136.stg"). Counts it when
    // it is a tile's .stg file lying in that tile's own folder; returns
    // whether it counted.
    bool AddFile(std::string_view folder, std::string_view name);
    void AddTile(std::int64_t index) { tiles_.insert(index); }

    bool Has(const SceneryTile& tile) const { return tiles_.count(tile.Index()) != 0; }
    bool HasAt(double latDeg, double lonDeg) const { return Has(TileAt(latDeg, lonDeg)); }
    std::size_t TileCount() const { return tiles_.size(); }
    bool Empty() const { return tiles_.empty(); }
    // The folders searched, in order ("" when built by hand).
    std::vector<std::string> folders;

  private:
    std::set<std::int64_t> tiles_;
};

// What names FlightGear's scenery folders.
struct SceneryFolderSources {
    std::vector<std::string> given;  // --fg-scenery, in the order given
    std::string environment;         // $FG_SCENERY: folders separated by ':'
    std::string terraSync;           // TerraSync's download folder, if any
    std::string fgRoot;              // FlightGear's data folder; its Scenery comes last
};

// The scenery folders to read, in FlightGear's order: the folders given,
// those of $FG_SCENERY, TerraSync's folder, then FG_ROOT's Scenery; each once
// (trailing slashes ignored), empty entries left out.
std::vector<std::string> SceneryFolders(const SceneryFolderSources& sources);

}  // namespace corvane::sim::flightgear

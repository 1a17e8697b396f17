// SPDX-License-Identifier: MIT
//
// Which of FlightGear's scenery tiles are installed: the scenery folders
// FlightGear reads (those given, $FG_SCENERY, TerraSync's download folder,
// FG_ROOT's Scenery), and the tiles whose terrain they hold, read from the
// folders. The tile arithmetic is SceneryTiles'; this only lists folders.
#pragma once

#include <string>
#include <vector>

#include "sim/flightgear/SceneryTiles.h"

namespace corvane::sim::flightgear {

// The scenery folders FlightGear reads, from the folders given
// (--fg-scenery), the environment ($FG_SCENERY; TerraSync's folder of the
// user's own FlightGear, ~/.fgfs/TerraSync, when it exists) and fgRoot.
std::vector<std::string> SceneryFoldersFromEnvironment(const std::vector<std::string>& given,
                                                       const std::string& fgRoot);

// The tiles whose terrain the folders hold. A folder that does not exist
// adds nothing (FlightGear skips it too).
InstalledTerrain ScanInstalledTerrain(const std::vector<std::string>& folders);

}  // namespace corvane::sim::flightgear

// SPDX-License-Identifier: MIT
#pragma once

#include <zlib.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace corvane::navdata::testing {

using corvane::testing::TempFolder;

// Writes text gzip-compressed into the file name of the folder (as the open
// data's apt.dat.gz and land.json.gz come) and returns its path.
inline std::string WriteGzip(const TempFolder& folder, const std::string& name,
                             const std::string& text) {
    const std::string path = folder.Path(name);
    gzFile file = gzopen(path.c_str(), "wb");
    gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
    gzclose(file);
    return path;
}

}  // namespace corvane::navdata::testing

// SPDX-License-Identifier: MIT
#pragma once

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace corvane::navdata::testing {

/// A folder of its own for one test, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-navdata-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream out(Path(name), std::ios::binary);
        out << text;
        return Path(name);
    }

    std::string WriteGzip(const std::string& name, const std::string& text) const {
        gzFile file = gzopen(Path(name).c_str(), "wb");
        gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
        gzclose(file);
        return Path(name);
    }

  private:
    std::filesystem::path path_;
};

}  // namespace corvane::navdata::testing

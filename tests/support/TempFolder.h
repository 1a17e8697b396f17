// SPDX-License-Identifier: MIT
//
// A folder of its own for one test under the system's temporary folder,
// removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace corvane::testing {

class TempFolder {
  public:
    // The folder's name starts with prefix and ends in a random number, so
    // that tests running at once never share one.
    explicit TempFolder(const std::string& prefix = "corvane-test") {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                (prefix + "-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of name inside the folder; without a name the folder itself,
    // ending in a slash (so that Path() + "file" names a file in it).
    std::string Path(const std::string& name = {}) const { return (path_ / name).string(); }

    // Writes text into the file name of the folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << text;
        if (!out)
            throw std::runtime_error("cannot write the test file " + path);
        return path;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace corvane::testing

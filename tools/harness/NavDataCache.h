// SPDX-License-Identifier: MIT
//
// The program's navigation data files for the flights of one harness process.
// Every flight starts the program afresh, and each start reads airdata.tri and
// COAST2.int: parsing the airport database takes about as long as a tenth of
// a flight. The cache parses a file at its first reading and then hands every
// reading the same read-only data, not a copy of it, while the path names the
// same unchanged file (the same device, inode, size and times of change); a
// file replaced or written since is parsed again, and data handed out before
// stays as it was read. Errors are those of the loaders: nothing failed is
// kept.
#pragma once

#include <memory>
#include <string>

#include "app/airports/AirportSearch.h"
#include "navdata/AirportDatabase.h"
#include "navdata/CoastlineData.h"

namespace corvane::harness {

// What tells one version of a file from another without reading it.
struct FileVersion {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = -1;
    long long modifiedNs = 0;
    long long changedNs = 0;

    bool operator==(const FileVersion&) const = default;
};

// The file's version; false when the path cannot be looked at.
bool VersionOfFile(const std::string& path, FileVersion& version);

class NavDataCache {
  public:
    // Never null; throws navdata::NavDataError as the loaders do.
    std::shared_ptr<const navdata::AirportDatabase> AirportDatabase(const std::string& path);
    std::shared_ptr<const navdata::CoastlineData> Coastlines(const std::string& path);
    // The search index of a database this cache handed out, made at the
    // first asking; null for any other database.
    std::shared_ptr<const airports::AirportSearchIndex> SearchIndexOf(
        const navdata::AirportDatabase& db);

  private:
    template <typename Data>
    struct Entry {
        std::string path;
        FileVersion version;
        std::shared_ptr<const Data> data;  // null while nothing valid is kept
    };
    template <typename Data, typename Load>
    static std::shared_ptr<const Data> Read(Entry<Data>& entry, const std::string& path, Load load);

    Entry<navdata::AirportDatabase> database_;
    Entry<navdata::CoastlineData> coast_;
    // The index and the database it was made from, kept alive with it.
    std::shared_ptr<const navdata::AirportDatabase> indexedDatabase_;
    std::shared_ptr<const airports::AirportSearchIndex> searchIndex_;
};

}  // namespace corvane::harness

// SPDX-License-Identifier: MIT
#include "tools/harness/NavDataCache.h"

#include <sys/stat.h>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/CoastlineFile.h"

namespace corvane::harness {

bool VersionOfFile(const std::string& path, FileVersion& version) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    auto ns = [](const timespec& t) {
        return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
    };
    version.device = static_cast<unsigned long long>(st.st_dev);
    version.inode = static_cast<unsigned long long>(st.st_ino);
    version.size = static_cast<long long>(st.st_size);
    version.modifiedNs = ns(st.st_mtim);
    version.changedNs = ns(st.st_ctim);
    return true;
}

template <typename Data, typename Load>
std::shared_ptr<const Data> NavDataCache::Read(Entry<Data>& entry, const std::string& path,
                                               Load load) {
    auto loaded = [&] { return std::make_shared<const Data>(load(path)); };
    FileVersion before;
    if (!VersionOfFile(path, before))
        return loaded();  // the loader names what is wrong with the path
    if (entry.data && entry.path == path && entry.version == before)
        return entry.data;
    entry.data.reset();
    std::shared_ptr<const Data> data = loaded();
    // A file changed while it was read is read again at the next start.
    FileVersion after;
    if (VersionOfFile(path, after) && after == before) {
        entry.path = path;
        entry.version = before;
        entry.data = data;
    }
    return data;
}

std::shared_ptr<const navdata::AirportDatabase> NavDataCache::AirportDatabase(
    const std::string& path) {
    return Read(database_, path,
                [](const std::string& p) { return navdata::LoadAirportDatabase(p); });
}

std::shared_ptr<const navdata::CoastlineData> NavDataCache::Coastlines(const std::string& path) {
    return Read(coast_, path, [](const std::string& p) { return navdata::LoadCoastlines(p); });
}

std::shared_ptr<const airports::AirportSearchIndex> NavDataCache::SearchIndexOf(
    const navdata::AirportDatabase& db) {
    if (!database_.data || database_.data.get() != &db)
        return nullptr;
    if (indexedDatabase_ != database_.data) {
        searchIndex_ = std::make_shared<const airports::AirportSearchIndex>(db);
        indexedDatabase_ = database_.data;
    }
    return searchIndex_;
}

}  // namespace corvane::harness

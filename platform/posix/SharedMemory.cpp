// SPDX-License-Identifier: MIT
#include "platform/posix/SharedMemory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace corvane::desktop {
namespace {

constexpr const char* kAreaFolder = "/dev/shm";  // where Linux keeps the named areas

// The process number written in hexadecimal at the start of text and ended by
// ':'; -1 when text does not start so.
long ProcessNumberAt(const std::string& text) {
    long pid = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != ':'; ++i) {
        const char c = text[i];
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                             : -1;
        if (digit < 0 || pid > 0x7FFFFFF)
            return -1;
        pid = pid * 16 + digit;
    }
    return (i == 0 || i == text.size() || pid <= 0) ? -1 : pid;
}

// Counts this process's makings and removals of named areas.
unsigned areaNamesVersion = 0;

}  // namespace

std::string SharedAreaPosixName(const std::string& name) {
    // POSIX names are one path component: a slash inside the name is not
    // allowed, so it is replaced.
    std::string posixName = "/";
    for (char c : name)
        posixName += (c == '/') ? '_' : c;
    return posixName;
}

int CreateSharedArea(const std::string& name, std::size_t size, bool* alreadyExists) {
    if (alreadyExists)
        *alreadyExists = false;
    const std::string posixName = SharedAreaPosixName(name);
    ++areaNamesVersion;
    int fd = ::shm_open(posixName.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (fd < 0) {
        if (errno == EEXIST && alreadyExists)
            *alreadyExists = true;
        return -1;
    }
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        ::close(fd);
        ::shm_unlink(posixName.c_str());
        return -1;
    }
    return fd;
}

int OpenSharedArea(const std::string& name) {
    return ::shm_open(SharedAreaPosixName(name).c_str(), O_RDWR, 0);
}

void* MapSharedArea(int mapping, std::size_t size) {
    if (mapping < 0 || size == 0)
        return nullptr;
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, mapping, 0);
    return view == MAP_FAILED ? nullptr : view;
}

void UnmapSharedArea(void* view, std::size_t size) {
    if (view)
        ::munmap(view, size);
}

void CloseSharedArea(int mapping, const std::string& nameToRemove) {
    if (mapping >= 0)
        ::close(mapping);
    if (!nameToRemove.empty()) {
        ++areaNamesVersion;
        ::shm_unlink(SharedAreaPosixName(nameToRemove).c_str());
    }
}

int RemoveAreasOfDeadProcesses(const std::string& prefix) {
    const std::string posixPrefix = SharedAreaPosixName(prefix).substr(1);
    DIR* folder = ::opendir(kAreaFolder);
    if (!folder)
        return 0;
    int removed = 0;
    while (dirent* e = ::readdir(folder)) {
        const std::string name = e->d_name;
        if (name.compare(0, posixPrefix.size(), posixPrefix) != 0)
            continue;
        const long pid = ProcessNumberAt(name.substr(posixPrefix.size()));
        if (pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;  // still runs
        struct stat st {};
        if (::fstatat(::dirfd(folder), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
            continue;
        }
        ++areaNamesVersion;
        if (::shm_unlink(("/" + name).c_str()) == 0)
            ++removed;
    }
    ::closedir(folder);
    return removed;
}

unsigned AreaNamesVersion() {
    return areaNamesVersion;
}

bool IsOwnAreaName(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    return ProcessNumberAt(name.substr(prefix.size())) == static_cast<long>(::getpid());
}

bool SharedAreaStillNamed(int mapping) {
    // The area is a file of the /dev/shm file system: removing its name drops
    // its link count to 0 while the open descriptor keeps it.
    struct stat st {};
    return mapping >= 0 && ::fstat(mapping, &st) == 0 && st.st_nlink > 0;
}

std::size_t SharedAreaSize(int mapping) {
    struct stat st {};
    if (mapping < 0 || ::fstat(mapping, &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<std::size_t>(st.st_size);
}

}  // namespace corvane::desktop

// SPDX-License-Identifier: MIT
#include "platform/posix/SharedMemory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::desktop {

std::string SharedAreaPosixName(const std::string& name) {
    // POSIX names are one path component: a slash inside the name is not
    // allowed, so it is replaced.
    std::string posixName = "/";
    for (char c : name) posixName += (c == '/') ? '_' : c;
    return posixName;
}

int CreateSharedArea(const std::string& name, std::size_t size, bool* alreadyExists) {
    if (alreadyExists) *alreadyExists = false;
    const std::string posixName = SharedAreaPosixName(name);
    int fd = ::shm_open(posixName.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (fd < 0) {
        if (errno == EEXIST && alreadyExists) *alreadyExists = true;
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
    if (mapping < 0 || size == 0) return nullptr;
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, mapping, 0);
    return view == MAP_FAILED ? nullptr : view;
}

void UnmapSharedArea(void* view, std::size_t size) {
    if (view) ::munmap(view, size);
}

void CloseSharedArea(int mapping, const std::string& nameToRemove) {
    if (mapping >= 0) ::close(mapping);
    if (!nameToRemove.empty()) ::shm_unlink(SharedAreaPosixName(nameToRemove).c_str());
}

bool StatSharedArea(const std::string& name, struct stat* st) {
    // On Linux the named areas are files of the /dev/shm file system.
    return ::stat(("/dev/shm" + SharedAreaPosixName(name)).c_str(), st) == 0;
}

std::size_t SharedAreaSize(int mapping) {
    struct stat st {};
    if (mapping < 0 || ::fstat(mapping, &st) != 0 || st.st_size < 0) return 0;
    return static_cast<std::size_t>(st.st_size);
}

}  // namespace corvane::desktop

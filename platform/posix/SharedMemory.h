// SPDX-License-Identifier: MIT
//
// Named shared memory areas (POSIX shm) in the shape of the Windows file
// mappings that the link uses: create a named mapping (telling whether the name
// already existed), map a view of it, unmap the view, close the mapping.
#pragma once

#include <sys/stat.h>
#include <cstddef>
#include <string>

namespace corvane::desktop {

// The POSIX name of an area: "/" followed by the name.
std::string SharedAreaPosixName(const std::string& name);

// Creates a new named area of the given size. Returns a descriptor (the
// mapping) or -1; *alreadyExists is true when the name was taken, in which case
// nothing is created or changed.
int CreateSharedArea(const std::string& name, std::size_t size, bool* alreadyExists);

// Opens an existing named area for reading and writing; -1 when there is none.
int OpenSharedArea(const std::string& name);

// Maps a writable view of the whole area; nullptr on failure.
void* MapSharedArea(int mapping, std::size_t size);

void UnmapSharedArea(void* view, std::size_t size);

// Closes the mapping; with the name given, also removes the name (the creator
// does this, so that the area is gone once every view is unmapped).
void CloseSharedArea(int mapping, const std::string& nameToRemove = {});

// Whether the area behind an open mapping still carries its name. Its creator
// removes the name when it closes the area, and a new area can take the name
// only after that, so while this holds the name still names this very area,
// told with one look at the descriptor (no walk of the name). False when the
// name is gone or it cannot be told.
bool SharedAreaStillNamed(int mapping);

// Changes whenever this process makes or removes a named area (also through
// RemoveAreasOfDeadProcesses).
unsigned AreaNamesVersion();

// Whether the name is prefix + "<this process's number in hexadecimal>:"...,
// the names this process's own areas take. Such a name is made and removed
// by this process alone (another removes only the areas of processes that no
// longer run), so while AreaNamesVersion() stays the same it names the area
// it named before.
bool IsOwnAreaName(const std::string& name, const std::string& prefix);

// Removes the areas left behind by processes that died without closing them
// (killed, crashed): those named prefix + "<process number in hexadecimal>:"...
// whose process no longer runs and that belong to this user. The process's own
// areas are never touched. Returns how many were removed.
int RemoveAreasOfDeadProcesses(const std::string& prefix);

// Size of the area behind a mapping, 0 on failure.
std::size_t SharedAreaSize(int mapping);

}  // namespace corvane::desktop

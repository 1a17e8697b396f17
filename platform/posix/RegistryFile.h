// SPDX-License-Identifier: MIT
//
// The registry on POSIX: a text file in the format of a registry export, read
// by the hosts' ReadRegistryValue and written by the stand-in simulator's
// install step. docs/registry.md describes it.
//
// Where: $CORVANE_REGISTRY when set, else $XDG_CONFIG_HOME/corvane/registry.ini,
// else $HOME/.config/corvane/registry.ini.
//
// Example:
//     [HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator]
//     "defaulticon"="/opt/fs98/fltsim98.exe,1"
//
// Key paths and value names compare without regard to case, as on Windows.
// A quoted value is a plain string (stored with its terminating zero, as the
// Windows registry stores one); dword:, hex: and hex(n): values are other types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/Host.h"

namespace corvane::desktop {

// The registry file's path (see above).
std::string RegistryFilePath();

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string RegistryRootName(host::RegistryRoot root);

// A value of the registry file at path; nullopt when the file, the key or the
// value is missing. A plain string's text ends with its terminating zero.
std::optional<host::RegistryValue> ReadRegistryValue(const std::string& path,
                                                     host::RegistryRoot root, std::string_view key,
                                                     std::string_view valueName);

// Sets a plain string value in the registry file at path, creating the file,
// its folder and the key as needed and keeping everything else in it. The file
// is replaced in one step (written beside it, then renamed). False when it
// cannot be written; *error then says why.
bool WriteRegistryString(const std::string& path, host::RegistryRoot root, std::string_view key,
                         std::string_view valueName, std::string_view value,
                         std::string* error = nullptr);

// The same on the registry file at RegistryFilePath().
bool WriteRegistryString(host::RegistryRoot root, std::string_view key, std::string_view valueName,
                         std::string_view value, std::string* error = nullptr);

}  // namespace corvane::desktop

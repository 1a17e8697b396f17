// SPDX-License-Identifier: MIT
//
// corvane-registry: reads and writes the stand-in registry file, so that
// scripts can install the simulator's entry and people can look at it.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/RegistryFile.h"

namespace {

void PrintHelp() {
    std::printf(
        "Usage: corvane-registry [--file PATH] COMMAND ...\n"
        "Reads and writes Corvane's stand-in registry file (see docs/registry.md).\n\n"
        "Commands:\n"
        "  where                    print the registry file's path\n"
        "  get KEY NAME             print a value (exit status 1 when it is missing)\n"
        "  set KEY NAME TEXT        set a plain string value\n\n"
        "KEY starts with its root, e.g.\n"
        "  'HKEY_LOCAL_MACHINE\\Software\\CLASSES\\flight simulator'\n\n"
        "Options:\n"
        "  --file PATH              use PATH instead of $CORVANE_REGISTRY,\n"
        "                           $XDG_CONFIG_HOME/corvane/registry.ini or\n"
        "                           ~/.config/corvane/registry.ini\n"
        "  --help                   show this text\n");
}

bool SplitKey(const std::string& full, corvane::host::RegistryRoot* root, std::string* key) {
    const std::size_t slash = full.find('\\');
    const std::string rootName = full.substr(0, slash);
    if (rootName == "HKEY_LOCAL_MACHINE" || rootName == "HKLM") {
        *root = corvane::host::RegistryRoot::LocalMachine;
    } else if (rootName == "HKEY_CURRENT_USER" || rootName == "HKCU") {
        *root = corvane::host::RegistryRoot::CurrentUser;
    } else {
        std::fprintf(stderr,
                     "corvane-registry: the key must start with HKEY_LOCAL_MACHINE\\ or "
                     "HKEY_CURRENT_USER\\ (got \"%s\")\n",
                     full.c_str());
        return false;
    }
    *key = slash == std::string::npos ? std::string() : full.substr(slash + 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string file = corvane::desktop::RegistryFilePath();
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            PrintHelp();
            return 0;
        }
        if (args[i] == "--file") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "corvane-registry: --file needs a path\n");
                return 2;
            }
            file = args[++i];
            continue;
        }
        rest.push_back(args[i]);
    }
    if (rest.empty()) {
        PrintHelp();
        return 2;
    }
    const std::string& command = rest[0];
    corvane::host::RegistryRoot root{};
    std::string key;
    if (command == "where" && rest.size() == 1) {
        std::printf("%s\n", file.c_str());
        return 0;
    }
    if (command == "get" && rest.size() == 3) {
        if (!SplitKey(rest[1], &root, &key))
            return 2;
        auto value = corvane::desktop::ReadRegistryValue(file, root, key, rest[2]);
        if (!value) {
            std::fprintf(stderr, "corvane-registry: no value \"%s\" under %s in %s\n",
                         rest[2].c_str(), rest[1].c_str(), file.c_str());
            return 1;
        }
        std::string text = value->text;
        if (value->isString && !text.empty() && text.back() == '\0')
            text.pop_back();
        if (!value->isString) {
            std::fprintf(stderr, "corvane-registry: the value is not a plain string\n");
            return 1;
        }
        std::printf("%s\n", text.c_str());
        return 0;
    }
    if (command == "set" && rest.size() == 4) {
        if (!SplitKey(rest[1], &root, &key))
            return 2;
        std::string error;
        if (!corvane::desktop::WriteRegistryString(file, root, key, rest[2], rest[3], &error)) {
            std::fprintf(stderr, "corvane-registry: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "corvane-registry: unknown command or wrong arguments (see --help)\n");
    return 2;
}

// SPDX-License-Identifier: MIT
// The registry file from any bytes: values are read without harm, and a value
// set in the file is read back as set (whatever else the file held).
#include "platform/posix/RegistryFile.h"
#include "tests/fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane;
    const std::string& path = fuzz::ScratchFile("-registry.ini");
    fuzz::WriteScratch(path, data, size);
    const char* key = "Software\\CLASSES\\flight simulator";
    for (auto root : {host::RegistryRoot::LocalMachine, host::RegistryRoot::CurrentUser}) {
        (void)desktop::ReadRegistryValue(path, root, key, "defaulticon");
        (void)desktop::ReadRegistryValue(path, root, key, "");
    }
    if (!desktop::WriteRegistryString(path, host::RegistryRoot::LocalMachine, key, "defaulticon",
                                      "/opt/fs98/fltsim98.exe,1")) {
        return 0;
    }
    const auto value =
        desktop::ReadRegistryValue(path, host::RegistryRoot::LocalMachine, key, "defaulticon");
    fuzz::Require(
        value && value->isString && value->text == std::string("/opt/fs98/fltsim98.exe,1") + '\0',
        "a value set in the registry file reads back as set");
    return 0;
}

// SPDX-License-Identifier: MIT
#include "tests/win32/CvcomsLibrary.h"

namespace corvane::win32test {

CvcomsLibrary::CvcomsLibrary(const char* name) {
    module_ = ::LoadLibraryA(name);
    if (module_ == nullptr) {
        error_ = std::string("LoadLibraryA(\"") + name + "\") failed, error " +
                 std::to_string(::GetLastError());
        return;
    }
    Resolve(fsworking, "fsworking");
    Resolve(startit, "startit");
    Resolve(stopit, "stopit");
    Resolve(readDWORD, "readDWORD");
    Resolve(writeDWORD, "writeDWORD");
    Resolve(readxbytes, "readxbytes");
    Resolve(writexbytes, "writexbytes");
    Resolve(startmessage, "startmessage");
    Resolve(sendmessage, "sendmessage");
    Resolve(rawreadxbytes, "rawreadxbytes");
    Resolve(rawwritexbytes, "rawwritexbytes");
    Resolve(rawreadDWORD, "rawreadDWORD");
    Resolve(rawwriteDWORD, "rawwriteDWORD");
    loaded_ = error_.empty();
}

CvcomsLibrary::~CvcomsLibrary() {
    Unload();
}

void CvcomsLibrary::Unload() {
    if (module_ != nullptr)
        ::FreeLibrary(module_);
    module_ = nullptr;
    loaded_ = false;
}

template <typename Function>
void CvcomsLibrary::Resolve(Function& function, const char* exportName) {
    function =
        reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_, exportName)));
    if (function == nullptr) {
        error_ += std::string(error_.empty() ? "" : "; ") + "export " + exportName + " not found";
    }
}

}  // namespace corvane::win32test

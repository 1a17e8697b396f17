// SPDX-License-Identifier: MIT
//
// The link library CVcoms on POSIX: libCVcoms.so, loaded by name at the first
// call into it (the program's folder first, then where the system loader
// looks).
#pragma once

#include <string>

#include "platform/link/LinkLibrary.h"

namespace corvane::desktop {

using link::LinkLibraryError;

class CVcomsLibrary final : public link::LinkLibrary {
  public:
    // Looks for libCVcoms.so in programFolder first, then where the system
    // loader looks. Nothing is loaded until the first call.
    explicit CVcomsLibrary(std::string programFolder);
};

}  // namespace corvane::desktop

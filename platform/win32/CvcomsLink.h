// SPDX-License-Identifier: MIT
//
// The link library CVcoms.dll as the program on Windows calls it: loaded by
// name from the program's folder at the first call (LoadLibrary, then
// GetProcAddress for the thirteen undecorated stdcall exports).
#pragma once

#include <string>

#include "platform/link/LinkLibrary.h"

namespace corvane::win32 {

using link::LinkLibraryError;

class CvcomsLink final : public link::LinkLibrary {
  public:
    // programFolder ends in "\" (empty: the system's search order).
    explicit CvcomsLink(std::string programFolder);
};

}  // namespace corvane::win32

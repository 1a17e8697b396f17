// SPDX-License-Identifier: MIT
//
// Messages to the pilot: the message box.
#pragma once

#include <string>

#include "ports/HostTypes.h"

namespace corvane::host {

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                            MessageBoxIcon icon, MessageBoxButtons buttons) = 0;
};

}  // namespace corvane::host

// SPDX-License-Identifier: MIT
//
// The host: everything the program needs of the platform, as one object made
// of ports by concern (time, windows of other processes, the screen, the
// registry, files and programs, messages, the end of the program). The Qt
// host serves the real program; the headless host (virtual clock, scripted
// input) serves the tests and the harness; the Win32 host the program on
// Windows. Code that needs one concern takes that port alone.
#pragma once

#include "ports/Clock.h"
#include "ports/Dialogs.h"
#include "ports/Files.h"
#include "ports/HostTypes.h"
#include "ports/Lifetime.h"
#include "ports/Registry.h"
#include "ports/Screen.h"
#include "ports/WindowSystem.h"

namespace corvane::host {

class Host : public Clock,
             public WindowSystem,
             public Screen,
             public Registry,
             public Files,
             public Dialogs,
             public Lifetime {
  public:
    ~Host() override = default;
};

}  // namespace corvane::host

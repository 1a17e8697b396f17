// SPDX-License-Identifier: MIT
//
// A picture of a screen area saved as a 24-bit Windows bitmap file (BMP):
// what `corvane.exe --screenshot FILE` writes of the simulator's window with
// Corvane's windows in it.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The host's CopyFile (ports/Host.h) is its own, not the ANSI alias.
#undef CopyFile

#include <string>

namespace corvane::win32ui {

// Copies the screen rectangle and writes it to path. False with *error set
// (naming the file) when the copy or the file fails.
bool SaveScreenArea(const RECT& area, const std::string& path, std::string* error);

}  // namespace corvane::win32ui

// SPDX-License-Identifier: MIT
#include "app/win32ui/Screenshot.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace corvane::win32ui {

bool SaveScreenArea(const RECT& wanted, const std::string& path, std::string* error) {
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT area;
    if (!::IntersectRect(&area, &wanted, &screen)) {
        *error = "the window is not on the screen";
        return false;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screenDc = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ok = ::BitBlt(memory, 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY) != 0;
        ::GdiFlush();
        ::SelectObject(memory, old);
    }
    if (!ok) {
        *error = "the screen could not be copied";
    } else {
        const DWORD stride = DWORD((width * 3 + 3) & ~3);
        const DWORD imageSize = stride * DWORD(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        // Written beside the file first and renamed, so that a reader never
        // meets a half-written picture.
        const std::string partial = path + ".part";
        std::FILE* out = std::fopen(partial.c_str(), "wb");
        ok = out && std::fwrite(&file, sizeof file, 1, out) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
             std::fwrite(bits, 1, imageSize, out) == imageSize;
        if (out && std::fclose(out) != 0)
            ok = false;
        if (ok)
            ok = ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        if (!ok) {
            std::remove(partial.c_str());
            *error = "cannot write " + path;
        }
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screenDc);
    return ok;
}

}  // namespace corvane::win32ui

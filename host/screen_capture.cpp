// Reading back what the screen shows, and writing it as a BMP file.
#include "host/screen_capture.h"

#include "display/screen_density.h"

#include <cstdio>
#include <vector>

namespace {

// The area of source, whose top-left corner may lie anywhere, as an image of its size.
ScreenImage copyArea(HDC source, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    ScreenImage image{
        width, height,
        std::vector<COLORREF>(static_cast<size_t>(width) * static_cast<size_t>(height))};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        return {0, 0, {}};
    }
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // Without CAPTUREBLT, Windows leaves layered windows, the display among them, out.
    BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* copied = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const DWORD bgra = copied[i]; // blue in the low byte
        image.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return image;
}

} // namespace

// Read as a system-aware thread: on a scaled screen, a host that is not
// DPI-aware would get the screen shrunk to 96 dots per inch, smoothed.
ScreenImage captureScreenArea(const RECT& area) {
    DPI_AWARENESS_CONTEXT hostAwareness = seeTheScreenAsItIs();
    HDC screen = GetDC(nullptr);
    ScreenImage image = copyArea(screen, area);
    ReleaseDC(nullptr, screen);
    restoreDpiAwareness(hostAwareness);
    return image;
}

ScreenImage captureScreen(int width, int height) {
    return captureScreenArea({0, 0, width, height});
}

ScreenImage captureDc(HDC source, int width, int height) {
    return copyArea(source, {0, 0, width, height});
}

bool saveBitmap(const ScreenImage& image, const char* path) {
    if (image.pixels.empty()) {
        return false;
    }
    const int rowBytes = (image.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = image.width;
    header.biHeight = -image.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * image.height);

    std::FILE* out = std::fopen(path, "wb");
    if (!out) {
        return false;
    }
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&header, sizeof(header), 1, out);
    std::vector<unsigned char> row(static_cast<size_t>(rowBytes));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF colour = image.at(x, y);
            const size_t offset = static_cast<size_t>(x) * 3;
            row[offset] = GetBValue(colour);
            row[offset + 1] = GetGValue(colour);
            row[offset + 2] = GetRValue(colour);
        }
        std::fwrite(row.data(), row.size(), 1, out);
    }
    return std::fclose(out) == 0;
}

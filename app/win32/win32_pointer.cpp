// The pointer image over the window: the system arrow read into pixels, and
// any image made into a pointer.
#include <vector>

#include "app/shell.h"
#include "app/win32/pointer_pixels.h"
#include "app/win32/win32_backend.h"

namespace {

const LPCSTR SYSTEM_ARROW = MAKEINTRESOURCEA(32512);

// The bitmap's pixels as 32-bit top-down rows, blue in the low byte.
bool readBitmap(HBITMAP bitmap, int32_t width, int32_t height, uint32_t* pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, UINT(height), pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == height;
}

bool readPointer(const ICONINFO& icon, int32_t* width, int32_t* height, uint32_t* pixels) {
    BITMAP shape = {};
    if (!GetObjectA(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof shape, &shape)) return false;
    // A monochrome pointer's mask is measured at its double height.
    if (shape.bmWidth <= 0 || shape.bmHeight <= 0 || shape.bmWidth > POINTER_MAX_SIDE || shape.bmHeight > POINTER_MAX_SIDE)
        return false;
    // The mask has the colour bitmap's height; alone, it holds both halves.
    const int32_t w = shape.bmWidth, maskHeight = shape.bmHeight;
    std::vector<uint32_t> mask(size_t(w) * size_t(maskHeight));
    if (!readBitmap(icon.hbmMask, w, maskHeight, mask.data())) return false;
    if (icon.hbmColor) {
        std::vector<uint32_t> color(size_t(w) * size_t(shape.bmHeight));
        if (!readBitmap(icon.hbmColor, w, shape.bmHeight, color.data())) return false;
        colorPointerPixels(color.data(), mask.data(), w, shape.bmHeight, pixels);
        *height = shape.bmHeight;
    } else {
        monochromePointerPixels(mask.data(), w, maskHeight / 2, pixels);
        *height = maskHeight / 2;
    }
    *width = w;
    return true;
}

HCURSOR makePointer(int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY) {
    const int32_t side = width > height ? width : height;
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = side;
    header.bV5Height = -side;  // top-down
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color || !bits) {
        if (color) DeleteObject(color);
        return nullptr;
    }
    squarePointerBitmap(pixels, width, height, static_cast<uint32_t*>(bits));
    const size_t rowBytes = size_t((side + 15) / 16) * 2;  // monochrome rows are word-aligned
    std::vector<uint8_t> maskBits(rowBytes * size_t(side));
    squarePointerMask(pixels, width, height, maskBits.data(), rowBytes);
    HBITMAP mask = CreateBitmap(side, side, 1, 1, maskBits.data());
    HCURSOR pointer = nullptr;
    if (mask) {
        ICONINFO info = {FALSE, DWORD(hotX), DWORD(hotY), mask, color};
        pointer = CreateIconIndirect(&info);
        DeleteObject(mask);
    }
    DeleteObject(color);
    return pointer;
}

}  // namespace

bool readDefaultPointer(int32_t* width, int32_t* height, uint32_t* pixels, int32_t* hotX, int32_t* hotY) {
    HCURSOR arrow = LoadCursorA(nullptr, SYSTEM_ARROW);
    ICONINFO icon = {};
    if (!arrow || !GetIconInfo(arrow, &icon)) return false;
    const bool read = readPointer(icon, width, height, pixels);
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    if (icon.hbmMask) DeleteObject(icon.hbmMask);
    *hotX = int32_t(icon.xHotspot);
    *hotY = int32_t(icon.yHotspot);
    return read;
}

void initPointer(App* app) {
    std::vector<uint32_t> pixels(size_t(POINTER_MAX_SIDE) * POINTER_MAX_SIDE);
    int32_t width = 0, height = 0, hotX = 0, hotY = 0;
    if (readDefaultPointer(&width, &height, pixels.data(), &hotX, &hotY))
        setPointer(app, width, height, pixels.data(), hotX, hotY);
    else
        setPointer(app, BUILTIN_ARROW_WIDTH, BUILTIN_ARROW_HEIGHT, builtinArrowPixels, 0, 0);
}

// The new pointer is made and shown before the old one is destroyed, so the
// system never holds a destroyed pointer; one that cannot be made leaves the
// old one in place.
void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY) {
    AppBackend* backend = app->backend;
    HCURSOR pointer = nullptr;
    if (pixels && width > 0 && height > 0) {
        pointer = makePointer(width, height, pixels, hotX, hotY);
        if (!pointer) return;
    }
    ShowCursor(FALSE);
    SetCursor(pointer);
    ShowCursor(TRUE);
    if (backend->window) SetClassLongPtrA(backend->window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(pointer));
    if (backend->cursor) DestroyCursor(backend->cursor);
    backend->cursor = pointer;
}

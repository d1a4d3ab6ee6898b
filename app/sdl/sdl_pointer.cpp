// The pointer image as an SDL colour cursor.
#include <cstring>

#include "app/sdl/sdl_backend.h"
#include "app/shell.h"

void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY) {
    // Without an image the pointer is invisible over the window: an SDL
    // cursor made of one transparent pixel, while SDL_ShowCursor stays on.
    static const uint32_t transparent = 0;
    if (!pixels || width <= 0 || height <= 0) {
        pixels = &transparent;
        width = height = 1;
        hotX = hotY = 0;
    }
    const int side = width > height ? width : height;
    SDL_Surface* square = SDL_CreateRGBSurfaceWithFormat(0, side, side, 32, SDL_PIXELFORMAT_RGBA32);
    if (!square) return;
    SDL_FillRect(square, nullptr, 0);
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(static_cast<Uint8*>(square->pixels) + row * square->pitch, pixels + row * width,
                    static_cast<size_t>(width) * 4);
    SDL_Cursor* cursor = SDL_CreateColorCursor(square, hotX, hotY);
    SDL_FreeSurface(square);
    if (!cursor) return;
    SDL_SetCursor(cursor);
    if (app->backend->cursor) SDL_FreeCursor(app->backend->cursor);
    app->backend->cursor = cursor;
}

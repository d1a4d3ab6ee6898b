// The built-in pointer arrow, used where the system arrow cannot be read.
#include "app/shell.h"

namespace {
constexpr uint32_t T = 0x00000000;  // transparent
constexpr uint32_t B = 0xFF000000;  // opaque black
constexpr uint32_t W = 0xFFFFFFFF;  // opaque white
}  // namespace

const uint32_t builtinArrowPixels[BUILTIN_ARROW_WIDTH * BUILTIN_ARROW_HEIGHT] = {
    B, B, T, T, T, T, T, T, T, T, T,
    B, W, B, T, T, T, T, T, T, T, T,
    B, W, W, B, T, T, T, T, T, T, T,
    B, W, W, W, B, T, T, T, T, T, T,
    B, W, W, W, W, B, T, T, T, T, T,
    B, W, W, W, W, W, B, T, T, T, T,
    B, W, W, W, W, W, W, B, T, T, T,
    B, W, W, W, W, W, W, W, B, T, T,
    B, W, W, W, W, W, W, W, W, B, T,
    B, W, W, W, W, W, B, B, B, B, B,
    B, W, W, B, W, W, B, T, T, T, T,
    B, W, B, T, B, W, W, B, T, T, T,
    B, B, T, T, B, W, W, B, T, T, T,
    B, T, T, T, T, B, W, W, B, T, T,
    T, T, T, T, T, B, W, W, B, T, T,
    T, T, T, T, T, T, B, B, B, T, T,
};

// The picture decoder's implementation, compiled here and nowhere else.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#define STB_IMAGE_IMPLEMENTATION
#include "demo/stb_image_config.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#pragma once
// The one configuration of the picture decoder: PNG only, from memory only.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

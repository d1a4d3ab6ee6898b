#pragma once
// Digidrum synthesis: turns a recipe into unsigned 8-bit amplitude bytes, the
// form the chip plays a digidrum in (0 is silence, 255 full level). Integer
// arithmetic only, so a recipe always yields the same bytes.
#include <cstdint>
#include <vector>

#include "generators/compose/score.h"

std::vector<uint8_t> synthesiseSample(const SampleRecipe& recipe);

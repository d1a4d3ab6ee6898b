#pragma once
// A presented frame as the viewer sees it: the presentation multiplies every
// channel v by the fade level L, which the screen shows as round(v x L / 255).
#include <cstdint>
#include <vector>

#include "app/headless/headless.h"
#include "programs/capture/capture_options.h"

// RGB24, frame.width x frame.height, top row first.
void shownRgb(const HeadlessFrame& frame, std::vector<uint8_t>* rgb);

// Every pixel of `rgb` (width x height) as a frame.scale x frame.scale block
// (nearest sampling) placed on frame's canvas; the margins are black.
void scaleNearest(const std::vector<uint8_t>& rgb, int32_t width, int32_t height, const PictureFrame& frame,
                  std::vector<uint8_t>* out);

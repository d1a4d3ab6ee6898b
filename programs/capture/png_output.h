#pragma once
// Numbered PNG pictures of frame steps: DIR/000001.png for step 1, and so on.
#include <cstdint>
#include <string>
#include <vector>

// Makes DIR when it does not exist yet.
bool preparePngFolder(const std::string& dir, std::string* error);

bool writePng(const std::string& dir, int64_t step, const std::vector<uint8_t>& rgb, int32_t width, int32_t height,
              std::string* error);

#pragma once
// The headless backend's own state, shared by its source files.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "app/headless/headless.h"
#include "app/presenter.h"

struct AppBackend {
    HeadlessRecord record = {};
    RingSoundDevice sound;  // played by whoever calls pullSound
    bool keepPixels = false;
    std::function<void(const HeadlessFrame&)> onPresent;  // empty: frames are only recorded
    bool visible = false;
    int32_t pointerX = 0, pointerY = 0;
    std::multimap<int64_t, std::function<void(App*)>> schedule;  // equal steps keep their order

    // What the GL fakes saw since the last draw.
    GLuint nextName = 1;
    int32_t level = 255;
    int32_t uploadWidth = 0, uploadHeight = 0;
    uint64_t uploadHash = 0;
    std::vector<uint32_t> upload;
};

// The presenter's loader over recording fakes; `context` is the AppBackend
// that they report into.
GlFunction recordingGlProc(const char* name, void* context);
void uninstallRecordingGl(AppBackend* backend);

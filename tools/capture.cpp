// Offline capture: runs the demo on the headless backend and writes chosen
// frame steps as PNG pictures, darkened by their fade level as on screen.
//
//   capture OUT_PREFIX [--space STEP] STEP...
//
// writes OUT_PREFIX-<step>.png for every STEP (frame steps count from 1);
// --space queues a Space press in that step.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/headless/headless.h"
#include "demo/demo_state.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

bool parseStep(const char* text, int64_t* step) {
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || value < 1) return false;
    *step = value;
    return true;
}

// The presentation multiplies every channel by level / 255; the picture
// on screen is opaque.
std::vector<unsigned char> shownBytes(const HeadlessFrame& frame) {
    std::vector<unsigned char> bytes(frame.pixels.size() * 4);
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            const uint32_t value = (frame.pixels[i] >> (8 * channel)) & 0xFFu;
            bytes[i * 4 + channel] = static_cast<unsigned char>(std::lround(value * frame.level / 255.0));
        }
        bytes[i * 4 + 3] = 255;
    }
    return bytes;
}

int usage() {
    std::fprintf(stderr, "usage: capture OUT_PREFIX [--space STEP] STEP...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string prefix = argv[1];
    std::set<int64_t> chosen;
    std::vector<int64_t> spaceSteps;
    for (int i = 2; i < argc; ++i) {
        int64_t step = 0;
        const bool space = std::strcmp(argv[i], "--space") == 0;
        if (space && ++i >= argc) return usage();
        if (!parseStep(argv[i], &step)) {
            std::fprintf(stderr, "capture: not a frame step: %s\n", argv[i]);
            return 2;
        }
        if (space) spaceSteps.push_back(step);
        else chosen.insert(step);
    }
    if (chosen.empty()) return usage();

    App* app = createHeadlessApp();
    if (app == nullptr) return 1;
    // Copies of the upload are kept only in the chosen steps.
    for (int64_t step : chosen) {
        for (int64_t at : {step, step + 1})
            headlessAtStep(app, at, [at, &chosen](App* a) { headlessKeepPixels(a, chosen.count(at) != 0); });
    }
    for (int64_t step : spaceSteps) headlessScheduleEvent(app, step, AppEvent{EVENT_KEY_DOWN, {KEY_SPACE}});
    appProc(app, nullptr);

    int result = 0;
    std::set<int64_t> written;
    for (const HeadlessFrame& frame : headlessRecord(app).frames) {
        if (frame.pixels.empty() || chosen.count(frame.step) == 0) continue;
        const std::string path = prefix + "-" + std::to_string(frame.step) + ".png";
        const std::vector<unsigned char> bytes = shownBytes(frame);
        if (!stbi_write_png(path.c_str(), frame.width, frame.height, 4, bytes.data(), frame.width * 4)) {
            std::fprintf(stderr, "capture: cannot write %s\n", path.c_str());
            result = 1;
            continue;
        }
        std::printf("%s (level %d)\n", path.c_str(), frame.level);
        written.insert(frame.step);
    }
    for (int64_t step : chosen) {
        if (written.count(step) == 0) {
            std::fprintf(stderr, "capture: step %lld was not presented\n", static_cast<long long>(step));
            result = 1;
        }
    }
    destroyHeadlessApp(app);
    return result;
}

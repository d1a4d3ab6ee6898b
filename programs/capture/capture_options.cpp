#include "programs/capture/capture_options.h"

#include "demo/demo_state.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "programs/capture/output_clash.h"

namespace {

const char USAGE[] =
    "usage: vitrelume-capture [--frames N] [--space-at STEP]... [--scale K | --size WxH]\n"
    "                         [--rawvideo FILE|-] [--wav FILE] [--video FILE.mp4]\n"
    "                         [--png DIR [--shot STEP]...]\n"
    "Runs the production on the headless backend. Frame steps count from 1;\n"
    "without --frames the whole production is captured (Space is pressed once\n"
    "the song has played through). N and STEP: 1 to 1000000; K: 1 to 8.\n"
    "--size: pictures of W x H (320x200 to 7680x4320), the production at the\n"
    "largest whole-number scale that fits, centred on black; --video then\n"
    "converts to BT.709 and needs an even W and H.\n";

int usage(const std::string& problem) {
    std::fprintf(stderr, "vitrelume-capture: %s\n%s", problem.c_str(), USAGE);
    return 2;
}

bool parseWhole(const char* text, int64_t low, int64_t high, int64_t* value) {
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || number < low || number > high) return false;
    *value = number;
    return true;
}

// "WxH": two plain whole numbers, each in range.
bool parseSize(const std::string& text, int32_t* width, int32_t* height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const std::string w = text.substr(0, x), h = text.substr(x + 1);
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    int64_t a = 0, b = 0;
    if (!digits(w) || !digits(h) || !parseWhole(w.c_str(), MIN_CAPTURE_WIDTH, MAX_CAPTURE_WIDTH, &a) ||
        !parseWhole(h.c_str(), MIN_CAPTURE_HEIGHT, MAX_CAPTURE_HEIGHT, &b))
        return false;
    *width = int32_t(a);
    *height = int32_t(b);
    return true;
}

PictureFrame scaledFrame(int32_t scale) {
    PictureFrame f;
    f.scale = scale;
    f.width = FRAMEBUFFER_WIDTH * scale;
    f.height = FRAMEBUFFER_HEIGHT * scale;
    return f;
}

PictureFrame sizedFrame(int32_t width, int32_t height) {
    PictureFrame f;
    f.width = width;
    f.height = height;
    f.scale = std::min(width / FRAMEBUFFER_WIDTH, height / FRAMEBUFFER_HEIGHT);
    f.left = (width - FRAMEBUFFER_WIDTH * f.scale) / 2;
    f.top = (height - FRAMEBUFFER_HEIGHT * f.scale) / 2;
    return f;
}

}  // namespace

int parseCaptureOptions(int argc, char** argv, CaptureOptions* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return -1;
        }
        const bool known = arg == "--frames" || arg == "--space-at" || arg == "--scale" || arg == "--size" ||
                           arg == "--rawvideo" ||
                           arg == "--wav" || arg == "--video" || arg == "--png" || arg == "--shot";
        if (!known) return usage(arg[0] == '-' ? "unknown option " + arg : "unexpected argument " + arg);
        if (i + 1 >= argc) return usage(arg + " needs a value");
        const char* value = argv[++i];
        int64_t number = 0;
        if (arg == "--frames" || arg == "--space-at" || arg == "--shot") {
            if (!parseWhole(value, 1, MAX_CAPTURE_STEPS, &number))
                return usage(arg + " needs a frame step from 1 to 1000000, not " + value);
            if (arg == "--frames") o->frames = number;
            else if (arg == "--space-at") o->spaceSteps.push_back(number);
            else o->shots.insert(number);
            continue;
        }
        if (arg == "--scale") {
            if (!parseWhole(value, 1, MAX_CAPTURE_SCALE, &number))
                return usage(std::string("--scale needs a whole number from 1 to 8, not ") + value);
            o->scale = int32_t(number);
            continue;
        }
        if (arg == "--size") {
            if (!parseSize(value, &o->width, &o->height))
                return usage(std::string("--size needs WIDTHxHEIGHT from 320x200 to 7680x4320, not ") + value);
            continue;
        }
        std::string* path = arg == "--rawvideo" ? &o->rawvideoPath
                            : arg == "--wav"    ? &o->wavPath
                            : arg == "--video"  ? &o->videoPath
                                                : &o->pngDir;
        if (!path->empty()) return usage(arg + " given twice");
        if (*value == '\0') return usage(arg + " needs a name");
        // A WAV's header is completed at the end and a video is muxed from files.
        if (std::strcmp(value, "-") == 0 && arg != "--rawvideo") return usage(arg + " needs a file, not -");
        *path = value;
    }
    if (o->rawvideoPath.empty() && o->wavPath.empty() && o->videoPath.empty() && o->pngDir.empty())
        return usage("nothing to do: give --rawvideo, --wav, --video or --png");
    if (!o->shots.empty() && o->pngDir.empty()) return usage("--shot needs --png DIR");
    if (o->width > 0) {
        if (o->scale > 0) return usage("--size and --scale exclude each other");
        if (o->rawvideoPath.empty() && o->videoPath.empty() && o->pngDir.empty())
            return usage("--size needs --rawvideo, --video or --png");
        // H.264 in 4:2:0 halves the colour planes both ways.
        if (!o->videoPath.empty() && (o->width % 2 != 0 || o->height % 2 != 0))
            return usage("--video needs an even width and height, not --size " + std::to_string(o->width) + "x" +
                         std::to_string(o->height));
    }
    if (o->frames > 0) {
        for (int64_t step : o->shots)
            if (step > o->frames) return usage("--shot " + std::to_string(step) + " lies after the last frame step");
        for (int64_t step : o->spaceSteps)
            if (step > o->frames)
                return usage("--space-at " + std::to_string(step) + " lies after the last frame step");
    }
    const std::string clash = outputClash(*o);
    if (!clash.empty()) return usage(clash);
    return 0;
}

PictureFrame pictureFrame(const CaptureOptions& o) {
    return o.width > 0 ? sizedFrame(o.width, o.height) : scaledFrame(o.scale ? o.scale : 1);
}

PictureFrame videoFrame(const CaptureOptions& o) {
    return o.width > 0 ? sizedFrame(o.width, o.height) : scaledFrame(o.scale ? o.scale : DEFAULT_VIDEO_SCALE);
}

#include "programs/capture/capture_options.h"

#include "demo/demo_state.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "programs/capture/output_clash.h"

namespace {

const char USAGE[] =
    "usage: vitrelume-capture [--frames N] [--space-at STEP]... [--scale K | --size WxH]\n"
    "                         [--rawvideo FILE|-] [--wav FILE] [--video FILE.mp4]\n"
    "                         [--png DIR [--shot STEP]...]\n";
const char ABOUT[] =
    "Runs the production on the headless backend. Frame steps count from 1;\n"
    "without --frames the whole production is captured (Space is pressed once\n"
    "the song has played through). N and STEP: 1 to 1000000; K: 1 to 8.\n"
    "--size: pictures of W x H (320x200 to 7680x4320), the production at the\n"
    "largest whole-number scale that fits, centred on black; --video then\n"
    "converts to BT.709 and needs an even W and H.\n";

bool parseWhole(const std::string& text, int64_t low, int64_t high, int64_t* value) {
    int64_t number = 0;
    if (!readWholeNumber(text, &number) || number < low || number > high) return false;
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
    if (!digits(w) || !digits(h) || !parseWhole(w, MIN_CAPTURE_WIDTH, MAX_CAPTURE_WIDTH, &a) ||
        !parseWhole(h, MIN_CAPTURE_HEIGHT, MAX_CAPTURE_HEIGHT, &b))
        return false;
    *width = int32_t(a);
    *height = int32_t(b);
    return true;
}

bool isSize(const std::string& text) {
    int32_t width = 0, height = 0;
    return parseSize(text, &width, &height);
}

// A WAV's header is completed at the end and a video is muxed from files:
// only the raw pictures may go to standard output.
bool isFile(const std::string& text) { return !text.empty() && text != "-"; }
bool isFileOrDash(const std::string& text) { return !text.empty(); }

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
    CommandLine line("vitrelume-capture", USAGE, ABOUT);
    CLI::App& app = line.app;
    // Numbers are taken as text and read by the checks' own rules.
    const char* const stepRange = "needs a frame step from 1 to 1000000";
    std::string frames, scale, size;
    std::vector<std::string> spaceSteps, shots;
    app.add_option("--frames", frames, "Stop after N frame steps")
        ->type_name("N")
        ->check(wholeNumberIn(1, MAX_CAPTURE_STEPS, stepRange));
    app.add_option("--space-at", spaceSteps, "Press Space in frame step STEP (repeatable)")
        ->type_name("STEP")
        ->allow_extra_args(false)
        ->check(wholeNumberIn(1, MAX_CAPTURE_STEPS, stepRange));
    app.add_option("--scale", scale, "Pictures K times larger (the video's scale is 4 unless given)")
        ->type_name("K")
        ->check(wholeNumberIn(1, MAX_CAPTURE_SCALE, "needs a whole number from 1 to 8"));
    app.add_option("--size", size, "Pictures of W x H, the production scaled to fit and centred")
        ->type_name("WxH")
        ->check(acceptedWhen(isSize, "needs WIDTHxHEIGHT from 320x200 to 7680x4320"));
    app.add_option("--rawvideo", o->rawvideoPath, "Raw RGB24 pictures into FILE (-: standard output)")
        ->type_name("FILE|-")
        ->check(acceptedWhen(isFileOrDash, "needs a file name or -"));
    const char* const fileOnly = "needs a file name (only --rawvideo writes to standard output)";
    app.add_option("--wav", o->wavPath, "The sound track as a WAV file")
        ->type_name("FILE")
        ->check(acceptedWhen(isFile, fileOnly));
    app.add_option("--video", o->videoPath, "An mp4 with the sound track (through ffmpeg)")
        ->type_name("FILE.mp4")
        ->check(acceptedWhen(isFile, fileOnly));
    app.add_option("--png", o->pngDir, "Every frame step as DIR/NNNNNN.png")
        ->type_name("DIR")
        ->check(acceptedWhen(isFile, "needs a folder name"));
    app.add_option("--shot", shots, "With --png: only frame step STEP (repeatable)")
        ->type_name("STEP")
        ->allow_extra_args(false)
        ->check(wholeNumberIn(1, MAX_CAPTURE_STEPS, stepRange));
    const int ended = line.parse(argc, argv);
    if (ended >= 0) return ended == 0 ? -1 : ended;

    int64_t number = 0;
    if (parseWhole(frames, 1, MAX_CAPTURE_STEPS, &number)) o->frames = number;
    if (parseWhole(scale, 1, MAX_CAPTURE_SCALE, &number)) o->scale = int32_t(number);
    for (const std::string& step : spaceSteps)
        if (parseWhole(step, 1, MAX_CAPTURE_STEPS, &number)) o->spaceSteps.push_back(number);
    for (const std::string& step : shots)
        if (parseWhole(step, 1, MAX_CAPTURE_STEPS, &number)) o->shots.insert(number);
    if (!size.empty()) parseSize(size, &o->width, &o->height);
    const auto refuse = [&line](const std::string& problem) { return line.refuse(problem); };

    if (o->rawvideoPath.empty() && o->wavPath.empty() && o->videoPath.empty() && o->pngDir.empty())
        return refuse("nothing to do: give --rawvideo, --wav, --video or --png");
    if (!o->shots.empty() && o->pngDir.empty()) return refuse("--shot needs --png DIR");
    if (o->width > 0) {
        if (o->scale > 0) return refuse("--size and --scale exclude each other");
        if (o->rawvideoPath.empty() && o->videoPath.empty() && o->pngDir.empty())
            return refuse("--size needs --rawvideo, --video or --png");
        // H.264 in 4:2:0 halves the colour planes both ways.
        if (!o->videoPath.empty() && (o->width % 2 != 0 || o->height % 2 != 0))
            return refuse("--video needs an even width and height, not --size " + std::to_string(o->width) + "x" +
                         std::to_string(o->height));
    }
    if (o->frames > 0) {
        for (int64_t step : o->shots)
            if (step > o->frames) return refuse("--shot " + std::to_string(step) + " lies after the last frame step");
        for (int64_t step : o->spaceSteps)
            if (step > o->frames)
                return refuse("--space-at " + std::to_string(step) + " lies after the last frame step");
    }
    const std::string clash = outputClash(*o);
    if (!clash.empty()) return refuse(clash);
    return 0;
}

PictureFrame pictureFrame(const CaptureOptions& o) {
    return o.width > 0 ? sizedFrame(o.width, o.height) : scaledFrame(o.scale ? o.scale : 1);
}

PictureFrame videoFrame(const CaptureOptions& o) {
    return o.width > 0 ? sizedFrame(o.width, o.height) : scaledFrame(o.scale ? o.scale : DEFAULT_VIDEO_SCALE);
}

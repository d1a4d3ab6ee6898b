#pragma once
// The command line of vitrelume-capture.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

enum : int32_t {
    MAX_CAPTURE_STEPS = 1000000,  // about 4.6 hours; keeps the WAV under its 4 GB limit
    MAX_CAPTURE_SCALE = 8,        // 2,560 x 1,600
    DEFAULT_VIDEO_SCALE = 4,
    MIN_CAPTURE_WIDTH = 320,  // --size: at least the picture at scale 1
    MIN_CAPTURE_HEIGHT = 200,
    MAX_CAPTURE_WIDTH = 7680,  // --size: at most 8K
    MAX_CAPTURE_HEIGHT = 4320,
};

// Where the pictures go: the framebuffer scaled by `scale` with nearest
// sampling, its top left corner at (left, top) of a black width x height canvas.
struct PictureFrame {
    int32_t width = 0, height = 0;
    int32_t scale = 1;
    int32_t left = 0, top = 0;
};

struct CaptureOptions {
    int64_t frames = 0;  // stop after this many frame steps; 0: the whole production
    std::vector<int64_t> spaceSteps;
    int32_t scale = 0;  // 0: not given (pictures at 1, the video at DEFAULT_VIDEO_SCALE)
    int32_t width = 0, height = 0;  // --size; 0: not given
    std::string rawvideoPath;  // "-": standard output
    std::string wavPath;
    std::string videoPath;
    std::string pngDir;
    std::set<int64_t> shots;  // with pngDir: only these steps; empty: every step
};

// 0 when the options are usable; -1 after --help or --version printed what
// they print; otherwise the exit code: 2 (bad arguments) after the problem
// and the usage were printed, 1 when standard output could not take them.
int parseCaptureOptions(int argc, char** argv, CaptureOptions* options);

// The canvas of --rawvideo and --png, and of --video.
PictureFrame pictureFrame(const CaptureOptions& o);
PictureFrame videoFrame(const CaptureOptions& o);

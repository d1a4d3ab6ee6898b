#include "programs/capture/capture_session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "demo/demo_state.h"
#include "programs/capture/abort_cleanup.h"
#include "programs/capture/png_output.h"
#include "programs/capture/shown_frame.h"
#include "ym/ym_music.h"

namespace {

const int64_t FADE_OUT_STEPS = 60;  // the main scene's fade after Space; only for the bar

[[noreturn]] void fail(CaptureSession* s, const std::string& reason) {
    s->progress.finish();
    abortCapture(reason);
}

void check(CaptureSession* s, bool ok, const std::string& error) {
    if (!ok) fail(s, error);
}

// One pass of the loaded song in output frames; 0 when nothing plays.
int64_t songFrames(const YmMusic* music) {
    if (music == nullptr || !music->isLoaded()) return 0;
    return music->info().length;
}

// The whole production ends with Space in the first step after the song
// has played once through, then the scene's fade out.
void pressSpaceAfterTheSong(CaptureSession* s, int64_t step) {
    if (s->options.frames > 0 || s->spaceAtSongEnd) return;
    s->spaceAtSongEnd = true;
    const int64_t songEnd = s->sound.firstCallbackFrame + songFrames(demoState.music);
    const int64_t lastSongStep = (songEnd + STEP_SOUND_FRAMES - 1) / STEP_SOUND_FRAMES;
    const int64_t spaceStep = std::max(step + 1, lastSongStep + 1);
    headlessScheduleEvent(s->app, spaceStep, AppEvent{EVENT_KEY_DOWN, {KEY_SPACE, 0, 0, 0, 0, 0}});
    s->expectedSteps = spaceStep + FADE_OUT_STEPS;
}

void onStep(CaptureSession* s, int64_t step) {
    if (s->options.frames > 0 && step > s->options.frames) {
        // Inside step N + 1's pump: the production would go on, the capture ends.
        finishCapture(s);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    s->steps = step;
    std::string error;
    if (nextStepSound(&s->sound, s->app, s->stepSamples.data())) pressSpaceAfterTheSong(s, step);
    if (!s->options.wavPath.empty())
        check(s, writeWav(&s->wav, s->stepSamples.data(), STEP_SOUND_FRAMES, &error), error);
    if (!s->options.videoPath.empty())
        check(s, writeVideoSound(&s->video, s->stepSamples.data(), STEP_SOUND_FRAMES, &error), error);
    if (s->showProgress && s->expectedSteps > 0) s->progress.update(step, s->expectedSteps);
    headlessAtStep(s->app, step + 1, [s, step](App*) { onStep(s, step + 1); });
}

bool sameCanvas(const PictureFrame& a, const PictureFrame& b) {
    return a.width == b.width && a.height == b.height && a.scale == b.scale && a.left == b.left && a.top == b.top;
}

// The shown picture on `canvas`: itself when that is the framebuffer, else scaled into `buffer`.
const std::vector<uint8_t>* placed(const std::vector<uint8_t>& shown, const HeadlessFrame& frame,
                                   const PictureFrame& canvas, std::vector<uint8_t>* buffer) {
    if (canvas.scale == 1 && canvas.width == frame.width && canvas.height == frame.height) return &shown;
    scaleNearest(shown, frame.width, frame.height, canvas, buffer);
    return buffer;
}

void onFrame(CaptureSession* s, const HeadlessFrame& frame) {
    // Exactly one whole picture per frame step keeps the streams in step.
    if (frame.step != s->steps || frame.step != s->presented + 1 || frame.width != FRAMEBUFFER_WIDTH ||
        frame.height != FRAMEBUFFER_HEIGHT || frame.pixels.size() != size_t(frame.width) * size_t(frame.height))
        fail(s, "frame step " + std::to_string(frame.step) + " presented an unexpected picture");
    s->presented = frame.step;
    shownRgb(frame, &s->shown);
    const CaptureOptions& o = s->options;
    std::string error;

    const PictureFrame canvas = pictureFrame(o);
    const std::vector<uint8_t>* pictures = nullptr;
    const bool shot = !o.pngDir.empty() && (o.shots.empty() || o.shots.count(frame.step) != 0);
    if (!o.rawvideoPath.empty() || shot) {
        pictures = placed(s->shown, frame, canvas, &s->pictures);
        if (!o.rawvideoPath.empty())
            check(s, writeOutput(&s->rawvideo, pictures->data(), pictures->size(), &error), error);
        if (shot) check(s, writePng(o.pngDir, frame.step, *pictures, canvas.width, canvas.height, &error), error);
    }
    if (!o.videoPath.empty()) {
        const PictureFrame videoCanvas = videoFrame(o);
        const std::vector<uint8_t>* picture = pictures != nullptr && sameCanvas(videoCanvas, canvas)
                                                  ? pictures
                                                  : placed(s->shown, frame, videoCanvas, &s->videoPicture);
        check(s, writeVideoPicture(&s->video, picture->data(), &error), error);
    }
}

}  // namespace

bool openCapture(CaptureSession* s, std::string* error) {
    const CaptureOptions& o = s->options;
    std::string ffmpeg;
    // Before any file is made: a missing encoder must leave nothing behind.
    if (!o.videoPath.empty() && !findFfmpeg(&ffmpeg, error)) return false;
    if (!o.pngDir.empty() && !preparePngFolder(o.pngDir, error)) return false;
    if (!o.rawvideoPath.empty() && !openOutput(&s->rawvideo, o.rawvideoPath, error)) return false;
    if (!o.wavPath.empty() && !openWav(&s->wav, o.wavPath, error)) return false;
    const PictureFrame frame = videoFrame(o);
    // A sized video is for video sites: BT.709 throughout; the default keeps its BT.601 conversion.
    const VideoColours colours = o.width > 0 ? VIDEO_BT709 : VIDEO_BT601;
    if (!o.videoPath.empty() && !openVideo(&s->video, o.videoPath, ffmpeg, frame.width, frame.height, colours, error))
        return false;
    s->stepSamples.assign(size_t(STEP_SOUND_FRAMES) * 2, 0);
    s->expectedSteps = o.frames;
    s->showProgress = isatty(STDERR_FILENO) != 0;
    return true;
}

void attachCapture(CaptureSession* s, App* app) {
    s->app = app;
    headlessKeepPixels(app, true);
    headlessOnPresent(app, [s](const HeadlessFrame& frame) { onFrame(s, frame); });
    headlessAtStep(app, 1, [s](App*) { onStep(s, 1); });
    for (int64_t step : s->options.spaceSteps)
        headlessScheduleEvent(app, step, AppEvent{EVENT_KEY_DOWN, {KEY_SPACE, 0, 0, 0, 0, 0}});
}

void finishCapture(CaptureSession* s) {
    s->progress.finish();
    const CaptureOptions& o = s->options;
    for (int64_t shot : o.shots) {
        if (shot > s->presented)
            fail(s, "frame step " + std::to_string(shot) + " was never presented: the production ended after " +
                        std::to_string(s->presented) + " frame steps");
    }
    std::string error;
    if (!o.rawvideoPath.empty()) check(s, closeOutput(&s->rawvideo, &error), error);
    if (!o.wavPath.empty()) check(s, closeWav(&s->wav, &error), error);
    if (!o.videoPath.empty()) check(s, closeVideo(&s->video, &error), error);
    if (o.frames > s->presented)
        std::fprintf(stderr, "vitrelume-capture: the production ended after %lld of %lld frame steps\n",
                     static_cast<long long>(s->presented), static_cast<long long>(o.frames));
    std::fprintf(stderr, "vitrelume-capture: %lld frame steps, %.2f s\n", static_cast<long long>(s->presented),
                 double(s->presented) / 60.0);
}

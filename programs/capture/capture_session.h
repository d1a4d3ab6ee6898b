#pragma once
// One capture: the outputs, the production running on the headless backend,
// and what is written in each frame step. Frames are streamed out as they are
// presented; each step's sound is written in that step's message pump.
#include <cstdint>
#include <string>
#include <vector>

#include "app/headless/headless.h"
#include "programs/capture/capture_options.h"
#include "programs/capture/output_file.h"
#include "programs/capture/step_sound.h"
#include "programs/capture/video_output.h"
#include "cli/progress_bar.h"

struct CaptureSession {
    CaptureOptions options;
    App* app = nullptr;
    OutputFile rawvideo;
    WavOutput wav;
    VideoOutput video;
    StepSound sound;
    bool spaceAtSongEnd = false;  // whole production: the Space press has been queued
    bool showProgress = false;
    ProgressBar progress;
    int64_t steps = 0;          // frame steps begun
    int64_t presented = 0;      // frames written
    int64_t expectedSteps = 0;  // for the bar; 0 while unknown
    std::vector<uint8_t> shown, pictures, videoPicture;
    std::vector<int16_t> stepSamples;
};

// Makes the outputs (and starts the encoder); false with the reason.
bool openCapture(CaptureSession* session, std::string* error);
// Hooks the session into a fresh headless App before appProc runs on it.
void attachCapture(CaptureSession* session, App* app);
// Completes every output after the last frame step; exits with 1 on failure.
void finishCapture(CaptureSession* session);

#pragma once
// The mp4 made by Debian's ffmpeg program: H.264 (yuv420p) pictures at 60
// frames a second and AAC sound, which browsers play. The pictures are
// encoded while the production runs; the sound track is kept in a WAV beside
// them and muxed in at the end. Every intermediate file is temporary, and
// the mp4 appears under its name only when it is complete.
#include <cstdint>
#include <string>

#include "tools/capture/child_process.h"
#include "tools/capture/output_file.h"

struct VideoOutput {
    std::string path, ffmpeg;
    std::string picturesPath, soundPath, muxPath;  // temporary, beside `path`
    int32_t width = 0, height = 0;
    ChildProcess encoder;
    WavOutput sound;
};

// Fails with a message naming the Debian package when ffmpeg is not installed.
bool findFfmpeg(std::string* ffmpeg, std::string* error);

bool openVideo(VideoOutput* video, const std::string& path, const std::string& ffmpeg, int32_t width,
               int32_t height, std::string* error);
bool writeVideoPicture(VideoOutput* video, const uint8_t* rgb, std::string* error);
bool writeVideoSound(VideoOutput* video, const int16_t* samples, int32_t frames, std::string* error);
bool closeVideo(VideoOutput* video, std::string* error);

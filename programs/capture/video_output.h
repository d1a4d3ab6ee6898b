#pragma once
// The mp4 made by Debian's ffmpeg program: H.264 (yuv420p, limited range)
// pictures at 60 frames a second and AAC sound, which browsers play, tagged
// with the matrix it was converted with, its index at the front. The pictures are
// encoded while the production runs; the sound track is kept in a WAV beside
// them and muxed in at the end. Every intermediate file is temporary, and
// the mp4 appears under its name only when it is complete.
#include <cstdint>
#include <string>

#include "programs/capture/child_process.h"
#include "programs/capture/output_file.h"

// How the RGB pictures become YUV; the file is tagged to match, so players
// need not guess. Both are limited range with BT.709 primaries and transfer
// (the pictures are sRGB); VIDEO_BT601 keeps the matrix of the first videos.
enum VideoColours { VIDEO_BT601, VIDEO_BT709 };

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
               int32_t height, VideoColours colours, std::string* error);
bool writeVideoPicture(VideoOutput* video, const uint8_t* rgb, std::string* error);
bool writeVideoSound(VideoOutput* video, const int16_t* samples, int32_t frames, std::string* error);
bool closeVideo(VideoOutput* video, std::string* error);

#include "programs/capture/video_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cli/atomic_file.h"

namespace {

std::vector<std::string> quiet(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"-hide_banner", "-loglevel", "error", "-nostats"});
    return arguments;
}

}  // namespace

bool findFfmpeg(std::string* ffmpeg, std::string* error) {
    *ffmpeg = findProgram("ffmpeg");
    if (!ffmpeg->empty()) return true;
    *error = "--video needs the ffmpeg program, which is not in PATH (install the Debian package ffmpeg)";
    return false;
}

bool openVideo(VideoOutput* video, const std::string& path, const std::string& ffmpeg, int32_t width,
               int32_t height, VideoColours colours, std::string* error) {
    // The finished file is renamed over `path`: never over a device or a folder.
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        *error = path + " exists and is not a regular file";
        return false;
    }
    video->path = path;
    video->ffmpeg = ffmpeg;
    video->width = width;
    video->height = height;
    if (!createTemporaryBeside(path, "pictures", ".mp4", &video->picturesPath, error) ||
        !createTemporaryBeside(path, "sound", ".wav", &video->soundPath, error) ||
        !createTemporaryBeside(path, "partial", ".mp4", &video->muxPath, error) ||
        !openWav(&video->sound, video->soundPath, error))
        return false;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    // The conversion is named rather than left to defaults, and the stream
    // carries the same names (in the H.264 headers and the mp4's colr box).
    // Area sampling takes each colour sample from the 2 x 2 pixels it
    // covers: on whole-number scaled pixel art no colour bleeds into a
    // neighbouring block.
    // x264's output depends on its thread count, which by default follows the
    // machine's cores: a fixed count gives the same bytes on any machine.
    const bool bt709 = colours == VIDEO_BT709;
    const std::string matrix = bt709 ? "bt709" : "smpte170m";
    const std::string convert = bt709 ? "scale=out_color_matrix=bt709:out_range=tv:flags=area,format=yuv420p"
                                      : "scale=out_color_matrix=bt601:out_range=tv,format=yuv420p";
    return startProgram(ffmpeg,
                        quiet({"-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size, "-r", "60", "-i", "pipe:0", "-an",
                               "-vf", convert, "-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-threads", "4",
                               "-colorspace", matrix, "-color_primaries", "bt709", "-color_trc", "bt709",
                               "-color_range", "tv", "-fflags", "+bitexact", "-f", "mp4", "-y", video->picturesPath}),
                        true, &video->encoder, error);
}

bool writeVideoPicture(VideoOutput* video, const uint8_t* rgb, std::string* error) {
    const size_t size = size_t(video->width) * size_t(video->height) * 3;
    if (std::fwrite(rgb, 1, size, video->encoder.input) == size) return true;
    // A closed pipe: the encoder has gone; its own status says why.
    const int code = errno;
    if (!finishProgram(&video->encoder, error)) return false;
    *error = "cannot write to ffmpeg: " + std::string(std::strerror(code));
    return false;
}

bool writeVideoSound(VideoOutput* video, const int16_t* samples, int32_t frames, std::string* error) {
    return writeWav(&video->sound, samples, frames, error);
}

bool closeVideo(VideoOutput* video, std::string* error) {
    if (!finishProgram(&video->encoder, error) || !closeWav(&video->sound, error)) return false;
    ChildProcess mux;
    const bool muxed =
        startProgram(video->ffmpeg,
                     quiet({"-nostdin", "-i", video->picturesPath, "-i", video->soundPath, "-map", "0:v:0", "-map",
                            "1:a:0", "-c:v", "copy", "-c:a", "aac", "-b:a", "192k", "-movflags",
                            "+faststart+write_colr", "-fflags", "+bitexact", "-f", "mp4", "-y", video->muxPath}),
                     false, &mux, error) &&
        finishProgram(&mux, error);
    if (!muxed || !renameIntoPlace(video->muxPath, video->path, error)) return false;
    removeTemporary(video->picturesPath);
    removeTemporary(video->soundPath);
    return true;
}

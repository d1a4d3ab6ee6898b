#include "programs/capture/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "cli/wav_format.h"

namespace {

bool failed(const OutputFile& out, const char* what, int code, std::string* error) {
    *error = std::string("cannot ") + what + " " + outputName(out) + ": " + std::strerror(code);
    return false;
}

}  // namespace

std::string outputName(const OutputFile& out) { return out.path == "-" ? "standard output" : out.path; }

bool openOutput(OutputFile* out, const std::string& path, std::string* error) {
    out->path = path;
    if (path == "-") {
        if (isatty(STDOUT_FILENO)) {
            *error = "standard output is a terminal: redirect it, or give --rawvideo a file";
            return false;
        }
        // The stream gets a descriptor of its own and standard output goes to
        // standard error, so that no log line can land among the pictures.
        std::fflush(stdout);
        const int fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
        out->file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
        if (out->file == nullptr) return failed(*out, "open", errno, error);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    } else {
        if (!openAtomicFile(&out->atomic, path, error)) return false;
        out->file = out->atomic.file;
    }
    static const size_t BUFFER = 1 << 20;
    std::setvbuf(out->file, nullptr, _IOFBF, BUFFER);
    return true;
}

bool writeOutput(OutputFile* out, const void* data, size_t size, std::string* error) {
    if (std::fwrite(data, 1, size, out->file) == size) return true;
    return failed(*out, "write", errno, error);
}

bool closeOutput(OutputFile* out, std::string* error) {
    FILE* file = out->file;
    out->file = nullptr;
    if (out->path != "-") return commitAtomicFile(&out->atomic, error);
    if (std::fflush(file) != 0) {
        const int code = errno;
        std::fclose(file);
        return failed(*out, "write", code, error);
    }
    if (std::fclose(file) != 0) return failed(*out, "write", errno, error);
    return true;
}

bool openWav(WavOutput* wav, const std::string& path, std::string* error) {
    wav->frames = 0;
    if (!openOutput(&wav->file, path, error)) return false;
    const std::vector<uint8_t> header = wavHeader(0);  // completed by closeWav
    return writeOutput(&wav->file, header.data(), header.size(), error);
}

bool writeWav(WavOutput* wav, const int16_t* samples, int32_t frames, std::string* error) {
    if (wav->frames + frames > WAV_MAX_FRAMES) {
        *error = outputName(wav->file) + ": the sound track is too long for a WAV file";
        return false;
    }
    std::vector<uint8_t> bytes(size_t(frames) * WAV_FRAME_BYTES);
    samplesToLittleEndian(samples, size_t(frames) * 2, bytes.data());
    wav->frames += frames;
    return writeOutput(&wav->file, bytes.data(), bytes.size(), error);
}

bool closeWav(WavOutput* wav, std::string* error) {
    OutputFile& out = wav->file;
    if (std::fflush(out.file) != 0) return failed(out, "write", errno, error);
    if (std::fseek(out.file, 0, SEEK_SET) != 0) return failed(out, "complete the header of", errno, error);
    const std::vector<uint8_t> header = wavHeader(uint32_t(wav->frames));
    return writeOutput(&out, header.data(), header.size(), error) && closeOutput(&out, error);
}

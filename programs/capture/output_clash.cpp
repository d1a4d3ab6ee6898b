#include "programs/capture/output_clash.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

struct Named {
    const char* option;
    std::string path;
};

// The absolute path without links, also for a file yet to be made (or
// named by a link to a file yet to be made).
std::string resolved(const std::string& path, int links = 0) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer)) return buffer;
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const ssize_t length = readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (length > 0 && links < 40) {
        const std::string target(buffer, size_t(length));
        return resolved(target[0] == '/' ? target : dir + "/" + target, links + 1);
    }
    if (realpath(dir.c_str(), buffer)) return std::string(buffer) + "/" + name;
    return path;
}

bool sameFile(const std::string& a, const std::string& b) {
    if (resolved(a) == resolved(b)) return true;
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Whether the capture writes DIR/NNNNNN.png under this name.
bool isWrittenPicture(const CaptureOptions& o, const std::string& path) {
    const std::string full = resolved(path);
    const std::string dir = resolved(o.pngDir) + "/";
    if (full.size() != dir.size() + 10 || full.compare(0, dir.size(), dir) != 0 ||
        full.compare(dir.size() + 6, 4, ".png") != 0)
        return false;
    int64_t step = 0;
    for (size_t i = dir.size(); i < dir.size() + 6; ++i) {
        if (full[i] < '0' || full[i] > '9') return false;
        step = step * 10 + (full[i] - '0');
    }
    if (step < 1 || (o.frames > 0 && step > o.frames)) return false;
    return o.shots.empty() || o.shots.count(step) != 0;
}

}  // namespace

std::string outputClash(const CaptureOptions& o) {
    std::vector<Named> files;
    if (!o.rawvideoPath.empty() && o.rawvideoPath != "-") files.push_back({"--rawvideo", o.rawvideoPath});
    if (!o.wavPath.empty()) files.push_back({"--wav", o.wavPath});
    if (!o.videoPath.empty()) files.push_back({"--video", o.videoPath});
    for (size_t i = 0; i < files.size(); ++i) {
        for (size_t j = i + 1; j < files.size(); ++j) {
            if (sameFile(files[i].path, files[j].path))
                return std::string(files[i].option) + " and " + files[j].option + " name the same file (" +
                       files[j].path + ")";
        }
        if (!o.pngDir.empty() && isWrittenPicture(o, files[i].path))
            return std::string(files[i].option) + " names a picture that --png writes (" + files[i].path + ")";
    }
    return "";
}

#include "programs/ymplay/playlist.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/read_file.h"

namespace fs = std::filesystem;

namespace {

const int MAX_DEPTH = 64;  // deeper than any real collection; stops a pathological tree

struct Walk {
    std::vector<std::string>* files;
    std::vector<std::string>* problems;
    bool full = false;
};

void add(Walk& walk, const std::string& path) {
    if (walk.files->size() < MAX_PLAYLIST) {
        walk.files->push_back(path);
    } else if (!walk.full) {
        walk.full = true;
        walk.problems->push_back(path + ": more than " + std::to_string(MAX_PLAYLIST) +
                                 " files: this one and the rest left out");
    }
}

// A folder's entries sorted by name, each file taken and each folder walked
// in turn. Links to folders are not followed inside a walk, so no link can
// make it go round for ever.
void walkFolder(Walk& walk, const fs::path& folder, int depth) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        walk.problems->push_back(folder.string() + ": " + error.message());
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path().filename() < b.path().filename(); });
    for (const fs::directory_entry& entry : entries) {
        std::error_code typeError;
        bool folderEntry = entry.is_directory(typeError) && !entry.is_symlink(typeError);
        if (folderEntry && depth < MAX_DEPTH) {
            walkFolder(walk, entry.path(), depth + 1);
        } else if (!folderEntry && !entry.is_directory(typeError)) {
            add(walk, entry.path().string());
        }
    }
}

}  // namespace

std::vector<std::string> expandPaths(const std::vector<std::string>& paths, std::vector<std::string>* problems) {
    std::vector<std::string> files;
    Walk walk{&files, problems};
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_directory(path, error)) {
            walkFolder(walk, path, 0);
        } else {
            add(walk, path);
        }
    }
    return files;
}

std::unique_ptr<YmMusic> loadSongFile(const std::string& path, std::string* reason) {
    std::vector<uint8_t> bytes;
    errno = 0;
    switch (readFileUpTo(path, bytes, YM_MAX_FILE_BYTES)) {
        case READ_OK:
            break;
        case READ_TOO_LARGE:
            *reason = "larger than " + std::to_string(YM_MAX_FILE_BYTES >> 20) + " MiB";
            return nullptr;
        default:
            *reason = std::string("cannot read it: ") + (errno ? std::strerror(errno) : "read error");
            return nullptr;
    }
    auto music = std::make_unique<YmMusic>();
    if (!music->load(bytes.data(), uint32_t(bytes.size()))) {
        *reason = music->lastErrorText();
        // The loader's texts come as they always have: one ends in a line break.
        while (!reason->empty() && (reason->back() == '\n' || reason->back() == ' ')) reason->pop_back();
        return nullptr;
    }
    return music;
}

// Writes one valid YM song of every kind the loader accepts into a folder:
// the fuzz seeds, the ymrender demos and material for by-ear checks.
//
//   make_test_songs OUTDIR [--seconds S]     (S: length of each song, default 20)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "generators/test_songs/test_song_set.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--seconds")) {
        std::fprintf(stderr, "usage: make_test_songs OUTDIR [--seconds S]\n");
        return 2;
    }
    int32_t seconds = argc == 4 ? std::atoi(argv[3]) : 20;
    if (seconds < 1 || seconds > 3600) {
        std::fprintf(stderr, "make_test_songs: --seconds needs 1 to 3600\n");
        return 2;
    }
    std::string dir = argv[1];
    std::error_code madeDir;
    std::filesystem::create_directories(dir, madeDir);  // a failure shows as the first file not written
    for (const TestSong& song : makeTestSongs(seconds)) {
        std::string path = dir + "/" + song.name;
        if (!writeFileBytes(path, song.bytes)) {
            std::fprintf(stderr, "make_test_songs: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

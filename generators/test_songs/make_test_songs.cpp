// Writes one valid YM song of every kind the loader accepts into a folder:
// the fuzz seeds, the ymrender demos and material for by-ear checks.
//
//   make_test_songs OUTDIR [--seconds S]     (S: length of each song, default 20)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/command_line.h"
#include "generators/test_songs/test_song_set.h"

int main(int argc, char** argv) {
    CommandLine command("make_test_songs", "usage: make_test_songs OUTDIR [--seconds S]\n",
                        "Writes one valid song of every YM kind into OUTDIR, each S seconds long (default 20).\n");
    std::string dir, seconds = "20";
    command.app.add_option("OUTDIR", dir, "The folder to write into")->type_name("")->required();
    command.app.add_option("--seconds", seconds, "Each song's length, 1 to 3600 seconds")
        ->type_name("S")
        ->check(wholeNumberIn(1, 3600, "needs 1 to 3600"));
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    std::error_code madeDir;
    std::filesystem::create_directories(dir, madeDir);  // a failure shows as the first file not written
    int64_t length = 0;
    readWholeNumber(seconds, &length);
    for (const TestSong& song : makeTestSongs(int32_t(length))) {
        std::string path = dir + "/" + song.name;
        if (!writeFileBytes(path, song.bytes)) {
            std::fprintf(stderr, "make_test_songs: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

// lh5unpack ARCHIVE: writes the member of a level-0 "-lh5-" archive to
// standard output.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/read_file.h"
#include "lh5/lh5_decoder.h"

int main(int argc, char** argv) {
    CommandLine line("lh5unpack", "usage: lh5unpack ARCHIVE\n",
                     "Writes the member of a level-0 \"-lh5-\" LHA archive to standard output.\n");
    std::string archive;
    line.app.add_option("ARCHIVE", archive, "The archive")->type_name("")->required();
    int ended = line.parse(argc, argv);
    if (ended >= 0) return ended;
    // Twice the largest member leaves room for a stream that did not shrink.
    std::vector<uint8_t> image;
    if (!readToolInput("lh5unpack", archive.c_str(), image, 2 * (LH5_MAX_UNPACKED_SIZE >> 20))) return 1;

    uint8_t* result = nullptr;
    uint32_t size = 0;
    Lh5Status status = lh5UnpackArchive(image.data(), uint32_t(image.size()), &result, &size);
    static const char* const reasons[] = {"not an -lh5- archive", "", "header level is not 0", "out of memory",
                                          "damaged member (bad packed data or CRC)"};
    if (status != LH5_OK) {
        std::fprintf(stderr, "lh5unpack: %s: %s\n", archive.c_str(), reasons[status]);
        return 1;
    }
    bool ok = std::fwrite(result, 1, size, stdout) == size && std::fflush(stdout) == 0;
    std::free(result);
    return ok ? 0 : 1;
}

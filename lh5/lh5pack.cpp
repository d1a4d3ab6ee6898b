// lh5pack IN OUT [--name NAME]: packs one file into a level-0 "-lh5-" LHA
// archive. The output depends on the input bytes and the name only.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/atomic_file.h"
#include "cli/command_line.h"
#include "lh5/lh5_encoder.h"
#include "cli/read_file.h"
#include "lh5/lh5_decoder.h"

namespace {

// The largest member our depacker takes.
const size_t MAX_MEMBER_MIB = LH5_MAX_UNPACKED_SIZE >> 20;

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line("lh5pack", "usage: lh5pack IN OUT [--name NAME]\n",
                     "Packs the file IN into OUT, a level-0 \"-lh5-\" LHA archive of one member\n"
                     "named NAME (default: IN's file name).\n");
    std::string in, out, name;
    line.app.add_option("IN", in, "The file to pack")->type_name("")->required();
    line.app.add_option("OUT", out, "The archive to write")->type_name("")->required();
    CLI::Option* named = line.app.add_option("--name", name, "The member's name (1 to 233 bytes)");
    int ended = line.parse(argc, argv);
    if (ended >= 0) return ended;
    if (!named->count()) name = baseName(in);
    if (name.empty() || name.size() > LH5_MAX_MEMBER_NAME) {
        std::fprintf(stderr, "lh5pack: the member name is %zu bytes: a level-0 header holds 1 to %zu\n",
                     name.size(), LH5_MAX_MEMBER_NAME);
        return EXIT_BAD_ARGUMENTS;
    }
    std::vector<uint8_t> data;
    if (!readToolInput("lh5pack", in.c_str(), data, MAX_MEMBER_MIB)) return 1;
    std::vector<uint8_t> archive = lh5PackArchive(data, name);
    std::string error;
    if (!writeFileBytes(out, archive, &error)) {
        std::fprintf(stderr, "lh5pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

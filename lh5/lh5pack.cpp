// lh5pack IN OUT [--name NAME]: packs one file into a level-0 "-lh5-" LHA
// archive. The output depends on the input bytes and the name only.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/atomic_file.h"
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
    if (argc != 3 && !(argc == 5 && std::strcmp(argv[3], "--name") == 0)) {
        std::fprintf(stderr, "usage: lh5pack IN OUT [--name NAME]\n");
        return 2;
    }
    std::string name = argc == 5 ? argv[4] : baseName(argv[1]);
    if (name.empty() || name.size() > LH5_MAX_MEMBER_NAME) {
        std::fprintf(stderr, "lh5pack: the member name is %zu bytes: a level-0 header holds 1 to %zu\n",
                     name.size(), LH5_MAX_MEMBER_NAME);
        return 2;
    }
    std::vector<uint8_t> data;
    if (!readToolInput("lh5pack", argv[1], data, MAX_MEMBER_MIB)) return 1;
    std::vector<uint8_t> archive = lh5PackArchive(data, name);
    std::string error;
    if (!writeFileBytes(argv[2], archive, &error)) {
        std::fprintf(stderr, "lh5pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

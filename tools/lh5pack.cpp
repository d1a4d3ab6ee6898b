// lh5pack IN OUT [--name NAME]: packs one file into a level-0 "-lh5-" LHA
// archive. The output depends on the input bytes and the name only.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/lh5/lh5_encoder.h"
#include "tools/read_file.h"
#include "ym/lh5_decoder.h"

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
    if (name.empty() || name.size() > 255) {
        std::fprintf(stderr, "lh5pack: the member name must be 1 to 255 bytes\n");
        return 2;
    }
    std::vector<uint8_t> data;
    if (!readToolInput("lh5pack", argv[1], data, MAX_MEMBER_MIB)) return 1;
    std::vector<uint8_t> archive = lh5PackArchive(data, name);
    FILE* out = std::fopen(argv[2], "wb");
    bool ok = out && std::fwrite(archive.data(), 1, archive.size(), out) == archive.size();
    if (out && std::fclose(out) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "lh5pack: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

// Runs under Wine: the content reached through the program's "DATA" resources
// is the files of resources/, byte for byte (so the pictures decode as the
// native tests see them); ids that are no content give nothing; the icon
// group is not number 1.
//   resource_check ID=PATH...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "demo/resource.h"
#include "resources/resource_ids.h"

namespace {

int failures = 0, checks = 0;

void check(bool ok, const char* what, int id) {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL: resource %d: %s\n", id, what);
    }
}

bool readFile(const char* path, std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    unsigned char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.insert(bytes.end(), block, block + n);
    std::fclose(f);
    return true;
}

void checkResource(int id, const char* path) {
    std::vector<unsigned char> file;
    if (!readFile(path, file)) {
        std::printf("cannot read %s\n", path);
        ++failures;
        return;
    }
    ResourceData data = findResourceData(id);
    check(data.bytes && data.size == file.size() && std::memcmp(data.bytes, file.data(), file.size()) == 0,
          "differs from its file", id);
}

}  // namespace

int main(int argc, char** argv) {
    int firstId = -1;
    for (int i = 1; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (!eq) continue;
        int id = std::atoi(argv[i]);
        if (firstId < 0) firstId = id;
        checkResource(id, eq + 1);
    }
    check(firstId > 0, "no resource given", 0);

    // 1 is no content; the icon group's id names no "DATA" resource; an id
    // past 16 bits must not wrap onto a real one.
    for (int id : {0, -1, 1, WINDOWS_ICON_GROUP, 0x10000 + firstId})
        check(!findResourceData(id).bytes && findResourceData(id).size == 0, "should not exist", id);

    HMODULE self = GetModuleHandleA(nullptr);
    check(FindResourceA(self, MAKEINTRESOURCEA(WINDOWS_ICON_GROUP), MAKEINTRESOURCEA(14)) != nullptr,
          "the icon group is missing", WINDOWS_ICON_GROUP);
    // The window class asks for icon 1 and is meant to get none.
    check(LoadIconA(self, MAKEINTRESOURCEA(1)) == nullptr, "an icon 1 exists", 1);

    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures ? 1 : 0;
}

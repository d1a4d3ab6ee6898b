#include "programs/capture/png_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "programs/capture/output_file.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO  // the bytes go through OutputFile, which sees every failure
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

bool preparePngFolder(const std::string& dir, std::string* error) {
    if (mkdir(dir.c_str(), 0777) == 0) return true;
    struct stat info;
    if (errno == EEXIST && stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
    *error = "cannot make the folder " + dir + ": " + std::strerror(errno == EEXIST ? ENOTDIR : errno);
    return false;
}

bool writePng(const std::string& dir, int64_t step, const std::vector<uint8_t>& rgb, int32_t width, int32_t height,
              std::string* error) {
    char name[32];
    std::snprintf(name, sizeof name, "/%06lld.png", static_cast<long long>(step));
    int size = 0;
    unsigned char* png = stbi_write_png_to_mem(rgb.data(), width * 3, width, height, 3, &size);
    if (png == nullptr) {
        *error = "out of memory for a picture";
        return false;
    }
    OutputFile out;
    const bool ok = openOutput(&out, dir + name, error) && writeOutput(&out, png, size_t(size), error) &&
                    closeOutput(&out, error);
    std::free(png);
    return ok;
}

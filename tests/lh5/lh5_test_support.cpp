#include "tests/lh5/lh5_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "ym/lh5_decoder.h"

Bytes randomBytes(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (uint8_t& b : out) b = uint8_t(rng());
    return out;
}

Bytes randomLetters(size_t size, uint32_t seed, int alphabet) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (uint8_t& b : out) b = uint8_t('a' + rng() % uint32_t(alphabet));
    return out;
}

Bytes textLike(size_t size, uint32_t seed) {
    static const char* words[] = {"the ", "music ", "sound ", "chip ", "frame ", "window ", "scroller ", "logo ",
                                  "and ", "of ", "wave ", "sprite ", "fade ", "\n", "register ", "demo "};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < size) {
        const char* w = words[rng() % 16];
        out.insert(out.end(), w, w + std::char_traits<char>::length(w));
    }
    out.resize(size);
    return out;
}

Bytes repetitive(size_t size) {
    static const char pattern[] = "Vitrelume 15th Anniversary - ";
    Bytes out(size);
    for (size_t i = 0; i < size; i++) out[i] = uint8_t(pattern[i % (sizeof pattern - 1)]);
    return out;
}

Bytes ymLike(size_t frames, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out;
    out.reserve(frames * 16);
    for (int reg = 0; reg < 16; reg++) {
        uint8_t value = uint8_t(rng() & 0x0f);
        for (size_t f = 0; f < frames; f++) {
            // Mostly held values with occasional changes, repeating every 64 frames.
            if ((f % 64) == 0 || rng() % 9 == 0) value = uint8_t((reg * 31 + (f / 8) % 24 + rng() % 3) & 0xff);
            out.push_back(reg >= 14 ? 0 : value);
        }
    }
    return out;
}

void BitWriter::put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; i--) {
        if (used == 8) {
            bytes.push_back(0);
            used = 0;
        }
        if ((value >> i) & 1) bytes.back() |= uint8_t(0x80 >> used);
        used++;
    }
}

Bytes wrapLevel0(const Bytes& packed, uint32_t unpackedSize, uint32_t packedSizeField, const std::string& name) {
    Bytes out;
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i)));
    };
    out.push_back(uint8_t(22 + name.size()));
    out.push_back(0);  // header checksum, never read
    out.insert(out.end(), {'-', 'l', 'h', '5', '-'});
    put32(packedSizeField);
    put32(unpackedSize);
    put32(0);
    out.push_back(0x20);
    out.push_back(0);
    out.push_back(uint8_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
    out.push_back(0);  // CRC-16, never read
    out.insert(out.end(), packed.begin(), packed.end());
    out.push_back(0);
    return out;
}

bool runCommand(const std::string& commandLine) {
    return std::system(commandLine.c_str()) == 0;
}

std::string scratchDir() {
    char pattern[] = "/tmp/lh5testXXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

bool writeFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes packWithJlha(const Bytes& data, const std::string& name) {
    std::string dir = scratchDir();
    if (dir.empty() || !writeFile(dir + "/" + name, data)) return {};
    // c: create, 0: level-0 header, o5: the lh5 method.
    bool ok = runCommand("cd " + dir + " && jlha c0o5 out.lzh " + name + " >/dev/null 2>&1");
    Bytes archive = ok ? readFile(dir + "/out.lzh") : Bytes();
    runCommand("rm -rf " + dir);
    return archive;
}

Unpacked unpack(const Bytes& archive) {
    uint8_t* result = nullptr;
    uint32_t size = 0;
    Lh5Status status = lh5UnpackArchive(archive.data(), uint32_t(archive.size()), &result, &size);
    Unpacked out{status, {}};
    if (result) out.data.assign(result, result + size);
    std::free(result);
    return out;
}

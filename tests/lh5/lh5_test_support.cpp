#include "tests/lh5/lh5_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "lh5/lh5_decoder.h"
#include "lh5/lha_crc16.h"

Bytes randomBytes(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (uint8_t& b : out) b = uint8_t(rng());
    return out;
}

Bytes textLike(size_t size, uint32_t seed) {
    static const std::string words[] = {"the ", "music ", "chip ", "frame ", "window ", "scroller ", "logo ", "and ",
                                        "of ",  "wave ",  "sprite ", "fade ", "\n", "register ", "demo ", "x"};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < size) {
        const std::string& word = words[rng() % 16];
        out.insert(out.end(), word.begin(), word.end());
    }
    out.resize(size);
    return out;
}

Bytes repetitive(size_t size) {
    static const std::string pattern = "Vitrelume 15th Anniversary - ";
    Bytes out(size);
    for (size_t i = 0; i < size; i++) out[i] = uint8_t(pattern[i % pattern.size()]);
    return out;
}

Bytes ymLike(size_t frames, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out;
    for (int reg = 0; reg < 16; reg++) {
        uint8_t value = 0;
        for (size_t f = 0; f < frames; f++) {
            // Held values, changing on a 64-frame loop and now and then.
            if (f % 64 == 0 || rng() % 9 == 0) value = uint8_t(reg * 31 + (f / 8) % 24 + rng() % 3);
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

Bytes wrapLevel0(const Bytes& packed, uint32_t unpackedSize, uint32_t packedSizeField, uint16_t crc) {
    Bytes out = {29, 0, '-', 'l', 'h', '5', '-'};  // the header checksum is never read
    for (uint32_t v : {packedSizeField, unpackedSize, 0u})
        for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i)));
    out.insert(out.end(), {0x20, 0, 7, 's', 'o', 'n', 'g', '.', 'y', 'm', uint8_t(crc), uint8_t(crc >> 8)});
    out.insert(out.end(), packed.begin(), packed.end());
    out.push_back(0);
    return out;
}

Bytes archiveOf(const Bytes& packed, const Bytes& member) {
    return wrapLevel0(packed, uint32_t(member.size()), uint32_t(packed.size()), lhaCrc16(member.data(), member.size()));
}

Bytes withExtension(const Bytes& archive, const Bytes& extension) {
    size_t crcEnd = 24u + archive[21];
    Bytes out(archive.begin(), archive.begin() + long(crcEnd));
    out.insert(out.end(), extension.begin(), extension.end());
    out.insert(out.end(), archive.begin() + long(crcEnd), archive.end());
    out[0] = uint8_t(out[0] + extension.size());
    uint8_t sum = 0;
    for (size_t i = 2; i < size_t(out[0]) + 2; i++) sum = uint8_t(sum + out[i]);
    out[1] = sum;
    return out;
}

Bytes damagedArchive(const Bytes& archive, uint32_t seed, uint16_t crc) {
    std::mt19937 rng(seed);
    const size_t start = 24u + archive[21];
    const size_t packed = archive.size() - 1 - start;  // without the end mark
    Bytes out = archive;
    switch (seed % 4) {
        case 0:
            out[start + rng() % packed] ^= uint8_t(1u << (rng() % 8));
            break;
        case 1:
            out[start + rng() % std::min<size_t>(packed, 64)] ^= uint8_t(1u << (rng() % 8));
            break;
        case 2: {
            size_t kept = rng() % packed;
            out.resize(start + kept);
            for (int i = 0; i < 4; i++) out[7 + i] = uint8_t(kept >> (8 * i));
            break;
        }
        default: {
            size_t at = start + rng() % (packed - 16);
            std::fill(out.begin() + long(at), out.begin() + long(at + 16), 0);
            break;
        }
    }
    out[start - 2] = uint8_t(crc);
    out[start - 1] = uint8_t(crc >> 8);
    return out;
}

Bytes runInScratch(const std::vector<std::pair<std::string, Bytes>>& files, const std::string& commands,
                   const std::string& result) {
    char pattern[] = "/tmp/lh5testXXXXXX";
    std::string dir = mkdtemp(pattern) ? pattern : "";
    if (dir.empty()) return {};
    for (const auto& file : files)
        std::ofstream(dir + "/" + file.first, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.second.data()), std::streamsize(file.second.size()));
    Bytes out;
    if (std::system(("cd " + dir + " && (" + commands + ") >/dev/null 2>&1").c_str()) == 0) {
        std::ifstream in(dir + "/" + result, std::ios::binary);
        out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::system(("rm -rf " + dir).c_str());
    return out;
}

Bytes packWithJlha(const Bytes& data) {
    // c: create, 0: level-0 header, o5: the lh5 method.
    return runInScratch({{"member.bin", data}}, "jlha c0o5 out.lzh member.bin", "out.lzh");
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

#include "generators/writers/png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

void putBigEndian32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    putBigEndian32(out, uint32_t(data.size()));
    size_t crcStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + crcStart, uInt(out.size() - crcStart));
    putBigEndian32(out, uint32_t(crc));
}

int paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Filters each row with whichever of the five PNG filters gives the smallest
// sum of absolute residuals: a fixed rule, so the choice is reproducible.
std::vector<uint8_t> filterRows(const std::vector<uint8_t>& raw, int rowBytes, int rows, int bpp) {
    std::vector<uint8_t> out;
    std::vector<uint8_t> zero(size_t(rowBytes), 0), best;
    std::vector<uint8_t> candidate(static_cast<size_t>(rowBytes));
    for (int y = 0; y < rows; ++y) {
        const uint8_t* cur = &raw[size_t(y) * size_t(rowBytes)];
        const uint8_t* up = y ? cur - rowBytes : zero.data();
        long bestScore = -1;
        int bestFilter = 0;
        for (int f = 0; f < 5; ++f) {
            long score = 0;
            for (int i = 0; i < rowBytes; ++i) {
                int a = i >= bpp ? cur[i - bpp] : 0, b = up[i], c = i >= bpp ? up[i - bpp] : 0;
                int pred = f == 0 ? 0 : f == 1 ? a : f == 2 ? b : f == 3 ? (a + b) / 2 : paeth(a, b, c);
                candidate[size_t(i)] = uint8_t(cur[i] - pred);
                score += std::abs(int(int8_t(candidate[size_t(i)])));
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestFilter = f;
                best = candidate;
            }
        }
        out.push_back(uint8_t(bestFilter));
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

std::vector<uint8_t> assemble(int width, int height, uint8_t colourType, const std::vector<uint8_t>& raw,
                              int bpp, const std::vector<Rgb>* palette) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> out(signature, signature + 8);

    std::vector<uint8_t> header;
    putBigEndian32(header, uint32_t(width));
    putBigEndian32(header, uint32_t(height));
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    putChunk(out, "IHDR", header);

    if (palette) {
        std::vector<uint8_t> plte;
        for (Rgb c : *palette) plte.insert(plte.end(), {c.r, c.g, c.b});
        putChunk(out, "PLTE", plte);
    }

    std::vector<uint8_t> filtered = filterRows(raw, width * bpp, height, bpp);
    uLongf packedSize = compressBound(uLong(filtered.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), uLong(filtered.size()), 9) != Z_OK) return {};
    packed.resize(packedSize);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace

std::vector<uint8_t> encodePngRgb(int width, int height, const std::vector<Rgb>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height)) return {};
    std::vector<uint8_t> raw;
    raw.reserve(pixels.size() * 3);
    for (Rgb c : pixels) raw.insert(raw.end(), {c.r, c.g, c.b});
    return assemble(width, height, 2, raw, 3, nullptr);
}

std::vector<uint8_t> encodePngPalette(int width, int height, const std::vector<uint8_t>& indices,
                                      const std::vector<Rgb>& palette) {
    if (width <= 0 || height <= 0 || indices.size() != size_t(width) * size_t(height)) return {};
    if (palette.empty() || palette.size() > 256) return {};
    for (uint8_t i : indices)
        if (i >= palette.size()) return {};
    return assemble(width, height, 3, indices, 1, &palette);
}

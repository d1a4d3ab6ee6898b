#include "lh5/lh5_encoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "lh5/huffman_lengths.h"
#include "lh5/lha_crc16.h"

namespace {

const int WINDOW_SIZE = 8192;
const int MAX_DISTANCE = WINDOW_SIZE - 1;
const int MIN_MATCH = 3;
const int MAX_MATCH = 256;
const int HASH_BITS = 15;
const int MAX_CHAIN = 512;
const int LAZY_LIMIT = 32;        // a match at least this long is taken without looking ahead
const int FAR_SHORT_MATCH = 4096;  // a 3-byte match further back costs more than its literals
const int BLOCK_SYMBOLS = 16384;
const int CODE_SYMBOLS = 510;
const int POSITION_SYMBOLS = 14;
const int LENGTH_CODE_SYMBOLS = 19;
const int LONGEST_CODE = 16;

// One literal (symbol < 256) or one match (symbol 253 + length, position = distance - 1).
struct Token {
    uint16_t symbol;
    uint16_t position;
};

struct Match {
    int length;
    int distance;
};

class MatchFinder {
public:
    explicit MatchFinder(const std::vector<uint8_t>& data) : data_(data), head_(1u << HASH_BITS, -1), prev_(WINDOW_SIZE, -1) {}

    // Positions below pos become candidates.
    void insertUpTo(int pos) {
        for (; inserted_ < pos && inserted_ + MIN_MATCH <= int(data_.size()); inserted_++) {
            uint32_t h = hashAt(inserted_);
            prev_[size_t(inserted_ & (WINDOW_SIZE - 1))] = head_[h];
            head_[h] = inserted_;
        }
        inserted_ = std::max(inserted_, pos);
    }

    // Longest match for pos among the inserted positions; the nearest wins a tie.
    Match longest(int pos) const {
        Match best{0, 0};
        int limit = std::min(MAX_MATCH, int(data_.size()) - pos);
        if (limit < MIN_MATCH) return best;
        const uint8_t* here = data_.data() + pos;
        int chain = MAX_CHAIN;
        for (int c = head_[hashAt(pos)]; c >= 0 && pos - c <= MAX_DISTANCE && chain-- > 0;
             c = prev_[size_t(c & (WINDOW_SIZE - 1))]) {
            const uint8_t* there = data_.data() + c;
            if (there[best.length] != here[best.length] && best.length > 0) continue;
            int n = 0;
            while (n < limit && there[n] == here[n]) n++;
            if (n > best.length) {
                best = {n, pos - c};
                if (n == limit) break;
            }
        }
        if (best.length < MIN_MATCH || (best.length == MIN_MATCH && best.distance > FAR_SHORT_MATCH)) return {0, 0};
        return best;
    }

private:
    uint32_t hashAt(int pos) const {
        const uint8_t* p = data_.data() + pos;
        uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        return (v * 2654435761u) >> (32 - HASH_BITS);
    }

    const std::vector<uint8_t>& data_;
    std::vector<int> head_;
    std::vector<int> prev_;
    int inserted_ = 0;
};

// Greedy matching with a one-step lazy look-ahead.
std::vector<Token> tokenize(const std::vector<uint8_t>& data) {
    std::vector<Token> tokens;
    MatchFinder finder(data);
    const int size = int(data.size());
    Match pending{0, 0};
    bool havePending = false;
    for (int pos = 0; pos < size;) {
        finder.insertUpTo(pos);
        Match m = havePending ? pending : finder.longest(pos);
        havePending = false;
        if (m.length >= MIN_MATCH && m.length < LAZY_LIMIT && pos + 1 < size) {
            finder.insertUpTo(pos + 1);
            Match next = finder.longest(pos + 1);
            if (next.length > m.length) {
                tokens.push_back({data[size_t(pos)], 0});
                pending = next;
                havePending = true;
                pos++;
                continue;
            }
        }
        if (m.length >= MIN_MATCH) {
            tokens.push_back({uint16_t(253 + m.length), uint16_t(m.distance - 1)});
            pos += m.length;
        } else {
            tokens.push_back({data[size_t(pos)], 0});
            pos++;
        }
    }
    return tokens;
}

int positionSymbol(uint32_t position) {
    int k = 0;
    while (position >> k) k++;
    return k;
}

class BitSink {
public:
    void put(uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; i--) {
            pending_ = uint8_t(pending_ << 1 | ((value >> i) & 1));
            if (++used_ == 8) {
                bytes.push_back(pending_);
                pending_ = 0;
                used_ = 0;
            }
        }
    }
    void flush() {
        if (used_ > 0) put(0, 8 - used_);
    }
    std::vector<uint8_t> bytes;

private:
    uint8_t pending_ = 0;
    int used_ = 0;
};

// Canonical codes, assigned as the decoder's table builder assigns them.
std::vector<uint16_t> canonicalCodes(const std::vector<uint8_t>& lengths) {
    uint32_t counts[LONGEST_CODE + 1] = {};
    for (uint8_t l : lengths) counts[l]++;
    uint32_t start[LONGEST_CODE + 2] = {};
    counts[0] = 0;
    for (int i = 1; i <= LONGEST_CODE; i++) start[i + 1] = (start[i] + counts[i]) << 1;
    std::vector<uint16_t> codes(lengths.size(), 0);
    uint32_t next[LONGEST_CODE + 1];
    for (int i = 1; i <= LONGEST_CODE; i++) next[i] = start[i];
    for (size_t s = 0; s < lengths.size(); s++)
        if (lengths[s]) codes[s] = uint16_t(next[lengths[s]]++);
    return codes;
}

// A Huffman code over one alphabet: lengths 0 everywhere and `single` set
// when at most one symbol occurs (sent as a description of count 0).
struct Code {
    std::vector<uint8_t> lengths;
    std::vector<uint16_t> codes;
    int single;
};

Code makeCode(const std::vector<uint32_t>& frequencies) {
    Code code{huffmanLengths(frequencies, LONGEST_CODE), {}, -1};
    if (*std::max_element(code.lengths.begin(), code.lengths.end()) == 0) {
        auto used = std::find_if(frequencies.begin(), frequencies.end(), [](uint32_t f) { return f != 0; });
        code.single = used == frequencies.end() ? 0 : int(used - frequencies.begin());
    }
    code.codes = canonicalCodes(code.lengths);
    return code;
}

void putSymbol(BitSink& out, const Code& code, int symbol) {
    if (code.single < 0) out.put(code.codes[size_t(symbol)], code.lengths[size_t(symbol)]);
}

int usedCount(const std::vector<uint8_t>& lengths) {
    int n = int(lengths.size());
    while (n > 0 && lengths[size_t(n - 1)] == 0) n--;
    return n;
}

// Lengths of the length-code and position descriptions: 3 bits, or 7 and a unary tail.
void putAuxLength(BitSink& out, int length) {
    if (length < 7) return out.put(uint32_t(length), 3);
    out.put(7, 3);
    for (int i = 7; i < length; i++) out.put(1, 1);
    out.put(0, 1);
}

void putAuxDescription(BitSink& out, const Code& code, int sizeBits, int specialIndex) {
    if (code.single >= 0) {
        out.put(0, sizeBits);
        out.put(uint32_t(code.single), sizeBits);
        return;
    }
    int n = usedCount(code.lengths);
    out.put(uint32_t(n), sizeBits);
    for (int i = 0; i < n;) {
        putAuxLength(out, code.lengths[size_t(i++)]);
        if (i == specialIndex) {
            int zeros = 0;
            while (zeros < 3 && i + zeros < n && code.lengths[size_t(i + zeros)] == 0) zeros++;
            out.put(uint32_t(zeros), 2);
            i += zeros;
        }
    }
}

// The literal/length code lengths as length-code symbols: 0 = one zero,
// 1 = 3..18 zeros, 2 = 20..531 zeros, k >= 3 = length k - 2.
struct LengthItem {
    uint8_t symbol;
    uint16_t extra;
};

std::vector<LengthItem> lengthItems(const std::vector<uint8_t>& lengths) {
    std::vector<LengthItem> items;
    int n = usedCount(lengths);
    for (int i = 0; i < n;) {
        if (lengths[size_t(i)] != 0) {
            items.push_back({uint8_t(lengths[size_t(i++)] + 2), 0});
            continue;
        }
        int run = 0;
        while (i + run < n && lengths[size_t(i + run)] == 0) run++;
        i += run;
        if (run == 19) {
            items.push_back({0, 0});
            run = 18;
        }
        if (run >= 20) {
            items.push_back({2, uint16_t(run - 20)});
        } else if (run >= 3) {
            items.push_back({1, uint16_t(run - 3)});
        } else {
            for (int k = 0; k < run; k++) items.push_back({0, 0});
        }
    }
    return items;
}

void putBlock(BitSink& out, const Token* tokens, size_t count) {
    std::vector<uint32_t> codeFrequencies(CODE_SYMBOLS, 0), positionFrequencies(POSITION_SYMBOLS, 0);
    for (size_t i = 0; i < count; i++) {
        codeFrequencies[tokens[i].symbol]++;
        if (tokens[i].symbol > 255) positionFrequencies[size_t(positionSymbol(tokens[i].position))]++;
    }
    Code code = makeCode(codeFrequencies);
    Code positions = makeCode(positionFrequencies);
    std::vector<LengthItem> items = lengthItems(code.lengths);
    std::vector<uint32_t> itemFrequencies(LENGTH_CODE_SYMBOLS, 0);
    for (const LengthItem& item : items) itemFrequencies[item.symbol]++;
    Code lengthCode = makeCode(itemFrequencies);

    out.put(uint32_t(count), 16);
    putAuxDescription(out, lengthCode, 5, 3);
    if (code.single >= 0) {
        out.put(0, 9);
        out.put(uint32_t(code.single), 9);
    } else {
        out.put(uint32_t(usedCount(code.lengths)), 9);
        for (const LengthItem& item : items) {
            putSymbol(out, lengthCode, item.symbol);
            if (item.symbol == 1) out.put(item.extra, 4);
            if (item.symbol == 2) out.put(item.extra, 9);
        }
    }
    putAuxDescription(out, positions, 4, -1);

    for (size_t i = 0; i < count; i++) {
        putSymbol(out, code, tokens[i].symbol);
        if (tokens[i].symbol <= 255) continue;
        int p = positionSymbol(tokens[i].position);
        putSymbol(out, positions, p);
        if (p > 1) out.put(tokens[i].position - (1u << (p - 1)), p - 1);
    }
}

}  // namespace

std::vector<uint8_t> lh5PackStream(const std::vector<uint8_t>& data) {
    std::vector<Token> tokens = tokenize(data);
    BitSink out;
    for (size_t start = 0; start < tokens.size(); start += BLOCK_SYMBOLS)
        putBlock(out, tokens.data() + start, std::min(tokens.size() - start, size_t(BLOCK_SYMBOLS)));
    out.flush();
    return out.bytes;
}

std::vector<uint8_t> lh5PackArchive(const std::vector<uint8_t>& data, const std::string& name) {
    std::vector<uint8_t> packed = lh5PackStream(data);
    std::vector<uint8_t> out;
    auto put16 = [&out](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    // A wrapped size byte would make an archive that no reader takes.
    if (name.size() > LH5_MAX_MEMBER_NAME) {
        std::fprintf(stderr, "lh5PackArchive: a %zu-byte member name does not fit a level-0 header\n", name.size());
        std::abort();
    }
    const uint32_t FIXED_TIME = 0;                                  // 00:00:00
    const uint32_t FIXED_DATE = (2026 - 1980) << 9 | 1 << 5 | 1;  // 2026-01-01
    out.push_back(uint8_t(22 + name.size()));
    out.push_back(0);  // checksum, filled in below
    for (char c : std::string("-lh5-")) out.push_back(uint8_t(c));
    put32(uint32_t(packed.size()));
    put32(uint32_t(data.size()));
    put16(FIXED_TIME);
    put16(FIXED_DATE);
    out.push_back(0x20);  // attribute: archive
    out.push_back(0);     // header level
    out.push_back(uint8_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    put16(lhaCrc16(data.data(), data.size()));
    uint8_t sum = 0;
    for (size_t i = 2; i < out.size(); i++) sum = uint8_t(sum + out[i]);
    out[1] = sum;
    if (out.size() != size_t(out[0]) + 2) std::abort();  // the size byte covers the whole header
    out.insert(out.end(), packed.begin(), packed.end());
    out.push_back(0);  // end of archive
    return out;
}

// Feeds the chip a stream of register writes, effect starts with arbitrary
// parameters, clock changes and renders. Each opcode byte picks an action by
// its low 3 bits; its top bits vary the arguments (see the switch).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ym/ym2149.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;

    uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    int32_t word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i) w = (w << 8) | byte();
        return static_cast<int32_t>(w);
    }
};

// Mostly real registers 0..13, sometimes -16..15 to reach the ignored ones.
int registerIndex(uint8_t raw) {
    return raw < 224 ? raw % 14 : int(raw) - 240;
}

const int MAX_SAMPLES_PER_INPUT = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    Ym2149 chip;
    std::vector<std::vector<uint8_t>> drums;  // exact sizes, so overreads trip the sanitizer
    int samplesLeft = MAX_SAMPLES_PER_INPUT;
    auto render = [&](int count) {
        for (; count > 0 && samplesLeft > 0; --count, --samplesLeft) chip.renderSample();
        if (chip.dcIndex < 0 || chip.dcIndex > 511 || chip.envelopeShape < 0 ||
            chip.envelopeShape > 15 || (chip.envelopeStage != 0 && chip.envelopeStage != 1)) {
            std::abort();
        }
    };
    while (in.size > 0) {
        const uint8_t op = in.byte();
        switch (op & 7) {
            case 0: case 1: case 2: {
                const int index = registerIndex(in.byte());
                int value = in.byte();
                if (op & 0x80) value |= in.byte() << 8;
                chip.setRegister(index, value);
                break;
            }
            case 3:
                render((in.byte() + 1) * 16);
                break;
            case 4: {
                const int voice = int(int8_t(in.byte())) % 5;
                size_t length = in.byte() | (in.byte() << 8);
                if (length > in.size) length = in.size;
                drums.emplace_back(in.data, in.data + length);
                in.data += length;
                in.size -= length;
                const int32_t step = (op & 0x40) ? int32_t(in.byte()) << 12 : in.word();
                const uint8_t* samples = (op & 0x80) ? nullptr : drums.back().data();
                chip.startDigidrum(voice, samples, uint32_t(length), step);
                break;
            }
            case 5: {
                const int voice = int(int8_t(in.byte())) % 5;
                const int level = int(in.byte()) - 64;
                chip.startVolumeGate(voice, level, in.word());
                break;
            }
            case 6: {
                const int shape = int8_t(in.byte());
                chip.startEnvelopeRetrigger(shape, in.word());
                break;
            }
            case 7:
                switch ((op >> 3) & 3) {
                    case 0: chip.clearFrameEffects(); break;
                    case 1: chip.setLowPass((op & 0x20) != 0); break;
                    case 2: chip.resetChip(); break;
                    case 3:
                        chip.masterClock = uint32_t(in.word());
                        if (op & 0x80) chip.outputRate = in.word();
                        break;
                }
                break;
        }
    }
    render(64);
    return 0;
}

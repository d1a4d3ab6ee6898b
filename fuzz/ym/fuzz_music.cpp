// Loads any bytes as a song the way the demo does and plays a couple of
// seconds in requests of varied sizes, seeking, muting and rewinding now and
// then, then releases it. Nothing may crash, read out of bounds, leak or hit
// undefined behaviour.
#include <cstdint>
#include <cstring>
#include <memory>

#include "ym/ym_music.h"

namespace {

const size_t MAX_INPUT = 1 << 20;
const uint32_t MAX_UNPACKED = 1 << 21;  // bigger archives only cost time here
const int32_t FRAMES_TO_PLAY = 2 * 44100;

bool claimsHugeMember(const uint8_t* data, size_t size) {
    if (size < 15 || data[0] == 0 || std::memcmp(data + 2, "-lh5-", 5) != 0) return false;
    uint32_t unpacked = uint32_t(data[11]) | (uint32_t(data[12]) << 8) | (uint32_t(data[13]) << 16) |
                        (uint32_t(data[14]) << 24);
    return unpacked > MAX_UNPACKED;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MAX_INPUT || claimsHugeMember(data, size)) return 0;
    auto music = std::make_unique<YmMusic>();
    music->load(data, uint32_t(size));
    // The last byte picks looping or not, the request sizes and a muted voice.
    uint8_t choice = size ? data[size - 1] : 0;
    music->setLoop((choice & 1) == 0);
    music->setVoiceMuted((choice >> 4) % 9, true);
    static const int32_t REQUESTS[8] = {2205, 1, 882, 4410, 7, 883, 1000, 2204};
    static int16_t samples[2 * 4410];
    for (int32_t done = 0, i = choice >> 1; done < FRAMES_TO_PLAY; i++) {
        int32_t n = REQUESTS[i % 8];
        music->renderAudio(samples, n);
        done += n;
        if (i % 97 == 0) {  // now and then rewind and carry on, as a restart would
            music->stopAndRewind();
            music->setPaused(false);
        }
        if (i % 61 == 0) music->seek(music->position() / 2 + n, REQUESTS[(i + 1) % 8]);
    }
    music->release();
    return 0;
}

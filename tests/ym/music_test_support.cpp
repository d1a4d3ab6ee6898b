#include "tests/ym/music_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

std::unique_ptr<YmMusic> loadSong(const YmBytes& image, bool* loaded) {
    auto music = std::make_unique<YmMusic>();
    bool ok = music->load(image.data(), uint32_t(image.size()));
    music->setLoop(true);
    if (loaded) *loaded = ok;
    return music;
}

std::unique_ptr<YmMusic> loadedSong(const YmBytes& image) {
    bool ok = false;
    auto music = loadSong(image, &ok);
    EXPECT_TRUE(ok) << music->lastErrorText();
    return music;
}

std::string refusal(const YmBytes& image) {
    bool loaded = true;
    auto music = loadSong(image, &loaded);
    if (loaded) return "(loaded)";
    std::string text = music->lastErrorText();
    music->release();
    music->release();
    return text;
}

YmFrame16 frame16(std::initializer_list<std::pair<int, uint8_t>> changes, uint8_t fill) {
    YmFrame16 f;
    f.fill(fill);
    for (const auto& change : changes) f[size_t(change.first)] = change.second;
    return f;
}

std::vector<int16_t> play(YmMusic& music, int frames, int request) {
    if (request <= 0) request = std::max(frames, 1);
    std::vector<int16_t> buffer(size_t(2 * request));
    std::vector<int16_t> left;
    for (int done = 0; done < frames; done += request) {
        int n = std::min(request, frames - done);
        music.renderAudio(buffer.data(), n);
        for (int i = 0; i < n; i++) {
            EXPECT_EQ(buffer[size_t(2 * i)], buffer[size_t(2 * i + 1)]) << done + i;
            left.push_back(buffer[size_t(2 * i)]);
        }
    }
    return left;
}

std::vector<int16_t> reference(int frames, const std::function<void(Ym2149&, int)>& tick) {
    Ym2149 chip;
    std::vector<int16_t> out;
    for (int i = 0; i < frames; i++) {
        if (i % FRAME_LENGTH == 0) tick(chip, i / FRAME_LENGTH);
        out.push_back(chip.renderSample());
    }
    return out;
}

void writeFrame(Ym2149& chip, const uint8_t* f) {
    for (int r = 0; r <= 10; r++) chip.setRegister(r, f[r]);
    chip.clearFrameEffects();
    chip.setRegister(11, f[11]);
    chip.setRegister(12, f[12]);
    if (f[13] != 255) chip.setRegister(13, f[13]);
}

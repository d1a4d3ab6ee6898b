#include "tests/ym_music/music_test_support.h"

#include <gtest/gtest.h>

std::unique_ptr<YmMusic> loadSong(const YmBytes& image, bool* loaded) {
    auto music = std::make_unique<YmMusic>();
    bool ok = music->load(image.data(), uint32_t(image.size()));
    music->chip.setLowPass(true);
    music->loopEnabled = true;
    if (loaded) *loaded = ok;
    return music;
}

std::unique_ptr<YmMusic> loadedSong(const YmBytes& image) {
    bool ok = false;
    auto music = loadSong(image, &ok);
    EXPECT_TRUE(ok) << music->lastError;
    return music;
}

std::string refusal(const YmBytes& image) {
    bool loaded = true;
    auto music = loadSong(image, &loaded);
    if (loaded) return "(loaded)";
    std::string text = music->lastError;
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

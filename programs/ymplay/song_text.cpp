#include "programs/ymplay/song_text.h"

#include <cstdio>

#include "ym/ym_music.h"

std::string displayText(const char* text, bool utf8) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++) {
        unsigned char c = *p;
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c >= 0xA0 && utf8) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += '?';
        }
    }
    return out;
}

size_t displayWidth(const std::string& text) {
    size_t width = 0;
    for (unsigned char c : text) width += (c & 0xC0) != 0x80;  // continuation bytes take no room
    return width;
}

std::string clipText(const std::string& text, size_t width) {
    size_t taken = 0, bytes = 0;
    while (bytes < text.size()) {
        if ((text[bytes] & 0xC0) != 0x80) {
            if (taken == width) break;
            taken++;
        }
        bytes++;
    }
    return text.substr(0, bytes);
}

std::string minutesAndSeconds(int64_t frames) {
    int64_t seconds = frames > 0 ? frames / YM_OUTPUT_RATE : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02d", static_cast<long long>(seconds / 60), int(seconds % 60));
    return text;
}

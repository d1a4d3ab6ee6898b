#pragma once
// Song texts and times as the player shows them.
#include <cstdint>
#include <string>

// A song text made safe for a terminal: printable ASCII as it is, the
// Latin-1 letters and signs (0xA0 to 0xFF) as UTF-8 when the terminal takes
// UTF-8 and as '?' otherwise, every control character (escape sequences and
// line breaks included) as '?'.
std::string displayText(const char* text, bool utf8);

// Characters of a displayText result (it holds no wider character).
size_t displayWidth(const std::string& text);

// The first `width` characters of a displayText result.
std::string clipText(const std::string& text, size_t width);

// Output frames as m:ss.
std::string minutesAndSeconds(int64_t frames);

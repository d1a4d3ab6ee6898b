#pragma once
// A bar on standard error for the tools' long runs, drawn only once the work
// has taken more than half a second.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

struct ProgressBar {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDraw = start;
    bool drawn = false;

    void update(int64_t done, int64_t total) {
        auto now = std::chrono::steady_clock::now();
        if (now - start < std::chrono::milliseconds(500)) return;
        if (drawn && now - lastDraw < std::chrono::milliseconds(100) && done < total) return;
        if (total < 1) total = 1;
        if (done > total) done = total;
        int width = 40;
        int filled = int(done * width / total);
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(size_t(filled), '#').c_str(),
                     std::string(size_t(width - filled), '.').c_str(), int(done * 100 / total));
        std::fflush(stderr);
        drawn = true;
        lastDraw = now;
    }
    void finish() {
        if (drawn) std::fprintf(stderr, "\n");
        drawn = false;
    }
};

#include "generators/compose/pitch.h"

#include <cmath>

#include "ym/ym_music.h"

namespace {
// The player's effect timers, as the engine defines them.
const double kTimerClock = timerClock;
}  // namespace

double exp2Portable(double x) {
    double whole = std::floor(x);
    double y = (x - whole) * 0.69314718055994530942;
    double term = 1.0, sum = 1.0;
    for (int k = 1; k <= 24; ++k) {
        term = term * y / k;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(whole));
}

double frequencyOfCents(int cents) { return 440.0 * exp2Portable((cents - 6900) / 1200.0); }

static int roundClamped(double v, int lo, int hi) {
    double r = std::floor(v + 0.5);
    if (r < lo) return lo;
    if (r > hi) return hi;
    return static_cast<int>(r);
}

int tonePeriodFor(double hz, uint32_t clock) { return roundClamped(clock / (16.0 * hz), 1, 4095); }

int envelopePeriodFor(double hz, int shape, uint32_t clock) {
    // Saw shapes repeat twice per 32-step stage, triangles once.
    double clocksPerCycle = (shape == 10 || shape == 14) ? 512.0 : 256.0;
    return roundClamped(clock / (clocksPerCycle * hz), 1, 65535);
}

int sine16(uint32_t phase) {
    int x = static_cast<int>(phase & 0xFFFF);
    int half = x & 0x7FFF;
    int v = static_cast<int>((static_cast<int64_t>(half) * (32768 - half)) >> 13);
    if (v > 32767) v = 32767;
    return x < 0x8000 ? v : -v;
}

bool timerSettingFor(double hz, int& prescalerIndex, int& count) {
    double bestError = 1e30;
    for (int i = 1; i < 8; ++i) {
        int c = roundClamped(kTimerClock / (timerPrescaleTable[i] * hz), 0, 100000);
        if (c < 1 || c > 255) continue;
        // The player divides the timer clock by the whole timer period.
        double actual = static_cast<double>(static_cast<int>(kTimerClock) / (timerPrescaleTable[i] * c));
        double error = std::fabs(actual - hz);
        if (error < bestError) {
            bestError = error;
            prescalerIndex = i;
            count = c;
        }
    }
    return bestError < hz * 0.05;
}

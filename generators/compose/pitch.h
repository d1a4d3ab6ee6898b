#pragma once
// Pitch arithmetic for the score compiler. Only + - * / on doubles and exact
// library calls (floor, ldexp) are used, so every machine with IEEE doubles
// turns a score into the same register values.
#include <cstdint>

// 2^x, by a fixed Taylor series rather than the C library's exp2.
double exp2Portable(double x);

// Frequency in Hz of a pitch in cents above MIDI note 0 (6900 is 440 Hz).
double frequencyOfCents(int cents);

// Chip tone period (1..4095) that sounds `hz` with the given master clock.
int tonePeriodFor(double hz, uint32_t clock);

// Envelope period (1..65535) that repeats a waveform shape (8, 10, 12, 14) at `hz`.
int envelopePeriodFor(double hz, int shape, uint32_t clock);

// Parabolic sine of a phase in 1/65536 turns: -32767..32767, integer only.
int sine16(uint32_t phase);

// The timer prescaler index (1..7) and count (1..255) whose rate lies closest
// to `hz`; false when no setting comes within reach.
bool timerSettingFor(double hz, int& prescalerIndex, int& count);

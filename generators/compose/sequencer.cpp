#include "generators/compose/sequencer.h"

#include "generators/compose/pitch.h"

namespace {

template <typename T>
T holdLast(const std::vector<T>& list, int index, T fallback) {
    if (list.empty()) return fallback;
    return list[static_cast<size_t>(index) < list.size() ? static_cast<size_t>(index) : list.size() - 1];
}

// What one voice asks of the chip in one frame.
struct VoiceOutput {
    int cents = 6000;
    int mix = 0;
    int noisePeriod = -1;
    int level = 0;
    bool envelope = false;
    int envelopePeriod = 0;
    int envelopeShape = -1;  // written this frame (restarts the envelope), or -1
    double gateHz = 0;       // volume gate square-wave frequency, 0: none
};

struct NoteState {
    const Instrument* instrument = nullptr;
    bool sounding = false;
    bool released = false;
    bool envelopeRestart = false;
    int age = 0;
    int releaseAge = 0;
    int volume = 15;
    std::vector<int> chord;
    int slideFrom = 0, slideTo = 0, slideAge = 0;  // cents; slideAge counts up to the instrument's slide
};

struct OverlayState {
    const Instrument* instrument = nullptr;
    int age = 0;
    int note = 60;
};

int basePitch(const NoteState& n) {
    int frames = n.instrument->slideFrames;
    if (n.slideAge >= frames) return n.slideTo;
    return n.slideFrom + (n.slideTo - n.slideFrom) * n.slideAge / frames;
}

void applyEvent(NoteState& n, const VoiceEvent& e, const std::vector<Instrument>& instruments) {
    if (e.kind == EVENT_REST) {
        if (n.sounding && !n.released) {
            n.released = true;
            n.releaseAge = 0;
        }
        return;
    }
    const Instrument* inst = &instruments[static_cast<size_t>(e.instrument)];
    int target = (e.note + inst->transpose) * 100;
    bool legato = e.kind == EVENT_SLIDE && n.sounding && !n.released && n.instrument == inst;
    if (legato) {
        n.slideFrom = basePitch(n);
        n.slideAge = 0;
    } else {
        n.instrument = inst;
        n.sounding = true;
        n.released = false;
        n.envelopeRestart = true;
        n.age = 0;
        n.slideFrom = target;
        n.slideAge = inst->slideFrames;
    }
    n.slideTo = target;
    n.chord = e.chord;
    n.volume = e.volume;
}

VoiceOutput noteOutput(NoteState& n) {
    VoiceOutput out;
    if (!n.sounding) return out;
    const Instrument& in = *n.instrument;
    int level;
    if (!n.released) {
        level = holdLast(in.volume, n.age, 0);
    } else if (static_cast<size_t>(n.releaseAge) < in.release.size()) {
        level = in.release[static_cast<size_t>(n.releaseAge)];
    } else {
        n.sounding = false;
        return out;
    }
    // Chip levels are logarithmic, so the track volume attenuates in level steps.
    out.level = level - (15 - n.volume);
    if (out.level < 0) out.level = 0;
    int cents = basePitch(n) + holdLast(in.bend, n.age, 0);
    const std::vector<int>& arp = n.chord.empty() ? in.arp : n.chord;
    if (!arp.empty()) cents += 100 * arp[static_cast<size_t>(n.age / in.arpSpeed) % arp.size()];
    if (in.vibratoPeriod > 0 && n.age >= in.vibratoDelay) {
        uint32_t phase = static_cast<uint32_t>(static_cast<int64_t>(n.age - in.vibratoDelay) * 65536 / in.vibratoPeriod);
        cents += in.vibratoDepth * sine16(phase) / 32768;
    }
    out.cents = cents;
    out.mix = holdLast(in.mix, n.age, 0);
    if (out.mix & MIX_NOISE) out.noisePeriod = holdLast(in.noise, n.age, 1);
    double hz = frequencyOfCents(cents);
    if (in.buzzShape >= 0 && !n.released && out.level > 0) {
        out.envelope = true;
        out.envelopePeriod = envelopePeriodFor(hz, in.buzzShape, kComposeMasterClock);
        if (n.envelopeRestart) out.envelopeShape = in.buzzShape;
        n.envelopeRestart = false;
    }
    if (in.gateRatio > 0 && out.level > 0) out.gateHz = hz * in.gateRatio / 1000.0;
    return out;
}

void advance(NoteState& n) {
    if (!n.sounding) return;
    ++n.age;
    if (n.released) ++n.releaseAge;
    if (n.slideAge < n.instrument->slideFrames) ++n.slideAge;
}

VoiceOutput overlayOutput(OverlayState& o) {
    VoiceOutput out;
    const Instrument& in = *o.instrument;
    out.level = in.volume[static_cast<size_t>(o.age)];
    out.cents = (o.note + in.transpose) * 100 + holdLast(in.bend, o.age, 0);
    out.mix = holdLast(in.mix, o.age, 0);
    if (out.mix & MIX_NOISE) out.noisePeriod = holdLast(in.noise, o.age, 1);
    return out;
}

struct Sequencer {
    const Score& score;
    std::string& error;
    NoteState notes[3];
    OverlayState overlays[3];
    int drumBusyUntil[3] = {-1, -1, -1};
    size_t nextEvent[3] = {0, 0, 0};
    size_t nextDrum = 0;
    int noisePeriod = 1;
    int envelopePeriod = 1;
    int frame = 0;
    RegisterFrame regs{};

    bool fail(const std::string& message) {
        std::string section;
        int row = frame / score.framesPerRow;
        for (size_t i = 0; i < score.sectionRows.size(); ++i)
            if (score.sectionRows[i] <= row) section = score.sectionNames[i];
        error = "frame " + std::to_string(frame) + " (pattern " + section + ", row " +
                std::to_string(row) + "): " + message;
        return false;
    }

    bool startDigidrum(const Hit& hit, int gateUser) {
        if ((regs[3] >> 4) & 3) return fail("two digidrums start in one frame");
        if (gateUser == hit.voice) return fail("a digidrum starts on the gated voice");
        int index = 0, count = 0;
        if (!timerSettingFor(hit.rate, index, count)) return fail("no timer setting for " + hit.name);
        int v = hit.voice;
        regs[3] = static_cast<uint8_t>((regs[3] & 0x0F) | ((v + 1) << 4));
        regs[8] = static_cast<uint8_t>((regs[8] & 0x1F) | (index << 5));
        regs[15] = static_cast<uint8_t>(count);
        regs[static_cast<size_t>(8 + v)] = static_cast<uint8_t>((regs[static_cast<size_t>(8 + v)] & 0xE0) | hit.sample);
        const SampleRecipe& s = score.samples[static_cast<size_t>(hit.sample)];
        drumBusyUntil[v] = frame + (s.length * kComposeFrameRate + hit.rate - 1) / hit.rate;
        return true;
    }

    bool frameStep() {
        int row = frame / score.framesPerRow;
        bool rowStart = frame % score.framesPerRow == 0;
        for (int v = 0; v < 3 && rowStart; ++v) {
            const auto& events = score.voices[v];
            while (nextEvent[v] < events.size() && events[nextEvent[v]].row == row)
                applyEvent(notes[v], events[nextEvent[v]++], score.instruments);
        }
        std::vector<const Hit*> digidrums;
        if (rowStart && nextDrum < score.drums.size() && score.drums[nextDrum].row == row) {
            for (int h : score.drums[nextDrum++].hits) {
                const Hit& hit = score.hits[static_cast<size_t>(h)];
                if (hit.sample >= 0) {
                    digidrums.push_back(&hit);
                } else {
                    overlays[hit.voice] = OverlayState{&score.instruments[static_cast<size_t>(hit.instrument)], 0, hit.note};
                }
            }
        }

        VoiceOutput out[3];
        for (int v = 0; v < 3; ++v) {
            OverlayState& o = overlays[v];
            if (o.instrument && static_cast<size_t>(o.age) >= o.instrument->volume.size()) o.instrument = nullptr;
            out[v] = o.instrument ? overlayOutput(o) : noteOutput(notes[v]);
            if (!(out[v].mix & (MIX_TONE | MIX_NOISE))) {
                // Neither generator: any level would be a DC step, i.e. a click.
                out[v].level = 0;
                out[v].envelope = false;
                out[v].gateHz = 0;
            }
        }

        regs.fill(0);
        regs[13] = 255;
        int noiseUser = -1, envelopeUser = -1, gateUser = -1;
        for (int v = 0; v < 3; ++v) {
            const VoiceOutput& o = out[v];
            int period = tonePeriodFor(frequencyOfCents(o.cents), kComposeMasterClock);
            regs[static_cast<size_t>(2 * v)] = static_cast<uint8_t>(period & 0xFF);
            regs[static_cast<size_t>(2 * v + 1)] = static_cast<uint8_t>(period >> 8);
            if (!(o.mix & MIX_TONE)) regs[7] |= static_cast<uint8_t>(1 << v);
            if (!(o.mix & MIX_NOISE)) regs[7] |= static_cast<uint8_t>(8 << v);
            regs[static_cast<size_t>(8 + v)] = static_cast<uint8_t>(o.envelope ? 0x10 : o.level);
            if (o.mix & MIX_NOISE) {
                if (noiseUser >= 0 && o.noisePeriod != noisePeriod)
                    return fail(std::string("voices ") + char('A' + noiseUser) + " and " + char('A' + v) +
                                " want different noise periods");
                noiseUser = v;
                noisePeriod = o.noisePeriod;
            }
            if (o.envelope) {
                if (envelopeUser >= 0)
                    return fail(std::string("voices ") + char('A' + envelopeUser) + " and " + char('A' + v) +
                                " both want the envelope");
                envelopeUser = v;
                envelopePeriod = o.envelopePeriod;
                if (o.envelopeShape >= 0) regs[13] = static_cast<uint8_t>(o.envelopeShape);
            }
            if (o.gateHz > 0) {
                if (gateUser >= 0) return fail("two volume gates in one frame");
                if (frame < drumBusyUntil[v]) return fail(std::string("gate on voice ") + char('A' + v) + " while its digidrum plays");
                gateUser = v;
            }
        }
        regs[6] = static_cast<uint8_t>(noisePeriod);
        regs[11] = static_cast<uint8_t>(envelopePeriod & 0xFF);
        regs[12] = static_cast<uint8_t>(envelopePeriod >> 8);
        if (gateUser >= 0) {
            int index = 0, count = 0;
            // The gate flips once per timer period: a square wave at half the timer rate.
            if (!timerSettingFor(2.0 * out[gateUser].gateHz, index, count))
                return fail("no timer setting for the volume gate");
            regs[1] = static_cast<uint8_t>(regs[1] | ((gateUser + 1) << 4));
            regs[6] = static_cast<uint8_t>(regs[6] | (index << 5));
            regs[14] = static_cast<uint8_t>(count);
        }
        for (const Hit* hit : digidrums)
            if (!startDigidrum(*hit, gateUser)) return false;

        for (int v = 0; v < 3; ++v) {
            advance(notes[v]);
            if (overlays[v].instrument) ++overlays[v].age;
        }
        return true;
    }
};

}  // namespace

bool sequenceScore(const Score& score, std::vector<RegisterFrame>& frames, std::string& error) {
    Sequencer seq{score, error, {}, {}, {-1, -1, -1}, {0, 0, 0}, 0, 1, 1, 0, {}};
    int total = score.rowCount * score.framesPerRow;
    frames.clear();
    frames.reserve(static_cast<size_t>(total));
    for (seq.frame = 0; seq.frame < total; ++seq.frame) {
        if (!seq.frameStep()) return false;
        frames.push_back(seq.regs);
    }
    return true;
}

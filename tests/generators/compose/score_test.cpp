// The score compiler: what a score's text means (phrases, repeats, carried
// lengths, chords), which scores it refuses, and the register bytes it writes
// for notes, the envelope buzz, the volume gate and digidrums.
#include <gtest/gtest.h>

#include "generators/compose/drum_synth.h"
#include "generators/compose/score.h"
#include "generators/compose/sequencer.h"

namespace {

const char* kHead =
    "title T\nauthor A\n"
    "instrument i\n  volume 15 12\n  release 6\n"
    "instrument buzz\n  buzz 8\n"
    "instrument gated\n  gate 1000\n"
    "sample kick length=400 tone=150:50 level=100:0 decay=100:1\n"
    "hit k sample=kick voice=C rate=12288\n"
    "hit s sample=kick voice=B rate=12288\n";

std::string withPattern(const std::string& body) {
    return std::string(kHead) + "pattern p bars=1\n" + body + "song p\n";
}

Score parsed(const std::string& text) {
    Score score;
    std::string error;
    EXPECT_TRUE(parseScore(text, score, error)) << error;
    return score;
}

std::vector<RegisterFrame> sequenced(const std::string& body) {
    Score score = parsed(withPattern(body));
    std::vector<RegisterFrame> frames;
    std::string error;
    EXPECT_TRUE(sequenceScore(score, frames, error)) << error;
    return frames;
}

std::string refusal(const std::string& text) {
    Score score;
    std::vector<RegisterFrame> frames;
    std::string error;
    if (parseScore(text, score, error) && sequenceScore(score, frames, error)) return "accepted";
    return error;
}

}  // namespace

TEST(ScoreText, ExpandsPhrasesRepeatsChordsAndCarriedLengths) {
    Score s = parsed(std::string(kHead) + "phrase up c4:2 e4   # two notes\n" +
                     "pattern p bars=1\n  A @i $up^2 [ g4:1 ]x2 r:10\n  B @i bb3M7:8 c#5\n" +
                     "  D k:4 k+s .:8\nsong p*2\n");
    EXPECT_EQ(s.rowCount, 32);
    const auto& a = s.voices[0];
    ASSERT_EQ(a.size(), 10u);  // five events per pass
    EXPECT_EQ(a[0].note, 62);  // c4 up two semitones
    EXPECT_EQ(a[1].row, 2);    // the length carries to e4
    EXPECT_EQ(a[1].note, 66);
    EXPECT_EQ(a[3].row, 5);
    EXPECT_EQ(a[4].kind, EVENT_REST);
    EXPECT_EQ(a[5].row, 16);  // second pass of the pattern
    const auto& b = s.voices[1];
    EXPECT_EQ(b[0].note, 58);
    EXPECT_EQ(b[0].chord, (std::vector<int>{0, 4, 7, 11}));
    EXPECT_EQ(b[1].note, 73);  // '#' inside a word is a sharp, not a comment
    EXPECT_EQ(s.voices[2][0].kind, EVENT_REST);  // a voice left out is silent
    ASSERT_EQ(s.drums.size(), 4u);
    EXPECT_EQ(s.drums[1].row, 4);
    EXPECT_EQ(s.drums[1].hits.size(), 2u);
}

TEST(ScoreText, RefusesFaultyScoresSayingWhere) {
    EXPECT_NE(refusal(withPattern("  A @i c4:8\n")).find("lasts 8 rows, the pattern 16"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A c4:16\n")).find("before any @instrument"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @nope c4:16\n")).find("unknown instrument"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @i $nope\n")).find("unknown phrase"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  D q:16\n")).find("unknown hit"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @i h4:16\n")).find("not a note"), std::string::npos);
    EXPECT_NE(refusal(std::string(kHead) + "phrase p $p\npattern p bars=1\n  A $p\nsong p\n").find("nest"),
              std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @i [ [ [ v9 ]x1000 ]x1000 ]x1000\n")).find("runs past"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @i [ c4:1 ]x100000\n")).find("runs past"), std::string::npos);
    EXPECT_EQ(refusal("title T\nauthor A\nbogus 1\n"), "line 3: unknown keyword 'bogus'");
    EXPECT_EQ(refusal(kHead), "the score has no 'song' line");
    // Shared controls: one digidrum and one envelope user per frame.
    EXPECT_NE(refusal(withPattern("  D k+s:16\n")).find("two digidrums"), std::string::npos);
    EXPECT_NE(refusal(withPattern("  A @buzz d3:16\n  B @buzz a3:16\n")).find("both want the envelope"),
              std::string::npos);
    EXPECT_NE(refusal(withPattern("  C @gated a4:16\n  D k:16\n")).find("digidrum"), std::string::npos);
}

TEST(Sequencer, WritesPeriodsMixerLevelsAndRelease) {
    auto f = sequenced("  A @i a4:1 r:15\n");
    ASSERT_EQ(f.size(), 96u);
    EXPECT_EQ(f[0][0] | f[0][1] << 8, 284);  // 2 MHz / (16 x 440 Hz)
    EXPECT_EQ(f[0][7], 0x3E);                // only A's tone enabled
    EXPECT_EQ(f[0][8], 15);
    EXPECT_EQ(f[1][8], 12);
    EXPECT_EQ(f[5][8], 12);  // the last volume holds
    EXPECT_EQ(f[6][8], 6);   // then the release list
    EXPECT_EQ(f[7][8], 0);
    EXPECT_EQ(f[7][7], 0x3F);  // a finished voice is switched off
    EXPECT_EQ(f[0][13], 255);  // nobody touched the envelope
}

TEST(Sequencer, BuzzRestartsTheEnvelopeOnlyAtNoteStart) {
    auto f = sequenced("  C @buzz d2:8 d2:8\n");
    EXPECT_EQ(f[0][10], 0x10);
    EXPECT_EQ(f[0][13], 8);
    EXPECT_EQ(f[1][13], 255);
    EXPECT_EQ(f[48][13], 8);  // the second note restarts it
    int period = f[0][11] | f[0][12] << 8;
    EXPECT_NEAR(2000000.0 / (256.0 * period), 73.4, 0.5);  // the saw sounds D2
}

TEST(Sequencer, EncodesGateAndDigidrumInTheSpareBits) {
    auto f = sequenced("  A @gated a4:16\n  D k:16\n");
    static const int prescalers[8] = {0, 4, 10, 16, 50, 64, 100, 200};
    const RegisterFrame& r = f[0];
    EXPECT_EQ((r[1] >> 4) & 3, 1);  // gate on voice A, at its level
    EXPECT_EQ(r[8] & 0x0F, 15);
    int gateTimer = prescalers[r[6] >> 5] * r[14];
    EXPECT_NEAR(2457600.0 / gateTimer / 2, 440.0, 4.0);  // gate square wave at the note
    EXPECT_EQ((r[3] >> 4) & 3, 3);  // digidrum on voice C: sample 0 at 12,288 Hz
    EXPECT_EQ(r[10] & 0x1F, 0);
    EXPECT_EQ(prescalers[r[8] >> 5] * r[15], 200);
    EXPECT_EQ((f[1][3] >> 4) & 3, 0);  // only the row's first frame starts it
    EXPECT_EQ((f[1][1] >> 4) & 3, 1);  // the gate is asked for again every frame
}

TEST(DrumSynth, SamplesStartLoudAndEndSilent) {
    SampleRecipe r;
    r.length = 1000;
    r.toneStart = 200;
    r.toneEnd = 50;
    r.toneLevel = 60;
    r.noiseLevel = 40;
    r.toneDecay = 300;
    r.noiseDecay = 200;
    std::vector<uint8_t> bytes = synthesiseSample(r);
    ASSERT_EQ(bytes.size(), 1000u);
    int early = 0;
    for (int i = 0; i < 100; ++i) early = std::max<int>(early, bytes[static_cast<size_t>(i)]);
    EXPECT_GT(early, 200);
    EXPECT_EQ(bytes.back(), 0);  // the voice keeps the last byte's level until the next frame
}

// Score text -> Score. Line based: a keyword starts each line, a word that
// starts with '#' opens a comment. Blocks (instrument, pattern) take the
// property lines that follow; the tracks are unrolled in score_tracks.cpp.
#include "generators/compose/score.h"
#include "generators/compose/score_text.h"

#include <cstdlib>
#include <sstream>

bool toInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    value = static_cast<int>(v);
    return true;
}

int findInstrument(const std::vector<Instrument>& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return static_cast<int>(i);
    return -1;
}

namespace {

struct ParseState {
    Score& score;
    std::string& error;
    SongText song;
    int lineNumber = 0;
    enum Block { BLOCK_NONE, BLOCK_INSTRUMENT, BLOCK_PATTERN } block = BLOCK_NONE;
    std::string blockName;
};

bool fail(ParseState& st, const std::string& message) {
    st.error = "line " + std::to_string(st.lineNumber) + ": " + message;
    return false;
}

bool intList(ParseState& st, const std::vector<std::string>& words, size_t from, int lo, int hi,
             std::vector<int>& out) {
    out.clear();
    for (size_t i = from; i < words.size(); ++i) {
        int v;
        if (!toInt(words[i], v) || v < lo || v > hi)
            return fail(st, "'" + words[i] + "' is not a number from " + std::to_string(lo) +
                                " to " + std::to_string(hi));
        out.push_back(v);
    }
    if (out.empty()) return fail(st, "'" + words[0] + "' needs at least one number");
    return true;
}


int findSample(const std::vector<SampleRecipe>& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return static_cast<int>(i);
    return -1;
}

bool parseMix(const std::string& word, int& mix) {
    if (word == "t") mix = MIX_TONE;
    else if (word == "n") mix = MIX_NOISE;
    else if (word == "tn") mix = MIX_TONE | MIX_NOISE;
    else if (word == "-") mix = 0;
    else return false;
    return true;
}

bool instrumentProperty(ParseState& st, const std::vector<std::string>& w) {
    Instrument& in = st.score.instruments.back();
    const std::string& key = w[0];
    std::vector<int> v;
    if (key == "volume") return intList(st, w, 1, 0, 15, in.volume);
    if (key == "release") return intList(st, w, 1, 0, 15, in.release);
    if (key == "noise") return intList(st, w, 1, 0, 31, in.noise);
    if (key == "arp") return intList(st, w, 1, -48, 48, in.arp);
    if (key == "bend") return intList(st, w, 1, -4800, 4800, in.bend);
    if (key == "mix") {
        in.mix.clear();
        for (size_t i = 1; i < w.size(); ++i) {
            int m;
            if (!parseMix(w[i], m)) return fail(st, "mix steps are t, n, tn or -, not '" + w[i] + "'");
            in.mix.push_back(m);
        }
        if (in.mix.empty()) return fail(st, "'mix' needs at least one step");
        return true;
    }
    if (key == "arpspeed" || key == "slide" || key == "buzz" || key == "gate" || key == "transpose") {
        if (!intList(st, w, 1, -48, 4000, v) || v.size() != 1) return fail(st, "'" + key + "' takes one number");
        if (key == "arpspeed") in.arpSpeed = v[0] < 1 ? 1 : v[0];
        if (key == "slide") in.slideFrames = v[0] < 1 ? 1 : v[0];
        if (key == "buzz") {
            if (v[0] < 8 || v[0] > 15) return fail(st, "buzz takes a repeating envelope shape, 8 to 15");
            in.buzzShape = v[0];
        }
        if (key == "gate") in.gateRatio = v[0];
        if (key == "transpose") in.transpose = v[0];
        return true;
    }
    if (key == "vibrato") {
        if (!intList(st, w, 1, 0, 1000, v) || v.size() != 3)
            return fail(st, "'vibrato' takes delay, depth in cents and period in frames");
        in.vibratoDelay = v[0];
        in.vibratoDepth = v[1];
        in.vibratoPeriod = v[2];
        return true;
    }
    return fail(st, "unknown instrument property '" + key + "'");
}

// key=value words after a name, as in "sample kick length=1800 tone=160:45".
bool keyValues(ParseState& st, const std::vector<std::string>& w,
               std::map<std::string, std::string>& out) {
    for (size_t i = 2; i < w.size(); ++i) {
        size_t eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0) return fail(st, "expected key=value, not '" + w[i] + "'");
        out[w[i].substr(0, eq)] = w[i].substr(eq + 1);
    }
    return true;
}

bool sampleLine(ParseState& st, const std::vector<std::string>& w) {
    if (w.size() < 2) return fail(st, "'sample' needs a name");
    SampleRecipe r;
    r.name = w[1];
    std::map<std::string, std::string> kv;
    if (!keyValues(st, w, kv)) return false;
    for (const auto& [key, value] : kv) {
        int a = 0, b = 0;
        size_t colon = value.find(':');
        bool pair = colon != std::string::npos;
        bool ok = pair ? toInt(value.substr(0, colon), a) && toInt(value.substr(colon + 1), b)
                       : toInt(value, a);
        if (!ok || a < 0 || b < 0) return fail(st, "bad value for '" + key + "'");
        if (key == "tone" && pair) { r.toneStart = a; r.toneEnd = b; }
        else if (key == "level" && pair) { r.toneLevel = a; r.noiseLevel = b; }
        else if (key == "decay" && pair) { r.toneDecay = a < 1 ? 1 : a; r.noiseDecay = b < 1 ? 1 : b; }
        else if (key == "length" && !pair) r.length = a;
        else if (key == "rate" && !pair) r.rate = a;
        else if (key == "sweep" && !pair) r.sweep = a < 1 ? 1 : a;
        else if (key == "hold" && !pair) r.noiseHold = a < 1 ? 1 : a;
        else if (key == "seed" && !pair) r.seed = static_cast<uint32_t>(a) | 1u;
        else return fail(st, "unknown sample setting '" + key + "'");
    }
    if (r.length < 1 || r.length > 65536) return fail(st, "sample length must be 1 to 65536 bytes");
    if (r.rate < 1000 || r.toneLevel + r.noiseLevel > 100)
        return fail(st, "sample rate below 1000 Hz or levels above 100% in all");
    if (findSample(st.score.samples, r.name) >= 0) return fail(st, "sample '" + r.name + "' defined twice");
    if (st.score.samples.size() >= 32) return fail(st, "at most 32 samples fit a level byte");
    st.score.samples.push_back(r);
    return true;
}

bool parseVoice(const std::string& text, int& voice) {
    if (text.size() != 1 || text[0] < 'A' || text[0] > 'C') return false;
    voice = text[0] - 'A';
    return true;
}

bool hitLine(ParseState& st, const std::vector<std::string>& w) {
    if (w.size() < 2) return fail(st, "'hit' needs a name");
    Hit h;
    h.name = w[1];
    if (h.name == "." || h.name.find('+') != std::string::npos || h.name.find(':') != std::string::npos)
        return fail(st, "hit names may not contain '.', '+' or ':'");
    std::map<std::string, std::string> kv;
    if (!keyValues(st, w, kv)) return false;
    for (const auto& [key, value] : kv) {
        if (key == "voice") {
            if (!parseVoice(value, h.voice)) return fail(st, "voice is A, B or C");
        } else if (key == "sample") {
            h.sample = findSample(st.score.samples, value);
            if (h.sample < 0) return fail(st, "unknown sample '" + value + "'");
        } else if (key == "instrument") {
            h.instrument = findInstrument(st.score.instruments, value);
            if (h.instrument < 0) return fail(st, "unknown instrument '" + value + "'");
        } else if (key == "rate") {
            if (!toInt(value, h.rate) || h.rate < 100 || h.rate > 60000)
                return fail(st, "rate must be 100 to 60000 Hz");
        } else if (key == "note") {
            size_t pos = 0;
            if (!parseNoteName(value, pos, h.note) || pos != value.size())
                return fail(st, "bad note '" + value + "'");
        } else {
            return fail(st, "unknown hit setting '" + key + "'");
        }
    }
    if ((h.sample < 0) == (h.instrument < 0)) return fail(st, "a hit plays either a sample or an instrument");
    for (const Hit& other : st.score.hits)
        if (other.name == h.name) return fail(st, "hit '" + h.name + "' defined twice");
    st.score.hits.push_back(h);
    return true;
}

bool patternLine(ParseState& st, const std::vector<std::string>& w) {
    PatternText& p = st.song.patterns[st.blockName];
    int track = -1;
    if (w[0] == "D") track = 3;
    else if (!parseVoice(w[0], track)) return fail(st, "pattern lines start with A, B, C or D");
    p.tracks[track].insert(p.tracks[track].end(), w.begin() + 1, w.end());
    return true;
}

bool topLine(ParseState& st, const std::vector<std::string>& w, const std::string& rest) {
    const std::string& key = w[0];
    st.block = ParseState::BLOCK_NONE;
    if (key == "title") st.score.title = rest;
    else if (key == "author") st.score.author = rest;
    else if (key == "comment") st.score.comment = rest;
    else if (key == "speed") {
        if (w.size() != 2 || !toInt(w[1], st.score.framesPerRow) || st.score.framesPerRow < 1 ||
            st.score.framesPerRow > 50)
            return fail(st, "'speed' takes frames per row, 1 to 50");
    } else if (key == "instrument") {
        if (w.size() != 2) return fail(st, "'instrument' takes a name");
        if (findInstrument(st.score.instruments, w[1]) >= 0) return fail(st, "instrument '" + w[1] + "' defined twice");
        st.score.instruments.push_back(Instrument{});
        st.score.instruments.back().name = w[1];
        st.block = ParseState::BLOCK_INSTRUMENT;
    } else if (key == "sample") {
        return sampleLine(st, w);
    } else if (key == "hit") {
        return hitLine(st, w);
    } else if (key == "phrase") {
        if (w.size() < 2) return fail(st, "'phrase' needs a name");
        auto& tokens = st.song.phrases[w[1]];
        tokens.insert(tokens.end(), w.begin() + 2, w.end());
    } else if (key == "pattern") {
        int bars = 0;
        if (w.size() != 3 || w[2].rfind("bars=", 0) != 0 || !toInt(w[2].substr(5), bars) || bars < 1 ||
            bars > 1024)
            return fail(st, "'pattern' takes a name and bars=N (1 to 1024)");
        if (st.song.patterns.count(w[1])) return fail(st, "pattern '" + w[1] + "' defined twice");
        st.song.patterns[w[1]].name = w[1];
        st.song.patterns[w[1]].rows = bars * 16;
        st.block = ParseState::BLOCK_PATTERN;
        st.blockName = w[1];
    } else if (key == "song") {
        for (size_t i = 1; i < w.size(); ++i) {
            std::string name = w[i];
            int times = 1;
            size_t star = name.find('*');
            if (star != std::string::npos) {
                if (!toInt(name.substr(star + 1), times) || times < 1) return fail(st, "bad repeat in '" + name + "'");
                name = name.substr(0, star);
            }
            for (int t = 0; t < times; ++t) st.song.order.push_back(name);
        }
    } else {
        return fail(st, "unknown keyword '" + key + "'");
    }
    return true;
}

}  // namespace

bool parseScore(const std::string& text, Score& score, std::string& error) {
    score = Score{};
    ParseState st{score, error, {}, 0, ParseState::BLOCK_NONE, {}};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        ++st.lineNumber;
        // '#' opens a comment at a word start; inside a word it sharpens a note.
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.erase(i);
                break;
            }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        size_t restStart = line.find(w[0]) + w[0].size();
        std::string rest = line.substr(restStart);
        rest.erase(0, rest.find_first_not_of(" \t"));
        rest.erase(rest.find_last_not_of(" \t\r") + 1);

        bool ok;
        if (st.block == ParseState::BLOCK_INSTRUMENT &&
            (w[0] == "volume" || w[0] == "release" || w[0] == "mix" || w[0] == "noise" ||
             w[0] == "arp" || w[0] == "bend" || w[0] == "arpspeed" || w[0] == "slide" ||
             w[0] == "buzz" || w[0] == "gate" || w[0] == "transpose" || w[0] == "vibrato"))
            ok = instrumentProperty(st, w);
        else if (st.block == ParseState::BLOCK_PATTERN && (w[0] == "A" || w[0] == "B" || w[0] == "C" || w[0] == "D"))
            ok = patternLine(st, w);
        else
            ok = topLine(st, w, rest);
        if (!ok) return false;
    }
    if (score.title.empty() || score.author.empty()) {
        error = "the score needs a title and an author";
        return false;
    }
    return unrollSong(st.song, score, error);
}

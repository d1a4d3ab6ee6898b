// Score text -> Score. Line based: a keyword starts each line, a word that
// starts with '#' opens a comment. Blocks (instrument, pattern) take the property lines that follow.
#include "tools/compose/score.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

const int64_t kMaxSongFrames = 50 * 3600;

struct TrackText {
    std::vector<std::string> tokens;
};

struct PatternText {
    std::string name;
    int rows = 0;
    TrackText tracks[4];  // A, B, C, drums
};

struct ParseState {
    Score& score;
    std::string& error;
    std::map<std::string, std::vector<std::string>> phrases;
    std::map<std::string, PatternText> patterns;
    std::vector<std::string> order;
    int lineNumber = 0;
    enum Block { BLOCK_NONE, BLOCK_INSTRUMENT, BLOCK_PATTERN } block = BLOCK_NONE;
    std::string blockName;
};

bool fail(ParseState& st, const std::string& message) {
    st.error = "line " + std::to_string(st.lineNumber) + ": " + message;
    return false;
}

bool toInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    value = static_cast<int>(v);
    return true;
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

int findNamed(const std::vector<Instrument>& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return static_cast<int>(i);
    return -1;
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

bool parseNoteName(const std::string& text, size_t& pos, int& note);

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
            h.instrument = findNamed(st.score.instruments, value);
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
    PatternText& p = st.patterns[st.blockName];
    int track = -1;
    if (w[0] == "D") track = 3;
    else if (!parseVoice(w[0], track)) return fail(st, "pattern lines start with A, B, C or D");
    p.tracks[track].tokens.insert(p.tracks[track].tokens.end(), w.begin() + 1, w.end());
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
        if (findNamed(st.score.instruments, w[1]) >= 0) return fail(st, "instrument '" + w[1] + "' defined twice");
        st.score.instruments.push_back(Instrument{});
        st.score.instruments.back().name = w[1];
        st.block = ParseState::BLOCK_INSTRUMENT;
    } else if (key == "sample") {
        return sampleLine(st, w);
    } else if (key == "hit") {
        return hitLine(st, w);
    } else if (key == "phrase") {
        if (w.size() < 2) return fail(st, "'phrase' needs a name");
        auto& tokens = st.phrases[w[1]];
        tokens.insert(tokens.end(), w.begin() + 2, w.end());
    } else if (key == "pattern") {
        int bars = 0;
        if (w.size() != 3 || w[2].rfind("bars=", 0) != 0 || !toInt(w[2].substr(5), bars) || bars < 1 ||
            bars > 1024)
            return fail(st, "'pattern' takes a name and bars=N (1 to 1024)");
        if (st.patterns.count(w[1])) return fail(st, "pattern '" + w[1] + "' defined twice");
        st.patterns[w[1]].name = w[1];
        st.patterns[w[1]].rows = bars * 16;
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
            for (int t = 0; t < times; ++t) st.order.push_back(name);
        }
    } else {
        return fail(st, "unknown keyword '" + key + "'");
    }
    return true;
}

// ---- tracks ----------------------------------------------------------------

struct Chord {
    const char* name;
    std::vector<int> offsets;
};

const std::vector<Chord>& chordTable() {
    static const std::vector<Chord> table = {
        {"m7", {0, 3, 7, 10}}, {"M7", {0, 4, 7, 11}}, {"m9", {0, 3, 7, 14}}, {"s4", {0, 5, 7}},
        {"s2", {0, 2, 7}},     {"a9", {0, 4, 7, 14}}, {"m", {0, 3, 7}},       {"M", {0, 4, 7}},
        {"7", {0, 4, 7, 10}},  {"5", {0, 7, 12}},     {"d", {0, 3, 6}},       {"o", {0, 12}},
    };
    return table;
}

bool parseNoteName(const std::string& text, size_t& pos, int& note) {
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a..g
    if (pos >= text.size() || text[pos] < 'a' || text[pos] > 'g') return false;
    int n = semitone[text[pos] - 'a'];
    ++pos;
    if (pos + 1 < text.size() && (text[pos] == '#' || text[pos] == 'b') && std::isdigit(static_cast<unsigned char>(text[pos + 1]))) {
        n += text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return false;
    note = n + 12 * (text[pos] - '0' + 1);
    ++pos;
    return true;
}

struct TrackCursor {
    int row = 0;
    int length = 4;
    int volume = 15;
    int instrument = -1;
};

struct Expander {
    ParseState& st;
    std::string where;
    int voice;  // 0..2, or 3 for drums
    TrackCursor cursor;
    int startRow;
    int patternRows;
    std::vector<VoiceEvent> events;
    std::vector<DrumEvent> drumEvents;
    int work = 0;  // tokens expanded so far: nested repeats cannot run away

    bool fail(const std::string& message) {
        st.error = where + ": " + message;
        return false;
    }

    bool takeLength(const std::string& token, size_t pos) {
        if (pos == token.size()) return true;
        int n;
        if (token[pos] != ':' || !toInt(token.substr(pos + 1), n) || n < 1)
            return fail("bad length in '" + token + "'");
        cursor.length = n;
        return true;
    }

    bool voiceToken(const std::string& token, int transpose) {
        if (token[0] == '@') {
            cursor.instrument = findNamed(st.score.instruments, token.substr(1));
            if (cursor.instrument < 0) return fail("unknown instrument '" + token.substr(1) + "'");
            return true;
        }
        if (token[0] == 'v' && token.size() > 1) {
            if (!toInt(token.substr(1), cursor.volume) || cursor.volume < 0 || cursor.volume > 15)
                return fail("volume is v0 to v15, not '" + token + "'");
            return true;
        }
        VoiceEvent e;
        e.row = startRow + cursor.row;
        size_t pos = 0;
        if (token[0] == 'r' || token[0] == '-') {
            pos = 1;
            if (!takeLength(token, pos)) return false;
            if (token[0] == 'r') {
                e.kind = EVENT_REST;
                events.push_back(e);
            }
            cursor.row += cursor.length;
            return true;
        }
        if (token[0] == '~') {
            e.kind = EVENT_SLIDE;
            pos = 1;
        }
        if (!parseNoteName(token, pos, e.note)) return fail("not a note: '" + token + "'");
        e.note += transpose;
        size_t colon = token.find(':', pos);
        std::string chord = token.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
        if (!chord.empty()) {
            bool found = false;
            for (const Chord& c : chordTable())
                if (chord == c.name) {
                    e.chord = c.offsets;
                    found = true;
                }
            if (!found) return fail("unknown chord '" + chord + "' in '" + token + "'");
            pos += chord.size();
        }
        if (!takeLength(token, pos)) return false;
        if (cursor.instrument < 0) return fail("note '" + token + "' before any @instrument");
        e.instrument = cursor.instrument;
        e.volume = cursor.volume;
        if (e.note < 12 || e.note > 120) return fail("note out of range: '" + token + "'");
        events.push_back(e);
        cursor.row += cursor.length;
        return true;
    }

    bool drumToken(const std::string& token) {
        size_t colon = token.find(':');
        std::string names = token.substr(0, colon);
        if (!takeLength(token, colon == std::string::npos ? token.size() : colon)) return false;
        if (names != ".") {
            DrumEvent e;
            e.row = startRow + cursor.row;
            size_t start = 0;
            while (start <= names.size()) {
                size_t plus = names.find('+', start);
                std::string name = names.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
                int found = -1;
                for (size_t i = 0; i < st.score.hits.size(); ++i)
                    if (st.score.hits[i].name == name) found = static_cast<int>(i);
                if (found < 0) return fail("unknown hit '" + name + "'");
                e.hits.push_back(found);
                if (plus == std::string::npos) break;
                start = plus + 1;
            }
            drumEvents.push_back(e);
        }
        cursor.row += cursor.length;
        return true;
    }

    bool run(const std::vector<std::string>& tokens, size_t begin, size_t end, int transpose, int depth) {
        if (depth > 16) return fail("phrases nest too deeply (a phrase that uses itself?)");
        for (size_t i = begin; i < end; ++i) {
            const std::string& t = tokens[i];
            if (++work > 1000000 || cursor.row > patternRows)
                return fail("runs past the pattern's " + std::to_string(patternRows) + " rows");
            if (t == "[") {
                size_t level = 1, j = i + 1;
                for (; j < end; ++j) {
                    if (tokens[j] == "[") ++level;
                    if (tokens[j].rfind("]", 0) == 0 && --level == 0) break;
                }
                int times = 0;
                if (j == end || tokens[j].size() < 3 || tokens[j][1] != 'x' || !toInt(tokens[j].substr(2), times) || times < 1)
                    return fail("'[' needs a closing ']xN'");
                for (int k = 0; k < times; ++k)
                    if (!run(tokens, i + 1, j, transpose, depth + 1)) return false;
                i = j;
            } else if (t[0] == '$') {
                size_t caret = t.find('^');
                std::string name = t.substr(1, caret == std::string::npos ? std::string::npos : caret - 1);
                int shift = 0;
                if (caret != std::string::npos && !toInt(t.substr(caret + 1), shift))
                    return fail("bad transposition in '" + t + "'");
                auto it = st.phrases.find(name);
                if (it == st.phrases.end()) return fail("unknown phrase '" + name + "'");
                if (!run(it->second, 0, it->second.size(), transpose + shift, depth + 1)) return false;
            } else if (voice == 3 ? !drumToken(t) : !voiceToken(t, transpose)) {
                return false;
            }
        }
        return true;
    }
};

bool unrollSong(ParseState& st) {
    Score& score = st.score;
    if (st.order.empty()) {
        st.error = "the score has no 'song' line";
        return false;
    }
    int row = 0;
    for (const std::string& name : st.order) {
        auto it = st.patterns.find(name);
        if (it == st.patterns.end()) {
            st.error = "song: unknown pattern '" + name + "'";
            return false;
        }
        const PatternText& p = it->second;
        score.sectionNames.push_back(name);
        score.sectionRows.push_back(row);
        for (int track = 0; track < 4; ++track) {
            Expander ex{st, "pattern " + name + " track " + std::string(1, "ABCD"[track]), track, {}, row, p.rows, {}, {}, 0};
            if (p.tracks[track].tokens.empty()) {
                // A voice the pattern leaves out is silent there.
                if (track < 3) ex.events.push_back(VoiceEvent{row, EVENT_REST, 0, {}, 0, 0});
                ex.cursor.row = p.rows;
            } else if (!ex.run(p.tracks[track].tokens, 0, p.tracks[track].tokens.size(), 0, 0)) {
                return false;
            }
            if (ex.cursor.row != p.rows)
                return ex.fail("lasts " + std::to_string(ex.cursor.row) + " rows, the pattern " +
                               std::to_string(p.rows));
            if (track < 3)
                score.voices[track].insert(score.voices[track].end(), ex.events.begin(), ex.events.end());
            else
                score.drums.insert(score.drums.end(), ex.drumEvents.begin(), ex.drumEvents.end());
        }
        row += p.rows;
        if (static_cast<int64_t>(row) * score.framesPerRow > kMaxSongFrames) {
            st.error = "song: longer than an hour";
            return false;
        }
    }
    score.rowCount = row;
    return true;
}

}  // namespace

bool parseScore(const std::string& text, Score& score, std::string& error) {
    score = Score{};
    ParseState st{score, error, {}, {}, {}, 0, ParseState::BLOCK_NONE, {}};
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
    return unrollSong(st);
}

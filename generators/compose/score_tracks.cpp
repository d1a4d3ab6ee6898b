// Track text -> events: notes with chords and lengths, rests, holds, volume
// and instrument changes, phrases with transposition, repeats, drum hits; the
// song order unrolled into one row-by-row list per voice.
#include <cctype>

#include "generators/compose/score_text.h"

namespace {

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

}  // namespace

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

namespace {

const int64_t kMaxSongFrames = 50 * 3600;

struct TrackCursor {
    int row = 0;
    int length = 4;
    int volume = 15;
    int instrument = -1;
};

struct Expander {
    const SongText& song;
    Score& score;
    std::string& error;
    std::string where;
    int voice;  // 0..2, or 3 for drums
    TrackCursor cursor;
    int startRow;
    int patternRows;
    std::vector<VoiceEvent> events;
    std::vector<DrumEvent> drumEvents;
    int work = 0;  // tokens expanded so far: nested repeats cannot run away

    bool fail(const std::string& message) {
        error = where + ": " + message;
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
            cursor.instrument = findInstrument(score.instruments, token.substr(1));
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
                for (size_t i = 0; i < score.hits.size(); ++i)
                    if (score.hits[i].name == name) found = static_cast<int>(i);
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
                auto it = song.phrases.find(name);
                if (it == song.phrases.end()) return fail("unknown phrase '" + name + "'");
                if (!run(it->second, 0, it->second.size(), transpose + shift, depth + 1)) return false;
            } else if (voice == 3 ? !drumToken(t) : !voiceToken(t, transpose)) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace

bool unrollSong(const SongText& song, Score& score, std::string& error) {
    if (song.order.empty()) {
        error = "the score has no 'song' line";
        return false;
    }
    int row = 0;
    for (const std::string& name : song.order) {
        auto it = song.patterns.find(name);
        if (it == song.patterns.end()) {
            error = "song: unknown pattern '" + name + "'";
            return false;
        }
        const PatternText& p = it->second;
        score.sectionNames.push_back(name);
        score.sectionRows.push_back(row);
        for (int track = 0; track < 4; ++track) {
            Expander ex{song, score, error, "pattern " + name + " track " + std::string(1, "ABCD"[track]), track, {}, row, p.rows, {}, {}, 0};
            if (p.tracks[track].empty()) {
                // A voice the pattern leaves out is silent there.
                if (track < 3) ex.events.push_back(VoiceEvent{row, EVENT_REST, 0, {}, 0, 0});
                ex.cursor.row = p.rows;
            } else if (!ex.run(p.tracks[track], 0, p.tracks[track].size(), 0, 0)) {
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
            error = "song: longer than an hour";
            return false;
        }
    }
    score.rowCount = row;
    return true;
}

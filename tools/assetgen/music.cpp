// SPDX-License-Identifier: MIT
#include "music.h"

#include "midi_file.h"
#include "output.h"
#include "rng.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every track is composed from a chord progression per section, a rhythmic and melodic motif per
// section, and a handful of accompaniment styles. Randomness comes from a fixed seed per piece.

namespace assetgen {
namespace {

constexpr int kDrumChannel = 9;

// ---- Harmony -----------------------------------------------------------------------------------

using PitchClasses = std::vector<int>;

const PitchClasses kMajor{0, 2, 4, 5, 7, 9, 11};
const PitchClasses kMinor{0, 2, 3, 5, 7, 8, 10};
const PitchClasses kPentatonic{0, 2, 4, 7, 9};

int Pc(int note) {
    return ((note % 12) + 12) % 12;
}

struct Chord {
    PitchClasses pcs;  // absolute pitch classes, root first

    int Root() const { return pcs.front(); }
    bool Has(int note) const { return std::find(pcs.begin(), pcs.end(), Pc(note)) != pcs.end(); }
};

// Roman numerals relative to the tonic: upper case major, lower case minor, an optional b or #
// before, and 7, maj7, dim, sus4, sus2, add9 or 6 after.
Chord ParseChord(std::string_view token, int tonic) {
    std::size_t i = 0;
    int shift = 0;
    if (i < token.size() && (token[i] == 'b' || token[i] == '#')) {
        shift = token[i] == 'b' ? -1 : 1;
        ++i;
    }
    static constexpr std::pair<std::string_view, int> kNumerals[] = {
        {"vii", 11}, {"iii", 4}, {"ii", 2}, {"iv", 5}, {"vi", 9}, {"v", 7}, {"i", 0}};
    const bool minor = i < token.size() && std::islower(static_cast<unsigned char>(token[i])) != 0;
    int degree = -1;
    std::size_t used = 0;
    for (const auto& [numeral, semitones] : kNumerals) {
        if (token.size() - i < numeral.size()) {
            continue;
        }
        bool match = true;
        for (std::size_t k = 0; k < numeral.size(); ++k) {
            match = match && std::tolower(static_cast<unsigned char>(token[i + k])) == numeral[k];
        }
        if (match) {
            degree = semitones;
            used = numeral.size();
            break;
        }
    }
    if (degree < 0) {
        throw std::runtime_error("bad chord " + std::string(token));
    }
    const std::string_view suffix = token.substr(i + used);
    std::vector<int> intervals = minor ? std::vector<int>{0, 3, 7} : std::vector<int>{0, 4, 7};
    if (suffix == "7") {
        intervals.push_back(10);
    } else if (suffix == "maj7") {
        intervals.push_back(11);
    } else if (suffix == "dim") {
        intervals = {0, 3, 6};
    } else if (suffix == "sus4") {
        intervals = {0, 5, 7};
    } else if (suffix == "sus2") {
        intervals = {0, 2, 7};
    } else if (suffix == "add9") {
        intervals.push_back(2);
    } else if (suffix == "6") {
        intervals.push_back(9);
    } else if (!suffix.empty()) {
        throw std::runtime_error("bad chord suffix " + std::string(token));
    }
    Chord chord;
    for (int interval : intervals) {
        chord.pcs.push_back(Pc(tonic + degree + shift + interval));
    }
    return chord;
}

// The scale a melody may use over a chord: chord tones that the key lacks replace their
// neighbours a semitone away (the raised seventh over a major V in a minor key, for instance).
PitchClasses ChordScale(const PitchClasses& scale, int tonic, const Chord& chord) {
    PitchClasses pcs;
    for (int step : scale) {
        pcs.push_back(Pc(tonic + step));
    }
    for (int tone : chord.pcs) {
        if (std::find(pcs.begin(), pcs.end(), tone) != pcs.end()) {
            continue;
        }
        std::erase_if(pcs, [tone](int pc) { return Pc(pc - tone) == 1 || Pc(tone - pc) == 1; });
        pcs.push_back(tone);
    }
    std::sort(pcs.begin(), pcs.end());
    return pcs;
}

bool InScale(const PitchClasses& pcs, int note) {
    return std::find(pcs.begin(), pcs.end(), Pc(note)) != pcs.end();
}

// Moves a note by the given number of scale steps.
int StepScale(int note, int steps, const PitchClasses& pcs) {
    while (!InScale(pcs, note)) {
        --note;
    }
    const int dir = steps > 0 ? 1 : -1;
    for (int n = std::abs(steps); n > 0; --n) {
        do {
            note += dir;
        } while (!InScale(pcs, note));
    }
    return note;
}

// The chord tone nearest to the note; ties go in the preferred direction.
int NearestChordTone(int note, const Chord& chord, int preferDir) {
    for (int d = 0; d < 12; ++d) {
        const int first = note + (preferDir >= 0 ? d : -d);
        const int second = note - (preferDir >= 0 ? d : -d);
        if (chord.Has(first)) {
            return first;
        }
        if (chord.Has(second)) {
            return second;
        }
    }
    return note;
}

// The note of the pitch class nearest to near (a tritone away goes up).
int NearestWithPc(int near, int pc) {
    const int up = Pc(pc - near);
    return up <= 6 ? near + up : near + up - 12;
}

// A close voicing of the chord within [low, high], as near as possible to the previous one.
std::vector<int> Voice(const Chord& chord, const std::vector<int>& previous, int low, int high, int count) {
    PitchClasses pcs = chord.pcs;
    while (static_cast<int>(pcs.size()) < count) {
        pcs.push_back(chord.Root());
    }
    pcs.resize(static_cast<std::size_t>(count));
    const double target = previous.empty() ? (low + high) / 2.0
                                           : std::accumulate(previous.begin(), previous.end(), 0.0) / previous.size();
    std::vector<int> best;
    double bestCost = 1e9;
    for (std::size_t inversion = 0; inversion < pcs.size(); ++inversion) {
        for (int base = low; base < low + 12; ++base) {
            if (Pc(base) != pcs[inversion]) {
                continue;
            }
            for (int octave = 0; base + octave <= high; octave += 12) {
                std::vector<int> v;
                int note = base + octave;
                v.push_back(note);
                for (std::size_t k = 1; k < pcs.size(); ++k) {
                    const int pc = pcs[(inversion + k) % pcs.size()];
                    do {
                        ++note;
                    } while (Pc(note) != pc);
                    v.push_back(note);
                }
                if (v.back() > high) {
                    continue;
                }
                double cost = 0;
                if (previous.size() == v.size()) {
                    for (std::size_t k = 0; k < v.size(); ++k) {
                        cost += std::abs(v[k] - previous[k]);
                    }
                } else {
                    cost = std::abs(std::accumulate(v.begin(), v.end(), 0.0) / v.size() - target) * v.size();
                }
                if (cost < bestCost) {
                    bestCost = cost;
                    best = v;
                }
            }
        }
    }
    if (best.empty()) {
        throw std::runtime_error("no voicing fits the range");
    }
    return best;
}

// ---- Form --------------------------------------------------------------------------------------

enum Part : unsigned {
    kMelody = 1u << 0,
    kCounter = 1u << 1,
    kPad = 1u << 2,
    kComp = 1u << 3,
    kArp = 1u << 4,
    kBass = 1u << 5,
    kDrums = 1u << 6,
    kExtra = 1u << 7,  // a piece's own colour: doubling, sparkles, choir
};
constexpr unsigned kAll = 0xFF;

struct SectionPlan {
    std::string name;    // sections with one name share their melody
    std::string chords;  // one token per bar; "I,V" splits a bar in halves
    double energy;       // 0..1: loudness and busyness
    unsigned parts;
};

struct PiecePlan {
    std::string title;
    double bpm;
    int beatsPerBar;
    int tonic;  // MIDI note of the key's tonic, around the melody's register
    PitchClasses scale;
    int keySharps;
    bool minorKey;
    int division;
    std::uint64_t seed;
    std::vector<SectionPlan> form;
};

struct ChordSpan {
    double start;  // beats from the start of the piece
    double length;
    Chord chord;
};

struct Bar {
    int section;
    int index;  // within its section
    int sectionBars;
    double energy;
    unsigned parts;
    std::vector<ChordSpan> chords;
};

struct Timeline {
    const PiecePlan* piece;
    std::vector<Bar> bars;

    double Beats() const { return static_cast<double>(bars.size()) * piece->beatsPerBar; }
    std::uint32_t Tick(double beat) const {
        return static_cast<std::uint32_t>(std::lround(beat * piece->division));
    }
    const Chord& ChordAt(double beat) const {
        const Bar& bar = bars[static_cast<std::size_t>(std::clamp(beat / piece->beatsPerBar, 0.0, bars.size() - 1.0))];
        const ChordSpan* found = &bar.chords.front();
        for (const ChordSpan& span : bar.chords) {
            if (span.start <= beat + 1e-9) {
                found = &span;
            }
        }
        return found->chord;
    }
    // Where the chord sounding at the beat gives way to the next one.
    double ChordEnd(double beat) const {
        const Bar& bar = bars[static_cast<std::size_t>(std::clamp(beat / piece->beatsPerBar, 0.0, bars.size() - 1.0))];
        for (const ChordSpan& span : bar.chords) {
            if (span.start <= beat + 1e-9 && beat < span.start + span.length - 1e-9) {
                return span.start + span.length;
            }
        }
        return beat;
    }
    // A held note stops where its chord does, so that it never sounds against the next one.
    double Hold(double beat, double length) const { return std::min(length, ChordEnd(beat) - beat); }
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> out;
    std::string current;
    for (char c : text) {
        if (c == separator) {
            if (!current.empty()) {
                out.push_back(current);
            }
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) {
        out.push_back(current);
    }
    return out;
}

Timeline Lay(const PiecePlan& piece) {
    Timeline t{&piece, {}};
    for (std::size_t s = 0; s < piece.form.size(); ++s) {
        const auto tokens = Split(piece.form[s].chords, ' ');
        for (std::size_t b = 0; b < tokens.size(); ++b) {
            Bar bar{static_cast<int>(s), static_cast<int>(b), static_cast<int>(tokens.size()), piece.form[s].energy,
                    piece.form[s].parts, {}};
            const auto parts = Split(tokens[b], ',');
            const double barStart = static_cast<double>(t.bars.size()) * piece.beatsPerBar;
            const double each = static_cast<double>(piece.beatsPerBar) / parts.size();
            for (std::size_t k = 0; k < parts.size(); ++k) {
                bar.chords.push_back({barStart + k * each, each, ParseChord(parts[k], piece.tonic)});
            }
            t.bars.push_back(std::move(bar));
        }
    }
    return t;
}

// ---- Notes -------------------------------------------------------------------------------------

struct Note {
    double beat;
    double length;
    int channel;
    int key;
    int velocity;
};
using Notes = std::vector<Note>;

int Humanize(Rng& rng, int velocity) {
    return std::clamp(velocity + rng.Below(9) - 4, 1, 127);
}

// Velocity for a bar's energy, from soft to loud.
int Loudness(double energy, int soft, int loud) {
    return static_cast<int>(std::lround(soft + (loud - soft) * energy));
}

bool IsLastBar(const Timeline& t, std::size_t b) {
    return b + 1 == t.bars.size();
}

// ---- Melody ------------------------------------------------------------------------------------

struct MotifNote {
    double onset;  // beats into the bar
    double length;
    int step;  // scale steps from the previous note
};
using MotifBar = std::vector<MotifNote>;

// Rhythms of one beat and of two beats, in beats; negative lengths are rests.
const std::vector<std::vector<double>> kOneBeat{{1}, {0.5, 0.5}, {0.5, 0.5}, {0.75, 0.25}, {-0.5, 0.5}, {1}};
const std::vector<std::vector<double>> kTwoBeats{{1.5, 0.5}, {2}, {1, 0.5, 0.5}, {0.5, 1, 0.5}, {-1, 1}};

MotifBar RhythmBar(Rng& rng, int beats, double density) {
    std::vector<double> lengths;
    int filled = 0;
    while (filled < beats) {
        const bool two = beats - filled >= 2 && rng.Chance(0.55 - 0.3 * density);
        const auto& cell = two ? kTwoBeats[static_cast<std::size_t>(rng.Below(static_cast<int>(kTwoBeats.size())))]
                               : kOneBeat[static_cast<std::size_t>(rng.Below(static_cast<int>(kOneBeat.size())))];
        lengths.insert(lengths.end(), cell.begin(), cell.end());
        filled += two ? 2 : 1;
    }
    MotifBar bar;
    double at = 0;
    for (double length : lengths) {
        if (length > 0) {
            bar.push_back({at, length, 0});
        }
        at += std::abs(length);
    }
    if (bar.empty()) {
        bar.push_back({0, static_cast<double>(beats), 0});
    }
    return bar;
}

// Steps that wander: runs of seconds in one direction, turning after a leap.
void Contour(Rng& rng, MotifBar& bar, int& direction) {
    for (MotifNote& note : bar) {
        const int r = rng.Below(10);
        if (r < 5) {
            note.step = direction;
        } else if (r < 7) {
            note.step = 2 * direction;
        } else if (r < 8) {
            note.step = -direction;
        } else if (r < 9) {
            note.step = 0;
        } else {
            note.step = 3 * direction;
            direction = -direction;
        }
        if (rng.Chance(0.25)) {
            direction = -direction;
        }
    }
}

// The cadence bar: the phrase comes to rest on a long note.
MotifBar CadenceBar(int beats, bool finalBar) {
    if (finalBar) {
        return {{0, static_cast<double>(beats), 0}};
    }
    if (beats == 3) {
        return {{0, 2, 0}, {2, 1, -1}};
    }
    return {{0, 1, -1}, {1, 1, 1}, {2, 2, -1}};
}

struct MelodyPlan {
    std::vector<MotifBar> bars;
    int startOffset;  // scale steps above the melody's home note
};

MelodyPlan PlanMelody(Rng& rng, int bars, int beats, double energy, bool lifted) {
    int direction = 1;
    MotifBar a = RhythmBar(rng, beats, energy);
    MotifBar b = RhythmBar(rng, beats, energy);
    MotifBar c = RhythmBar(rng, beats, energy);
    Contour(rng, a, direction);
    Contour(rng, b, direction);
    Contour(rng, c, direction);
    MelodyPlan plan;
    plan.startOffset = lifted ? 3 : rng.Below(3);
    for (int i = 0; i < bars; ++i) {
        const int inPhrase = i % 4;
        if (i == bars - 1 || inPhrase == 3) {
            plan.bars.push_back(CadenceBar(beats, false));
        } else if (inPhrase == 1) {
            plan.bars.push_back(b);
        } else if (inPhrase == 2 && i >= 4) {
            plan.bars.push_back(c);
        } else {
            plan.bars.push_back(a);
        }
    }
    return plan;
}

struct MelodyRange {
    int low, high, home;
};

// Realises the section plans over the chords: strong beats and long notes land on chord tones.
Notes Melody(const Timeline& t, Rng& rng, int channel, MelodyRange range, unsigned part, double legato) {
    const PiecePlan& piece = *t.piece;
    std::map<std::string, MelodyPlan> plans;
    Notes notes;
    int current = range.home;
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            continue;
        }
        const SectionPlan& section = piece.form[static_cast<std::size_t>(bar.section)];
        auto found = plans.find(section.name);
        if (found == plans.end()) {
            const bool lifted = section.name.front() == 'B';
            found = plans.emplace(section.name, PlanMelody(rng, bar.sectionBars, piece.beatsPerBar, bar.energy, lifted)).first;
        }
        const MelodyPlan& plan = found->second;
        if (bar.index == 0) {
            current = StepScale(range.home, plan.startOffset, ChordScale(piece.scale, piece.tonic, bar.chords.front().chord));
        }
        const bool finalBar = IsLastBar(t, b);
        const MotifBar& motif = finalBar ? CadenceBar(piece.beatsPerBar, true)
                                         : plan.bars[static_cast<std::size_t>(bar.index)];
        const double barStart = static_cast<double>(b) * piece.beatsPerBar;
        for (std::size_t k = 0; k < motif.size(); ++k) {
            const MotifNote& m = motif[k];
            const double beat = barStart + m.onset;
            const Chord& chord = t.ChordAt(beat);
            const PitchClasses pcs = ChordScale(piece.scale, piece.tonic, chord);
            int note = m.step == 0 ? current : StepScale(current, m.step, pcs);
            if (!InScale(pcs, note)) {
                note = StepScale(note, 0, pcs);
            }
            const bool strong = std::fmod(m.onset, piece.beatsPerBar == 3 ? 3.0 : 2.0) == 0.0 || m.length >= 1.5;
            // Long notes a semitone from a chord tone would rub against the harmony.
            const bool rubs = m.length >= 0.5 && !chord.Has(note) && (chord.Has(note - 1) || chord.Has(note + 1));
            if (strong || rubs) {
                note = NearestChordTone(note, chord, m.step);
            }
            if (finalBar) {
                note = NearestWithPc(current, Pc(piece.tonic));
            }
            while (note > range.high) {
                note -= 12;
            }
            while (note < range.low) {
                note += 12;
            }
            current = note;
            const int accent = m.onset == 0.0 ? 10 : (strong ? 5 : 0);
            notes.push_back({beat, m.length * legato, channel, note, Humanize(rng, Loudness(bar.energy, 72, 100) + accent)});
        }
    }
    return notes;
}

// ---- Accompaniment -----------------------------------------------------------------------------

// Sustained chords, one note per voice, voice-led from chord to chord.
std::vector<Notes> Pad(const Timeline& t, Rng& rng, const std::vector<int>& channels, int low, int high, unsigned part,
                       int soft, int loud) {
    std::vector<Notes> voices(channels.size());
    std::vector<int> previous;
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            previous.clear();
            continue;
        }
        for (const ChordSpan& span : bar.chords) {
            previous = Voice(span.chord, previous, low, high, static_cast<int>(channels.size()));
            const double length = IsLastBar(t, b) ? t.piece->beatsPerBar : span.length;
            for (std::size_t v = 0; v < channels.size(); ++v) {
                // Highest voice first, so that voice tracks read top to bottom.
                const int note = previous[previous.size() - 1 - v];
                voices[v].push_back({span.start, length, channels[v], note, Humanize(rng, Loudness(bar.energy, soft, loud))});
            }
        }
    }
    return voices;
}

// Chord hits on the pattern's steps, which divide the bar evenly ('x' strong, 'o' light).
Notes Comp(const Timeline& t, Rng& rng, int channel, int low, int high, const std::string& pattern, double length,
           unsigned part, int soft, int loud) {
    Notes notes;
    std::vector<int> previous;
    const double stepBeats = static_cast<double>(t.piece->beatsPerBar) / pattern.size();
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            continue;
        }
        const double barStart = static_cast<double>(b) * t.piece->beatsPerBar;
        for (std::size_t s = 0; s < pattern.size(); ++s) {
            if (pattern[s] == '.' || (IsLastBar(t, b) && s > 0)) {
                continue;
            }
            const double beat = barStart + s * stepBeats;
            previous = Voice(t.ChordAt(beat), previous, low, high, 3);
            const int velocity = Loudness(bar.energy, soft, loud) - (pattern[s] == 'o' ? 14 : 0);
            const double hold = IsLastBar(t, b) ? t.piece->beatsPerBar : t.Hold(beat, length);
            for (int note : previous) {
                notes.push_back({beat, hold, channel, note, Humanize(rng, velocity)});
            }
        }
    }
    return notes;
}

// Broken chords: the pattern gives chord-tone indices per step (digits), '.' rests.
Notes Arpeggio(const Timeline& t, Rng& rng, int channel, int low, const std::string& pattern, double stepBeats,
               double hold, unsigned part, int soft, int loud) {
    Notes notes;
    const int steps = static_cast<int>(std::lround(t.piece->beatsPerBar / stepBeats));
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            continue;
        }
        const double barStart = static_cast<double>(b) * t.piece->beatsPerBar;
        for (int s = 0; s < steps; ++s) {
            const char symbol = pattern[static_cast<std::size_t>(s) % pattern.size()];
            if (symbol == '.' || (IsLastBar(t, b) && s > 0)) {
                continue;
            }
            const double beat = barStart + s * stepBeats;
            const Chord& chord = t.ChordAt(beat);
            const int index = symbol - '0';
            const int size = static_cast<int>(chord.pcs.size());
            // Tones stacked upwards from the root at or above low.
            int note = NearestWithPc(low + 6, chord.Root());
            if (note < low) {
                note += 12;
            }
            std::vector<int> stack{note};
            for (int k = 1; k <= index; ++k) {
                int next = stack.back() + 1;
                while (Pc(next) != chord.pcs[static_cast<std::size_t>(k % size)]) {
                    ++next;
                }
                stack.push_back(next);
            }
            const int velocity = Loudness(bar.energy, soft, loud) + (s == 0 ? 8 : 0);
            notes.push_back({beat, IsLastBar(t, b) ? t.piece->beatsPerBar : t.Hold(beat, hold), channel, stack.back(),
                             Humanize(rng, velocity)});
        }
    }
    return notes;
}

enum class BassStyle { kRootFifth, kWaltz, kWalking, kPulse };

// The bass: roots in the low register, moving to the nearest octave of each new root.
Notes Bass(const Timeline& t, Rng& rng, int channel, BassStyle style, unsigned part, int soft, int loud) {
    Notes notes;
    constexpr int kLow = 33, kHigh = 52;
    int last = 41;
    auto rootNear = [&](const Chord& chord) {
        int note = NearestWithPc(last, chord.Root());
        while (note < kLow) {
            note += 12;
        }
        while (note > kHigh) {
            note -= 12;
        }
        return note;
    };
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            continue;
        }
        const int velocity = Loudness(bar.energy, soft, loud);
        for (std::size_t c = 0; c < bar.chords.size(); ++c) {
            const ChordSpan& span = bar.chords[c];
            const int root = rootNear(span.chord);
            last = root;
            const int fifth = root + 7 <= kHigh + 5 ? root + 7 : root - 5;
            auto add = [&](double at, double length, int key, int extra) {
                notes.push_back({span.start + at, length, channel, key, Humanize(rng, velocity + extra)});
            };
            if (IsLastBar(t, b)) {
                add(0, t.piece->beatsPerBar, root, 8);
                continue;
            }
            switch (style) {
                case BassStyle::kRootFifth:
                    for (double at = 0; at < span.length - 1e-9; at += 2) {
                        add(at, 1.5, at == 0 ? root : fifth, at == 0 ? 8 : 0);
                        if (bar.energy > 0.5) {
                            add(at + 1.5, 0.45, at == 0 ? root : fifth, -12);
                        }
                    }
                    break;
                case BassStyle::kWaltz:
                    // One deep note per bar, the fifth on every other bar.
                    add(0, 1, bar.index % 2 == 0 ? root : fifth - 12 >= kLow ? fifth - 12 : fifth, 8);
                    break;
                case BassStyle::kWalking: {
                    const Chord& next = b + 1 < t.bars.size() ? t.bars[b + 1].chords.front().chord : span.chord;
                    const int target = rootNear(next);
                    // Root, third, fifth, then the chord tone nearest the next root: chord tones
                    // only, so that the walk never rubs against the tune.
                    const int third = root + (span.chord.Has(root + 4) ? 4 : 3);
                    int lead = root + 7;
                    for (int pc : span.chord.pcs) {
                        const int candidate = NearestWithPc(target, pc);
                        if (candidate != target && candidate != root + 7 &&
                            std::abs(candidate - target) < std::abs(lead - target)) {
                            lead = candidate;
                        }
                    }
                    while (lead < kLow) {
                        lead += 12;
                    }
                    int line[4] = {root, third, root + 7, lead};
                    for (int k = 0; k < static_cast<int>(span.length) && k < 4; ++k) {
                        add(k, 0.9, line[k], k == 0 ? 8 : 0);
                    }
                    break;
                }
                case BassStyle::kPulse:
                    for (double at = 0; at < span.length - 1e-9; at += 0.5) {
                        const bool octave = std::fmod(at, 1.0) != 0.0 && rng.Chance(0.3);
                        add(at, 0.3, octave ? root + 12 : root, std::fmod(at, 1.0) == 0.0 ? 6 : -6);
                    }
                    break;
            }
        }
    }
    return notes;
}

// Guide tones: one long note per chord, the third or seventh where possible, moving smoothly.
Notes Counter(const Timeline& t, Rng& rng, int channel, int low, int high, unsigned part, int soft, int loud) {
    Notes notes;
    int current = (low + high) / 2;
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & part) == 0) {
            continue;
        }
        for (const ChordSpan& span : bar.chords) {
            int best = current;
            int bestCost = 1000;
            for (std::size_t k = 0; k < span.chord.pcs.size(); ++k) {
                const int candidate = NearestWithPc(current, span.chord.pcs[k]);
                const int cost = std::abs(candidate - current) + (k == 0 ? 3 : 0) + (candidate == current ? 1 : 0);
                if (candidate >= low && candidate <= high && cost < bestCost) {
                    best = candidate;
                    bestCost = cost;
                }
            }
            current = best;
            const double length = IsLastBar(t, b) ? t.piece->beatsPerBar : span.length;
            if (span.length >= 4 && !IsLastBar(t, b)) {
                // Long chords get a dotted rhythm with a neighbour tone.
                notes.push_back({span.start, 2.5, channel, current, Humanize(rng, Loudness(bar.energy, soft, loud))});
                notes.push_back({span.start + 2.5, 1.4, channel, NearestChordTone(current + 2, span.chord, 1),
                                 Humanize(rng, Loudness(bar.energy, soft, loud) - 8)});
            } else {
                notes.push_back({span.start, length * 0.95, channel, current, Humanize(rng, Loudness(bar.energy, soft, loud))});
            }
        }
    }
    return notes;
}

// ---- Drums -------------------------------------------------------------------------------------

namespace kit {
constexpr int kKick = 36, kSideStick = 37, kSnare = 38, kClap = 39, kClosedHat = 42, kPedalHat = 44, kOpenHat = 46,
              kCrash = 49, kRide = 51, kTambourine = 54, kCowbell = 56, kShaker = 70, kHighWood = 76, kLowWood = 77,
              kTriangle = 81, kHighTom = 50, kMidTom = 47, kLowTom = 45, kFloorTom = 41;
}

struct DrumLine {
    int key;
    std::string pattern;  // per step: 'x' accent, 'o' normal, '-' ghost, '.' none
    double minEnergy;     // plays only in bars at least this energetic
};

// Patterns repeat every bar; the last bar of a section ends with a fill, a new section opens on a
// cymbal, and the last bar of the piece is a single hit.
Notes Drums(const Timeline& t, Rng& rng, const std::vector<DrumLine>& lines, int stepsPerBar, bool fills) {
    Notes notes;
    const double stepBeats = static_cast<double>(t.piece->beatsPerBar) / stepsPerBar;
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        const Bar& bar = t.bars[b];
        if ((bar.parts & kDrums) == 0) {
            continue;
        }
        const double barStart = static_cast<double>(b) * t.piece->beatsPerBar;
        const int base = Loudness(bar.energy, 62, 104);
        if (IsLastBar(t, b)) {
            notes.push_back({barStart, 1, kDrumChannel, kit::kCrash, 110});
            notes.push_back({barStart, 1, kDrumChannel, kit::kKick, 110});
            continue;
        }
        const bool sectionStart = bar.index == 0 && b > 0;
        const bool fillBar = fills && bar.index == bar.sectionBars - 1 && bar.energy >= 0.5;
        const int fillFrom = stepsPerBar - stepsPerBar / (t.piece->beatsPerBar == 3 ? 3 : 4);
        if (sectionStart && bar.energy >= 0.4) {
            notes.push_back({barStart, 1, kDrumChannel, kit::kCrash, base + 10});
        }
        for (const DrumLine& line : lines) {
            if (bar.energy + 1e-9 < line.minEnergy) {
                continue;
            }
            for (int s = 0; s < stepsPerBar; ++s) {
                if (fillBar && s >= fillFrom) {
                    continue;
                }
                if (sectionStart && s == 0 && (line.key == kit::kClosedHat || line.key == kit::kRide)) {
                    continue;  // the crash takes the downbeat
                }
                const char symbol = line.pattern[static_cast<std::size_t>(s) % line.pattern.size()];
                if (symbol == '.') {
                    continue;
                }
                const int velocity = symbol == 'x' ? base + 12 : symbol == 'o' ? base : base - 28;
                notes.push_back({barStart + s * stepBeats, stepBeats, kDrumChannel, line.key, Humanize(rng, velocity)});
            }
        }
        if (fillBar) {
            const int toms[] = {kit::kHighTom, kit::kHighTom, kit::kMidTom, kit::kMidTom, kit::kLowTom, kit::kFloorTom};
            const int count = stepsPerBar - fillFrom;
            for (int s = 0; s < count; ++s) {
                const bool snare = rng.Chance(0.3);
                const int key = snare ? kit::kSnare : toms[std::min(5, s * 6 / std::max(1, count))];
                notes.push_back({barStart + (fillFrom + s) * stepBeats, stepBeats, kDrumChannel, key,
                                 Humanize(rng, base - 6 + s * 4)});
            }
        }
    }
    return notes;
}

// ---- Writing -----------------------------------------------------------------------------------

struct Instrument {
    std::string name;
    int channel;
    int program;  // -1: none (drums)
    int volume;
    int pan;     // 0..127, 64 centre
    int reverb;
};

// Notes on one channel must not overlap on one key, or their note-offs would cut each other.
void Untangle(Notes& notes) {
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
        if (a.channel != b.channel) {
            return a.channel < b.channel;
        }
        if (a.key != b.key) {
            return a.key < b.key;
        }
        return a.beat < b.beat;
    });
    for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
        Note& a = notes[i];
        const Note& b = notes[i + 1];
        if (a.channel == b.channel && a.key == b.key && a.beat + a.length > b.beat) {
            a.length = b.beat - a.beat;
        }
    }
    std::erase_if(notes, [](const Note& n) { return n.length <= 1e-6; });
}

void Setup(MidiTrack& track, const Instrument& instrument) {
    if (instrument.program >= 0) {
        track.Program(0, instrument.channel, instrument.program);
    }
    track.Control(0, instrument.channel, 7, instrument.volume);
    track.Control(0, instrument.channel, 10, instrument.pan);
    track.Control(0, instrument.channel, 91, instrument.reverb);
}

void Emit(MidiTrack& track, const Timeline& t, const Notes& notes) {
    for (const Note& n : notes) {
        const std::uint32_t from = t.Tick(n.beat);
        const std::uint32_t to = t.Tick(n.beat + n.length);
        track.Note(from, std::max<std::uint32_t>(1, to - from), n.channel, n.key, n.velocity);
    }
}

// The conductor: title, metre, key and tempo, with a gentle slowing over the last two bars.
void Conduct(MidiTrack& track, const Timeline& t) {
    const PiecePlan& piece = *t.piece;
    track.Name(piece.title);
    track.Text(0, "Pelmoravan background music");
    track.TimeSignature(0, piece.beatsPerBar, 4);
    track.KeySignature(0, piece.keySharps, piece.minorKey);
    track.Tempo(0, piece.bpm);
    const double slowFrom = t.Beats() - 2.0 * piece.beatsPerBar;
    for (double beat = slowFrom; beat < t.Beats(); beat += 1) {
        const double x = (beat - slowFrom + 1) / (t.Beats() - slowFrom);
        track.Tempo(t.Tick(beat), piece.bpm * (1.0 - 0.22 * x));
    }
    int lastSection = -1;
    for (std::size_t b = 0; b < t.bars.size(); ++b) {
        if (t.bars[b].section != lastSection) {
            lastSection = t.bars[b].section;
            track.Marker(t.Tick(static_cast<double>(b) * piece.beatsPerBar), piece.form[static_cast<std::size_t>(lastSection)].name);
        }
    }
}

// Seconds the piece lasts, from its tempo map; a guard against a form that is too short.
double Seconds(const Timeline& t) {
    const PiecePlan& piece = *t.piece;
    const double slowFrom = t.Beats() - 2.0 * piece.beatsPerBar;
    double seconds = slowFrom * 60.0 / piece.bpm;
    for (double beat = slowFrom; beat < t.Beats(); beat += 1) {
        const double x = (beat - slowFrom + 1) / (t.Beats() - slowFrom);
        seconds += 60.0 / (piece.bpm * (1.0 - 0.22 * x));
    }
    return seconds + 60.0 / (piece.bpm * 0.78);  // the ring-out after the last bar
}

struct Player {
    Instrument instrument;
    Notes notes;
};

// Builds the tracks: the conductor first, then one track per player. Players sharing a channel
// are untangled together.
std::vector<MidiTrack> Tracks(const Timeline& t, std::vector<Player> voices, bool singleTrack) {
    if (Seconds(t) < 62.0) {
        throw std::runtime_error(t.piece->title + " is shorter than a minute");
    }
    {
        Notes all;
        for (std::size_t v = 0; v < voices.size(); ++v) {
            for (Note n : voices[v].notes) {
                n.velocity = n.velocity * 1000 + static_cast<int>(v);  // remember the owner
                all.push_back(n);
            }
            voices[v].notes.clear();
        }
        Untangle(all);
        for (Note n : all) {
            const int owner = n.velocity % 1000;
            n.velocity /= 1000;
            voices[static_cast<std::size_t>(owner)].notes.push_back(n);
        }
    }
    const std::uint32_t end = t.Tick(t.Beats() + 1.0);
    std::vector<MidiTrack> tracks(singleTrack ? 1 : voices.size() + 1);
    Conduct(tracks[0], t);
    for (std::size_t v = 0; v < voices.size(); ++v) {
        MidiTrack& track = singleTrack ? tracks[0] : tracks[v + 1];
        if (!singleTrack) {
            track.Name(voices[v].instrument.name);
        }
        Setup(track, voices[v].instrument);
        Emit(track, t, voices[v].notes);
    }
    for (MidiTrack& track : tracks) {
        track.EndAt(std::max(end, track.LastTick()));
    }
    return tracks;
}

Notes Only(const Notes& notes, const std::vector<int>& keys) {
    Notes out;
    for (const Note& n : notes) {
        if (std::find(keys.begin(), keys.end(), n.key) != keys.end()) {
            out.push_back(n);
        }
    }
    return out;
}

Notes Shift(Notes notes, int semitones, int velocityChange) {
    for (Note& n : notes) {
        n.key += semitones;
        n.velocity = std::clamp(n.velocity + velocityChange, 1, 127);
    }
    return notes;
}

Notes OnChannel(Notes notes, int channel) {
    for (Note& n : notes) {
        n.channel = channel;
    }
    return notes;
}

// ---- The pieces --------------------------------------------------------------------------------

// SOUND1: a bright pop tune in F major; seven tracks.
Bytes GardenPath() {
    const unsigned kBand = kMelody | kCounter | kPad | kComp | kBass | kDrums;
    const PiecePlan piece{"Garden Path", 112, 4, 65, kMajor, -1, false, 120, 0x5001,
                         {{"Intro", "I vi IV V", 0.4, kPad | kComp | kBass | kDrums},
                          {"A", "I vi IV V I vi ii7 V", 0.6, kBand & ~kCounter},
                          {"B", "IV V iii vi ii V7 I V", 0.8, kBand},
                          {"A", "I vi IV V I vi ii7 V", 0.7, kBand},
                          {"B", "IV V iii vi ii V7 I V", 0.9, kBand},
                          {"Outro", "IV V I,IV I", 0.6, kAll}}};
    const Timeline t = Lay(piece);
    Rng rng(piece.seed);
    std::vector<Player> voices;
    voices.push_back({{"Flute", 0, 73, 100, 64, 50}, Melody(t, rng, 0, {67, 89, 72}, kMelody, 0.92)});
    voices.push_back({{"Clarinet", 1, 71, 80, 40, 50}, Counter(t, rng, 1, 57, 69, kCounter, 56, 78)});
    voices.push_back({{"Piano", 2, 0, 88, 80, 40}, Comp(t, rng, 2, 55, 72, "x..o..o.", 0.45, kComp, 58, 84)});
    voices.push_back({{"Strings", 3, 48, 70, 50, 70}, {}});
    for (Notes& v : Pad(t, rng, {3, 3, 3}, 53, 74, kPad, 40, 62)) {
        voices.back().notes.insert(voices.back().notes.end(), v.begin(), v.end());
    }
    voices.push_back({{"Bass", 4, 33, 100, 64, 20}, Bass(t, rng, 4, BassStyle::kRootFifth, kBass, 70, 100)});
    voices.push_back({{"Drums", kDrumChannel, -1, 96, 64, 40},
                      Drums(t, rng,
                            {{kit::kKick, "x.....o.x.......", 0.0},
                             {kit::kSnare, "....x.......x..-", 0.5},
                             {kit::kSideStick, "....o.......o...", 0.0},
                             {kit::kClosedHat, "o.-.o.-.o.-.o.-.", 0.0},
                             {kit::kOpenHat, "..............o.", 0.75}},
                            16, true)});
    return SmfFile(1, piece.division, Tracks(t, std::move(voices), false));
}

// SOUND2: a carousel waltz in G major; ten tracks.
Bytes Carousel() {
    const PiecePlan piece{"Carousel", 156, 3, 67, kMajor, 1, false, 120, 0x5002,
                         {{"Intro", "I I V7 V7", 0.4, kComp | kBass | kDrums | kPad},
                          {"A", "I I V7 V7 V7 V7 I I", 0.6, kAll & ~kExtra},
                          {"A2", "I I IV IV I V7 I I", 0.65, kAll & ~kExtra},
                          {"B", "vi vi ii ii V7 V7 I I", 0.75, kAll},
                          {"B2", "IV IV I vi ii V7 I I", 0.8, kAll},
                          {"A", "I I V7 V7 V7 V7 I I", 0.7, kAll},
                          {"A2", "I I IV IV I V7 I I", 0.75, kAll},
                          {"B", "vi vi ii ii V7 V7 I I", 0.8, kAll},
                          {"B2", "IV IV I vi ii V7 I I", 0.9, kAll},
                          {"Outro", "IV V7 I I", 0.6, kAll}}};
    const Timeline t = Lay(piece);
    Rng rng(piece.seed);
    const Notes tune = Melody(t, rng, 0, {71, 91, 79}, kMelody, 0.85);
    const Notes drums = Drums(t, rng,
                              {{kit::kKick, "x...........", 0.0},
                               {kit::kSnare, "....o...o...", 0.55},
                               {kit::kSideStick, "....o...o...", 0.0},
                               {kit::kTriangle, "x...........", 0.6},
                               {kit::kTambourine, "..-...o...-.", 0.7}},
                              12, true);
    std::vector<Player> voices;
    voices.push_back({{"Glockenspiel", 0, 9, 84, 74, 60}, tune});
    voices.push_back({{"Violin", 1, 40, 92, 54, 60}, OnChannel(Shift(tune, -12, -6), 1)});
    voices.push_back({{"Accordion", 2, 21, 80, 84, 40}, Comp(t, rng, 2, 55, 71, ".xx", 0.7, kComp, 52, 74)});
    voices.push_back({{"Strings", 3, 49, 64, 44, 80}, {}});
    for (Notes& v : Pad(t, rng, {3, 3, 3}, 59, 79, kPad, 38, 58)) {
        voices.back().notes.insert(voices.back().notes.end(), v.begin(), v.end());
    }
    voices.push_back({{"Pizzicato", 4, 45, 80, 90, 40},
                      Arpeggio(t, rng, 4, 67, "0.12.1", 0.5, 0.4, kExtra, 56, 76)});
    voices.push_back({{"Tuba", 5, 58, 96, 64, 30}, Bass(t, rng, 5, BassStyle::kWaltz, kBass, 70, 96)});
    voices.push_back({{"Kick", kDrumChannel, -1, 92, 64, 30}, Only(drums, {kit::kKick, kit::kCrash})});
    voices.push_back({{"Snare", kDrumChannel, -1, 92, 64, 30},
                      Only(drums, {kit::kSnare, kit::kSideStick, kit::kHighTom, kit::kMidTom, kit::kLowTom, kit::kFloorTom})});
    voices.push_back({{"Triangle and tambourine", kDrumChannel, -1, 92, 64, 30},
                      Only(drums, {kit::kTriangle, kit::kTambourine})});
    return SmfFile(1, piece.division, Tracks(t, std::move(voices), false));
}

// SOUND3: a pentatonic ensemble piece in D; twenty-six tracks, strings and drums split by part.
Bytes LanternLake() {
    const PiecePlan piece{"Lantern Lake", 100, 4, 74, kPentatonic, 2, false, 240, 0x5003,
                         {{"Intro", "I vi IV I", 0.35, kPad | kArp | kExtra | kDrums},
                          {"A", "I vi IV V I vi IV,V I", 0.55, kAll & ~kCounter},
                          {"B", "vi iii IV I vi iii IV V", 0.75, kAll},
                          {"A", "I vi IV V I vi IV,V I", 0.7, kAll},
                          {"B", "vi iii IV I vi iii IV V", 0.9, kAll},
                          {"Outro", "IV V I I", 0.5, kPad | kArp | kBass | kDrums | kMelody}}};
    const Timeline t = Lay(piece);
    Rng rng(piece.seed);
    const Notes tune = Melody(t, rng, 0, {69, 91, 78}, kMelody, 0.95);
    const auto strings = Pad(t, rng, {5, 5, 6, 7}, 50, 76, kPad, 36, 64);
    const Notes drums = Drums(t, rng,
                              {{kit::kKick, "x.....x...x.....", 0.0},
                               {kit::kSnare, "....x.......x...", 0.5},
                               {kit::kClosedHat, "o.-.o.-.o.-.o.-.", 0.5},
                               {kit::kOpenHat, "..............o.", 0.8},
                               {kit::kShaker, "-o-o-o-o-o-o-o-o", 0.0},
                               {kit::kHighWood, "..o.....o.o.....", 0.3},
                               {kit::kLowWood, "......o.......o.", 0.3},
                               {kit::kTambourine, "....o.......o...", 0.7},
                               {kit::kRide, "o...o...o...o...", 0.85}},
                              16, true);
    std::vector<Player> voices;
    voices.push_back({{"Flute", 0, 73, 100, 64, 70}, tune});
    voices.push_back({{"Pan flute echo", 1, 75, 70, 30, 90}, [&] {
                          Notes echo;
                          for (Note n : tune) {
                              if (t.bars[static_cast<std::size_t>(n.beat / piece.beatsPerBar)].energy >= 0.7) {
                                  n.beat += 0.5;
                                  n.channel = 1;
                                  n.key -= 12;
                                  n.velocity = std::max(1, n.velocity - 20);
                                  // Half a beat late the chord may have moved on: echo only
                                  // what still belongs to it.
                                  if (n.beat < t.Beats() && t.ChordAt(n.beat).Has(n.key)) {
                                      n.length = t.Hold(n.beat, n.length);
                                      echo.push_back(n);
                                  }
                              }
                          }
                          return echo;
                      }()});
    voices.push_back({{"Koto", 2, 107, 84, 88, 60}, Arpeggio(t, rng, 2, 62, "0120", 0.5, 0.45, kArp, 56, 80)});
    voices.push_back({{"Harp", 3, 46, 76, 36, 70}, Arpeggio(t, rng, 3, 50, "0123210.", 0.25, 0.6, kArp, 44, 66)});
    voices.push_back({{"Pizzicato", 4, 45, 74, 96, 50}, Comp(t, rng, 4, 57, 72, ".x.x.x.x", 0.25, kComp, 46, 68)});
    voices.push_back({{"Violin I", 5, 48, 78, 44, 80}, strings[0]});
    voices.push_back({{"Violin II", 5, 48, 78, 44, 80}, strings[1]});
    voices.push_back({{"Viola", 6, 41, 74, 70, 80}, strings[2]});
    voices.push_back({{"Cello", 7, 42, 78, 84, 80}, strings[3]});
    voices.push_back({{"Contrabass", 8, 43, 90, 64, 60}, Bass(t, rng, 8, BassStyle::kRootFifth, kBass, 70, 96)});
    voices.push_back({{"Choir", 10, 52, 66, 64, 100}, [&] {
                          Notes choir;
                          for (Notes& v : Pad(t, rng, {10, 10, 10}, 60, 79, kCounter, 34, 56)) {
                              choir.insert(choir.end(), v.begin(), v.end());
                          }
                          return choir;
                      }()});
    voices.push_back({{"Warm pad", 11, 89, 60, 64, 90}, [&] {
                          Notes pad;
                          for (Notes& v : Pad(t, rng, {11, 11}, 57, 72, kExtra, 30, 48)) {
                              pad.insert(pad.end(), v.begin(), v.end());
                          }
                          return pad;
                      }()});
    voices.push_back({{"Marimba", 12, 12, 80, 24, 50}, Counter(t, rng, 12, 64, 79, kCounter, 50, 74)});
    voices.push_back({{"Celesta", 13, 8, 70, 104, 90}, Arpeggio(t, rng, 13, 84, "2...1...", 0.5, 0.5, kExtra, 40, 62)});
    voices.push_back({{"Timpani", 14, 47, 84, 64, 60}, [&] {
                          Notes rolls;
                          for (std::size_t b = 0; b < t.bars.size(); ++b) {
                              const Bar& bar = t.bars[b];
                              if (bar.index == 0 || IsLastBar(t, b)) {
                                  int root = NearestWithPc(45, bar.chords.front().chord.Root());
                                  rolls.push_back({static_cast<double>(b) * piece.beatsPerBar, 2, 14, root,
                                                   Humanize(rng, Loudness(bar.energy, 60, 100))});
                              }
                          }
                          return rolls;
                      }()});
    voices.push_back({{"Shamisen", 15, 106, 72, 20, 40}, Comp(t, rng, 15, 62, 76, "x..x..x.", 0.2, kExtra, 48, 70)});
    const std::pair<const char*, std::vector<int>> split[] = {
        {"Kick", {kit::kKick}},
        {"Snare", {kit::kSnare}},
        {"Closed hi-hat", {kit::kClosedHat}},
        {"Open hi-hat", {kit::kOpenHat}},
        {"Crash", {kit::kCrash}},
        {"Toms", {kit::kHighTom, kit::kMidTom, kit::kLowTom, kit::kFloorTom}},
        {"Shaker", {kit::kShaker}},
        {"Wood blocks", {kit::kHighWood, kit::kLowWood}},
        {"Tambourine and ride", {kit::kTambourine, kit::kRide}},
    };
    for (const auto& [name, keys] : split) {
        voices.push_back({{name, kDrumChannel, -1, 90, 64, 50}, Only(drums, keys)});
    }
    return SmfFile(1, piece.division, Tracks(t, std::move(voices), false));
}

// SOUND4: a driving synth piece in A minor; five tracks, in a RIFF container.
Bytes NightDrive() {
    const PiecePlan piece{"Night Drive", 120, 4, 69, kMinor, 0, true, 240, 0x5004,
                         {{"Intro", "i VI III VII", 0.45, kComp | kBass | kDrums},
                          {"A", "i VI III VII i VI iv V", 0.65, kAll},
                          {"B", "VI VII i i VI VII V V", 0.8, kAll},
                          {"A", "i VI III VII i VI iv V", 0.75, kAll},
                          {"B", "VI VII i i VI VII V V", 0.95, kAll},
                          {"Outro", "iv V i i", 0.6, kAll}}};
    const Timeline t = Lay(piece);
    Rng rng(piece.seed);
    std::vector<Player> voices;
    voices.push_back({{"Lead", 0, 81, 84, 64, 60}, Melody(t, rng, 0, {64, 86, 72}, kMelody, 0.8)});
    voices.push_back({{"Electric piano", 1, 4, 88, 70, 60},
                      [&] {
                          Notes keys = Arpeggio(t, rng, 1, 57, "0121", 0.5, 0.45, kComp, 52, 76);
                          const Notes stabs = Comp(t, rng, 1, 60, 76, "x.....x.", 1.2, kPad, 44, 66);
                          keys.insert(keys.end(), stabs.begin(), stabs.end());
                          return keys;
                      }()});
    voices.push_back({{"Synth bass", 2, 38, 100, 64, 20}, Bass(t, rng, 2, BassStyle::kPulse, kBass, 70, 104)});
    voices.push_back({{"Drums", kDrumChannel, -1, 96, 64, 40},
                      Drums(t, rng,
                            {{kit::kKick, "x...x...x...x...", 0.0},
                             {kit::kClap, "....x.......x...", 0.6},
                             {kit::kSnare, "....o.......o...", 0.6},
                             {kit::kClosedHat, "..o...o...o...o.", 0.0},
                             {kit::kClosedHat, "-.-.-.-.-.-.-.-.", 0.7},
                             {kit::kOpenHat, "......o.......o.", 0.9}},
                            16, true)});
    return RmidFile(SmfFile(1, piece.division, Tracks(t, std::move(voices), false)));
}

// SOUND5: a quiet lullaby in E flat; one track holding every channel.
Bytes Lullaby() {
    const PiecePlan piece{"Lullaby", 84, 4, 63, kMajor, -3, false, 120, 0x5005,
                         {{"A", "I iii IV I ii V I V", 0.45, kAll & ~kDrums},
                          {"B", "vi iii IV I IV V I I", 0.6, kAll},
                          {"A", "I iii IV I ii V I V", 0.55, kAll},
                          {"Outro", "IV I", 0.4, kAll}}};
    const Timeline t = Lay(piece);
    Rng rng(piece.seed);
    std::vector<Player> voices;
    voices.push_back({{"Vibraphone", 0, 11, 96, 64, 70}, Melody(t, rng, 0, {63, 84, 70}, kMelody, 0.95)});
    voices.push_back({{"Guitar", 1, 24, 88, 50, 60}, Arpeggio(t, rng, 1, 51, "0121", 0.5, 1.0, kArp, 48, 68)});
    voices.push_back({{"Bass", 2, 32, 92, 64, 40}, Bass(t, rng, 2, BassStyle::kWalking, kBass, 60, 84)});
    voices.push_back({{"Drums", kDrumChannel, -1, 70, 64, 50},
                      Drums(t, rng,
                            {{kit::kKick, "x.......x.......", 0.0},
                             {kit::kSideStick, "....o.......o...", 0.0},
                             {kit::kPedalHat, "o.-.o.-.o.-.o.-.", 0.0}},
                            16, false)});
    return SmfFile(0, piece.division, Tracks(t, std::move(voices), true));
}

}  // namespace

void MakeMusic(const std::filesystem::path& assets) {
    const auto dir = assets / "music";
    WriteFile(dir / "SOUND1.mid", GardenPath());
    WriteFile(dir / "SOUND2.mid", Carousel());
    WriteFile(dir / "SOUND3.mid", LanternLake());
    WriteFile(dir / "SOUND4.mid", NightDrive());
    WriteFile(dir / "SOUND5.mid", Lullaby());
}

}  // namespace assetgen

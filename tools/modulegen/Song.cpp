// The composition: every pattern of the piece and the order list that strings them together.
//
// A minor at 130 beats a minute. The intro and the main sections run in 4/4 with a beat of six
// rows (24 ticks); the greetings section turns to a 12/8 shuffle whose eighth lasts 13 ticks,
// so that each 39-row caption step is one bar. Sections start on the rows where the picture
// changes; see the table in kSections.
#include "Song.h"

#include "Instruments.h"
#include "Score.h"

#include <sstream>
#include <stdexcept>
#include <string>

namespace Song {
namespace {

using namespace Instruments;

constexpr int kBeat = 24;            // ticks of a 4/4 beat
constexpr int kEighth = 12;          // ticks of a 4/4 eighth
constexpr int kSixteenth = 6;        // ticks of a 4/4 sixteenth
constexpr int kShuffle = 13;         // ticks of a 12/8 eighth
constexpr int kStep = 12 * kShuffle; // one 12/8 bar: 39 rows, one greeting caption

constexpr int kC4 = 49;
constexpr int kOpenHatNote = kC4 + 5; // the crash pitched up and choked reads as an open hat
constexpr int kBoomNote = kC4 - 4;    // the kick pitched down: a long, low accent

// A diatonic triad of A minor.
struct Chord {
    int pitchClass; // 0 = C
    bool minor;

    int third() const { return minor ? 3 : 4; }
    // Root in the bass register, E-1..D#2 (41..78 Hz).
    int bass() const { return pitchClass < 4 ? 25 + pitchClass : 13 + pitchClass; }
    // Root for the pad, G#2..G-3; the pad's sample spells the triad above it.
    int pad() const { return pitchClass < 8 ? 37 + pitchClass : 25 + pitchClass; }
    // Chord tones for the arpeggio, from E-4 up: root, third, fifth, octave.
    int arp(int index) const {
        const int root = pitchClass < 4 ? 61 + pitchClass : 49 + pitchClass;
        const int offsets[4] = {0, third(), 7, 12};
        return root + offsets[index & 3];
    }
};

constexpr Chord Am{9, true}, F{5, false}, C{0, false}, G{7, false}, Dm{2, true}, Em{4, true};

// Channel volumes (0..64) that balance the instruments against each other.
namespace Level {
constexpr int kick = 44, bigKick = 54, boom = 50, snare = 40, hat = 26, hatAccent = 34;
constexpr int openHat = 16, crash = 30, bass = 36, pad = 30, lead = 40, arp = 32, riser = 38;
constexpr int counter = 24; // the climax's second voice under the lead
} // namespace Level

// A melody line in steps: "E5:3 D5 C5:2 r:2" is E5 for three steps, D5 for one, C5 for two,
// then a rest of two. Bar lines '|' are only for reading.
struct Tone {
    int note; // 0 = rest
    int steps;
};

std::vector<Tone> parseMelody(const std::string& text) {
    std::vector<Tone> out;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "|")
            continue;
        const std::size_t colon = token.find(':');
        const std::string name = token.substr(0, colon);
        const int steps = colon == std::string::npos ? 1 : std::stoi(token.substr(colon + 1));
        out.push_back({name == "r" ? 0 : noteNumber(name), steps});
    }
    return out;
}

// Plays `text` on `channel` (the lead unless told) from `tick`, `stepTicks` a step; a rest
// releases the note before it. Returns the tick after the melody.
int melody(Score& s, int tick, int stepTicks, const std::string& text, int volume,
           int channel = LeadCh) {
    for (const Tone& t : parseMelody(text)) {
        if (t.note)
            s.note(channel, tick, t.note, Lead, volume);
        else
            s.keyOff(channel, tick);
        tick += t.steps * stepTicks;
    }
    return tick;
}

void chordChange(Score& s, int tick, Chord c, int padVolume) {
    s.note(PadCh, tick, c.pad(), Pad, padVolume);
}

// --- 4/4 building blocks (beat = 24 ticks) -----------------------------------------------------

// How a stretch of groove is played.
struct Drums {
    bool open = false;           // a choked open hat on each off-beat eighth
    bool dense = false;          // a hat on the beat too: straight sixteenths
    int firstKick = Level::kick; // the stretch's first kick: louder on a drop
    int kick = Level::kick;      // the other kicks on the first and third beats
};

// Kick on every beat, clap snare on beats two and four, hats between; from `from` to `to`.
// `from` must fall on a bar's first or third beat. Under the clap the kick plays softer: the
// two together would make the loudest peaks of the mix.
void groove(Score& s, int from, int to, Drums d = {}) {
    for (int beat = 0, t = from; t < to; ++beat, t += kBeat) {
        const int kick = beat % 2 == 1 ? d.kick - 8 : d.kick;
        s.note(KickCh, t, kC4, Kick, t == from ? d.firstKick : kick);
        if (beat % 2 == 1)
            s.note(SnareCh, t, kC4, Snare, Level::snare);
        if (d.dense)
            s.note(HatCh, t, kC4, ClosedHat, Level::hat - 6);
        s.note(HatCh, t + kSixteenth, kC4, ClosedHat, Level::hat);
        if (d.open)
            s.note(HatCh, t + kEighth, kOpenHatNote, Crash, Level::openHat);
        else
            s.note(HatCh, t + kEighth, kC4, ClosedHat, Level::hatAccent);
        s.note(HatCh, t + kEighth + kSixteenth, kC4, ClosedHat, Level::hat);
    }
}

// A one-bar fill from `bar` (its first tick): the groove for the first beats, then a run of
// sixteenths on the snare, pitched down step by step like toms and swelling into the next bar.
// A short fill runs over the last beat, a long one over the last two.
void fill(Score& s, int bar, bool longFill, Drums d = {}) {
    const int runBeats = longFill ? 2 : 1;
    groove(s, bar, bar + (4 - runBeats) * kBeat, d);
    const int run = bar + (4 - runBeats) * kBeat;
    s.note(KickCh, run, kC4, Kick, Level::kick);
    const int hits = runBeats * 4;
    for (int i = 0; i < hits; ++i) {
        const int pitch = kC4 + 4 - (longFill ? i : 2 * i);
        s.note(SnareCh, run + i * kSixteenth, pitch, Snare,
               Level::snare - 14 + 14 * i / std::max(1, hits - 1));
    }
    if (longFill)
        s.note(KickCh, run + kBeat + kEighth, kC4, Kick, Level::kick - 8);
}

// Off-beat bass: a short root on the second sixteenth and the main one on the off-beat eighth,
// released a row before the next kick so the two never sound together.
void rollingBass(Score& s, int from, int to, Chord c) {
    for (int t = from; t < to; t += kBeat) {
        s.note(BassCh, t + kSixteenth, c.bass(), Bass, Level::bass - 8);
        s.note(BassCh, t + kEighth, c.bass() + (t / kBeat % 2 ? 12 : 0), Bass, Level::bass);
        s.keyOff(BassCh, t + kBeat - Score::kTicksPerRow);
    }
}

// Arpeggio through the chord tones, `stepTicks` a note, louder on each beat.
void arpeggio(Score& s, int from, int to, Chord c, int stepTicks, int volume) {
    static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int i = 0, t = from; t < to; ++i, t += stepTicks) {
        const bool onBeat = (t - from) % kBeat == 0;
        s.note(ArpCh, t, c.arp(kOrder[i % 8]), Pluck, onBeat ? volume : volume - 6);
    }
}

// Snare hits every `stepTicks` from `from` to `to`, swelling from `quiet` to `loud`.
void snareRoll(Score& s, int from, int to, int stepTicks, int quiet, int loud) {
    const int hits = (to - from + stepTicks - 1) / stepTicks;
    for (int i = 0; i < hits; ++i)
        s.note(SnareCh, from + i * stepTicks, kC4, Snare,
               quiet + (loud - quiet) * i / std::max(1, hits - 1));
}

// One section of the 4/4 part: a chord per segment with full accompaniment.
struct Segment {
    Chord chord;
    int beats;
    bool strike = true; // false: the chord carries on from the pattern before
};

// The harmony with pad, bass and arpeggio from the pattern's start; the groove under it, with a
// fill in the bar starting at `fillBar` (a tick; -1 for none). Returns the tick after the last
// segment.
int fourFour(Score& s, const std::vector<Segment>& harmony, bool pad, Drums drums, int arpStep,
             int fillBar = -1, bool longFill = false, int padVolume = Level::pad,
             int arpVolume = Level::arp) {
    int t = 0;
    for (const Segment& seg : harmony) {
        const int end = t + seg.beats * kBeat;
        if (pad && seg.strike)
            chordChange(s, t, seg.chord, padVolume);
        rollingBass(s, t, end, seg.chord);
        arpeggio(s, t, end, seg.chord, arpStep, arpVolume);
        t = end;
    }
    if (fillBar < 0) {
        groove(s, 0, t, drums);
    } else {
        groove(s, 0, fillBar, drums);
        const Drums rest{drums.open, drums.dense, drums.kick, drums.kick};
        fill(s, fillBar, longFill, rest);
        if (fillBar + 4 * kBeat < t)
            groove(s, fillBar + 4 * kBeat, t, rest);
    }
    return t;
}

// --- the intro (rows 0-231) ----------------------------------------------------------------------

// An accent where a caption appears: cymbal, low boom, new chord and bass note.
void accent(Score& s, Chord c, int crashChannel) {
    s.note(crashChannel, 0, kC4, Crash, Level::crash);
    s.note(KickCh, 0, kBoomNote, Kick, Level::boom);
    chordChange(s, 0, c, Level::pad + 6);
    s.note(BassCh, 0, c.bass(), Bass, Level::bass - 16);
}

Xm::Pattern introOpening() { // rows 0-16: the pad alone, with the bass underneath
    Score s(17, kChannels);
    chordChange(s, 0, Am, Level::pad + 4);
    s.note(BassCh, 0, Am.bass(), Bass, Level::bass - 18);
    return s.result();
}

Xm::Pattern introFirstCaption() { // rows 17-49: the arpeggio starts
    Score s(33, kChannels);
    accent(s, F, FxCh);
    arpeggio(s, 0, s.ticks(), F, kEighth, Level::arp - 6);
    return s.result();
}

Xm::Pattern introStar() { // rows 50-103: a heartbeat kick under the pulsing star
    Score s(54, kChannels);
    accent(s, C, FxCh);
    arpeggio(s, 0, s.ticks(), C, kEighth, Level::arp - 4);
    for (int t = kBeat; t < s.ticks(); t += kBeat)
        s.note(KickCh, t, kC4, Kick, Level::kick - 30);
    return s.result();
}

Xm::Pattern introHats() { // rows 104-151: hats join, the kick grows
    Score s(48, kChannels);
    accent(s, G, FxCh);
    arpeggio(s, 0, s.ticks(), G, kEighth, Level::arp - 2);
    for (int t = 0; t < s.ticks(); t += kBeat) {
        if (t > 0)
            s.note(KickCh, t, kC4, Kick, Level::kick - 22);
        s.note(HatCh, t + kEighth, kC4, ClosedHat, Level::hat - 6);
    }
    return s.result();
}

Xm::Pattern introClaps() { // rows 152-198: claps on the backbeat
    Score s(47, kChannels);
    chordChange(s, 0, Am, Level::pad + 4);
    s.note(BassCh, 0, Am.bass(), Bass, Level::bass - 12);
    chordChange(s, 4 * kBeat, F, Level::pad + 4);
    s.note(BassCh, 4 * kBeat, F.bass(), Bass, Level::bass - 12);
    arpeggio(s, 0, 4 * kBeat, Am, kEighth, Level::arp);
    arpeggio(s, 4 * kBeat, s.ticks(), F, kEighth, Level::arp);
    for (int beat = 0, t = 0; t < s.ticks() - kBeat; ++beat, t += kBeat) {
        s.note(KickCh, t, kC4, Kick, Level::kick - 16);
        if (beat % 2 == 1)
            s.note(SnareCh, t, kC4, Snare, Level::snare - 16);
        s.note(HatCh, t + kEighth, kC4, ClosedHat, Level::hat - 4);
    }
    return s.result();
}

// A build into a drop over 33 rows: an odd half beat, then five beats on the drop's pulse. The
// riser climbs; kicks on the second to fourth of the five beats; a snare roll tightens from
// eighths to sixteenths to rows and swells. The last beat falls back to a held breath (the roll
// and the riser stop), so that the drop hits harder than anything before it.
void build(Score& s) {
    const int end = s.ticks();
    const int pulse = end - 5 * kBeat; // the first of the five beats
    const int lastBeat = end - kBeat;
    s.note(FxCh, 0, kC4, Riser, Level::riser);
    for (int t = pulse + kBeat; t < lastBeat; t += kBeat)
        s.note(KickCh, t, kC4, Kick, Level::kick - 4);
    snareRoll(s, pulse, pulse + 2 * kBeat, kEighth, Level::snare - 26, Level::snare - 18);
    snareRoll(s, pulse + 2 * kBeat, pulse + 3 * kBeat, kSixteenth, Level::snare - 16,
              Level::snare - 10);
    snareRoll(s, pulse + 3 * kBeat, lastBeat - kEighth, Score::kTicksPerRow, Level::snare - 8,
              Level::snare);
    s.keyOff(FxCh, lastBeat);
    s.keyOff(PadCh, lastBeat);
}

Xm::Pattern introRiser() { // rows 199-231: the last caption and the lift into the drop
    Score s(33, kChannels);
    accent(s, G, HatCh);
    build(s);
    arpeggio(s, 0, s.ticks() - kBeat, G, kEighth, Level::arp);
    return s.result();
}

// --- the drop and the layers (rows 232-432) -----------------------------------------------------

// Seven bars from the drop to the highlights, Am F C G | Am F G, in four patterns: the cue at row
// 316, where the pad enters, falls mid-bar, so the second and fourth patterns hold a bar and a
// half and the third starts on a bar's third beat.
Xm::Pattern dropFirst() { // rows 232-279, Am F: the drop, drums and bass
    Score s(48, kChannels);
    s.note(FxCh, 0, kC4, Crash, Level::crash + 6);
    fourFour(s, {{Am, 4}, {F, 4}}, false, {false, false, Level::bigKick}, kEighth, -1, false,
             Level::pad, Level::arp + 4);
    return s.result();
}

Xm::Pattern dropSecond() { // rows 280-315, C and half a bar of G
    Score s(36, kChannels);
    s.note(FxCh, 4 * kBeat, kC4 + 7, Crash, Level::crash - 14);
    fourFour(s, {{C, 4}, {G, 2}}, false, {}, kEighth, -1, false, Level::pad, Level::arp + 4);
    return s.result();
}

Xm::Pattern layerFirst() { // rows 316-363: the pad enters mid-bar on G; Am, half a bar of F
    Score s(48, kChannels);
    s.note(FxCh, 0, kC4 + 7, Crash, Level::crash - 6);
    fourFour(s, {{G, 2}, {Am, 4}, {F, 2}}, true, {}, kEighth, -1, false, Level::pad + 4,
             Level::arp + 4);
    return s.result();
}

Xm::Pattern layerSecond() { // rows 364-399: the rest of F, then G with a fill into the build
    Score s(36, kChannels);
    fourFour(s, {{F, 2, false}, {G, 4}}, true, {}, kEighth, 2 * kBeat, false, Level::pad + 4,
             Level::arp + 4);
    return s.result();
}

Xm::Pattern dropBuild() { // rows 400-432: the highlights; F and G lift into the main groove
    Score s(33, kChannels);
    const int pulse = s.ticks() - 5 * kBeat;
    const int lastBeat = s.ticks() - kBeat;
    s.note(HatCh, 0, kC4, Crash, Level::crash);
    s.note(KickCh, 0, kC4, Kick, Level::kick);
    build(s);
    chordChange(s, 0, F, Level::pad + 4);
    s.note(BassCh, 0, F.bass(), Bass, Level::bass - 8);
    rollingBass(s, pulse, pulse + 2 * kBeat, F);
    chordChange(s, pulse + 2 * kBeat, G, Level::pad + 4);
    rollingBass(s, pulse + 2 * kBeat, lastBeat, G);
    arpeggio(s, 0, pulse + 2 * kBeat, F, kSixteenth, Level::arp);
    arpeggio(s, pulse + 2 * kBeat, lastBeat, G, kSixteenth, Level::arp);
    return s.result();
}

// --- the main groove with the lead (rows 433-842) -----------------------------------------------

constexpr const char* kMotifA = "E5:3 D5 C5:2 A4:2 | C5:2 D5:2 F5:2 E5:2 | "
                                "E5:3 G5 E5:2 D5 C5 | D5:4 B4:2 r:2";
constexpr const char* kMotifAnswer = "E5:3 D5 C5:2 A4:2 | C5:2 D5:2 F5:2 E5:2 | "
                                     "E5:2 G5:2 A5:3 G5 | G5:3 E5 D5:4";

// Am F C G with the lead, and a fill in the fourth bar: a short one, or a long one.
Xm::Pattern mainTheme(const char* lead, bool longFill) {
    Score s(96, kChannels);
    s.note(FxCh, 0, kC4, Crash, Level::crash);
    s.note(FxCh, 8 * kBeat, kC4 + 7, Crash, Level::crash - 14);
    fourFour(s, {{Am, 4}, {F, 4}, {C, 4}, {G, 4}}, true, {true, false, Level::bigKick}, kSixteenth,
             12 * kBeat, longFill, Level::pad, Level::arp - 4);
    melody(s, 0, kEighth, lead, Level::lead - 6);
    return s.result();
}

// F G Em Am with straight sixteenth hats, a louder pad and arpeggio, and a second voice under the
// lead; then G with a long fill and a lift into the greetings.
Xm::Pattern mainClimax() {
    Score s(122, kChannels);
    s.note(FxCh, 0, kC4, Crash, Level::crash);
    // A denser mix: the kick steps back a little to leave room for the added voices.
    const Drums drums{true, true, Level::kick, Level::kick - 6};
    const int t = fourFour(s, {{F, 4}, {G, 4}, {Em, 4}, {Am, 4}}, true, drums, kSixteenth,
                           12 * kBeat, false, Level::pad + 6, Level::arp + 2);
    // The last bar, two rows longer than four beats, carries the fill.
    chordChange(s, t, G, Level::pad + 6);
    s.noteFromOffset(FxCh, t, kC4, Riser, Level::riser - 6, 36);
    rollingBass(s, t, t + 2 * kBeat, G);
    s.note(BassCh, t + 2 * kBeat, G.bass(), Bass, Level::bass);
    arpeggio(s, t, s.ticks() - 2 * Score::kTicksPerRow, G, kSixteenth, Level::arp + 2);
    for (int beat = 0; beat < 2; ++beat)
        s.note(KickCh, t + beat * kBeat, kC4, Kick, Level::kick);
    s.note(SnareCh, t + kBeat, kC4, Snare, Level::snare);
    snareRoll(s, t + 2 * kBeat, s.ticks() - 3 * Score::kTicksPerRow, Score::kTicksPerRow,
              Level::snare - 16, Level::snare);
    s.keyOff(FxCh, s.ticks() - 2 * Score::kTicksPerRow);
    melody(s, 0, kEighth,
           "A5:3 G5 F5:2 E5:2 | D5:3 E5 D5:2 B4:2 | E5:3 B4 E5:2 G5:2 | A5:6 r:2 | "
           "B4:2 D5:2 G5:3 r:1",
           Level::lead + 2);
    // The second voice enters after the crash has spoken, in longer notes a third or more below.
    melody(s, kBeat + kEighth, kEighth, "F4 A4:4 | B4:4 D5:2 B4:2 | G4:4 B4:2 G4:2 | C5:4 E5:2 r:2",
           Level::counter, FxCh);
    return s.result();
}

// --- the greetings section in 12/8 (rows 843-1388) ----------------------------------------------

// One caption step: a bar of 12/8 on `chord` starting at `from`, cut off at `to`. A fill rolls
// the snare over the last five eighths instead of the backbeat and hats.
void shuffleBar(Score& s, int from, int to, Chord c, bool drums, bool fill = false) {
    static const int kArp[12] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1};
    // Long-short shuffle on the bass, leaving the backbeat eighths (3 and 9) to the clap.
    static const int kBassSteps[6] = {0, 2, 5, 6, 8, 11};
    static const int kBassOctave[6] = {0, 0, 12, 0, 0, 12};
    chordChange(s, from, c, Level::pad + 4);
    for (int e = 0; e < 12; ++e) {
        const int t = from + e * kShuffle;
        if (t >= to)
            break;
        const bool dotted = e % 3 == 0; // the four dotted-quarter beats of the bar
        s.note(ArpCh, t, c.arp(kArp[e]), Pluck, dotted ? Level::arp + 4 : Level::arp - 2);
        if (!drums)
            continue;
        if (e == 0 || e == 6)
            s.note(KickCh, t, kC4, Kick, Level::kick);
        if (e == 11)
            s.note(KickCh, t, kC4, Kick, Level::kick - 24);
        if (fill && e >= 7) {
            s.note(SnareCh, t, kC4 + 11 - 2 * e + 7, Snare, Level::snare - 16 + 2 * (e - 7));
            continue;
        }
        if (e == 3 || e == 9)
            s.note(SnareCh, t, kC4, Snare, Level::snare);
        if (e == 5 || e == 11)
            s.note(HatCh, t, kOpenHatNote, Crash, Level::openHat);
        else
            s.note(HatCh, t, kC4, ClosedHat, dotted ? Level::hatAccent : Level::hat);
    }
    if (!drums)
        return;
    for (int i = 0; i < 6; ++i) {
        const int t = from + kBassSteps[i] * kShuffle;
        if (t < to)
            s.note(BassCh, t, c.bass() + kBassOctave[i], Bass, Level::bass);
    }
}

// Two caption steps with a lead line for each; `fill` rolls the drums at the end of the second.
Xm::Pattern greetings(Chord first, const char* leadFirst, Chord second, const char* leadSecond,
                      bool fill) {
    Score s(78, kChannels);
    for (int step = 0; step < 2; ++step) {
        const int from = step * kStep;
        s.note(FxCh, from, kC4, Crash, step == 0 ? Level::crash + 6 : Level::crash - 8);
        shuffleBar(s, from, from + kStep, step == 0 ? first : second, true, fill && step == 1);
        melody(s, from, kShuffle, step == 0 ? leadFirst : leadSecond, Level::lead + 4);
    }
    return s.result();
}

// --- the outro, the final hit and the tail (rows 1311-1479) --------------------------------------

Xm::Pattern lastStep() { // rows 1311-1342: the last full-band bar, cut short
    Score s(32, kChannels);
    s.note(FxCh, 0, kC4, Crash, Level::crash);
    shuffleBar(s, 0, 9 * kShuffle, Am, true); // stops on the last backbeat: a breath
    melody(s, 0, kShuffle, "E5:2 D5:1 C5:2 B4:1 A4:3 r:1", Level::lead);
    return s.result();
}

Xm::Pattern outro() { // rows 1343-1412: the band falls away, two last captions, a lift
    Score s(70, kChannels);
    s.note(FxCh, 0, kC4, Crash, Level::crash + 4);
    s.note(KickCh, 0, kBoomNote, Kick, Level::boom);
    s.note(BassCh, 0, Am.bass(), Bass, Level::bass - 6);
    s.keyOff(LeadCh, 0);
    const int firstStep = 7 * Score::kTicksPerRow; // row 1350
    const int secondStep = firstStep + kStep;      // row 1389
    shuffleBar(s, firstStep, secondStep, F, false);
    s.note(BassCh, firstStep, F.bass(), Bass, Level::bass - 6);
    s.note(KickCh, firstStep, kBoomNote, Kick, Level::boom - 10);
    melody(s, firstStep, kShuffle, "C5:6 A4:5 r:1", Level::lead - 8);
    shuffleBar(s, secondStep, s.ticks(), G, false);
    s.note(BassCh, secondStep, G.bass(), Bass, Level::bass - 6);
    s.note(KickCh, secondStep, kBoomNote, Kick, Level::boom - 10);
    s.noteFromOffset(FxCh, secondStep, kC4, Riser, Level::riser, 49);
    melody(s, secondStep, kShuffle, "D5:3 B4:3 r:1", Level::lead - 8);
    s.keyOff(FxCh, s.ticks() - 2 * Score::kTicksPerRow);
    return s.result();
}

Xm::Pattern finalHit() { // rows 1413-1439: one last chord, left to ring out
    Score s(27, kChannels);
    s.note(KickCh, 0, kC4, Kick, Level::kick);
    s.note(HatCh, 0, kOpenHatNote, Crash, Level::openHat);
    s.note(FxCh, 0, kC4, Crash, Level::crash);
    s.note(BassCh, 0, Am.bass(), Bass, Level::bass);
    chordChange(s, 0, Am, Level::pad + 6);
    s.note(LeadCh, 0, noteNumber("A5"), Lead, Level::lead);
    s.note(ArpCh, 0, Am.arp(3), Pluck, Level::arp);
    s.keyOff(BassCh, 8 * Score::kTicksPerRow);
    s.keyOff(LeadCh, 8 * Score::kTicksPerRow);
    s.keyOff(PadCh, 10 * Score::kTicksPerRow);
    return s.result();
}

Xm::Pattern tail() { // rows 1440-1459, looped: silence once the final chord has died away
    Score s(20, kChannels);
    return s.result();
}

// Lead lines of the greetings, one 12/8 bar each: a lilting figure that returns over every
// chord, answered differently each time.
constexpr const char* kShuffleAm = "E5:2 D5:1 C5:2 D5:1 E5:3 A5:3";
constexpr const char* kShuffleF = "A5:2 G5:1 F5:2 E5:1 C5:6";
constexpr const char* kShuffleC = "E5:2 D5:1 C5:2 D5:1 E5:3 G5:3";
constexpr const char* kShuffleG = "G5:2 F5:1 D5:2 B4:1 D5:6";
constexpr const char* kShuffleDm = "F5:2 E5:1 D5:2 E5:1 F5:3 A5:3";
constexpr const char* kShuffleEm = "G5:2 F5:1 E5:2 D5:1 B4:5 r:1";
constexpr const char* kShuffleAmHigh = "A5:3 G5:2 E5:1 C5:3 E5:3";
constexpr const char* kShuffleFHigh = "F5:2 E5:1 C5:2 A4:1 C5:5 r:1";

} // namespace

Arrangement compose() {
    Arrangement a;
    auto add = [&a](Xm::Pattern p) {
        a.patterns.push_back(std::move(p));
        return std::uint8_t(a.patterns.size() - 1);
    };
    // Pattern numbers in the order they are first heard; the comment gives the starting row.
    const std::uint8_t opening = add(introOpening());               // 0
    const std::uint8_t caption1 = add(introFirstCaption());         // 17
    const std::uint8_t star = add(introStar());                     // 50
    const std::uint8_t hats = add(introHats());                     // 104
    const std::uint8_t claps = add(introClaps());                   // 152
    const std::uint8_t lift = add(introRiser());                    // 199
    const std::uint8_t drop1 = add(dropFirst());                    // 232: the drop
    const std::uint8_t drop2 = add(dropSecond());                   // 280
    const std::uint8_t layer1 = add(layerFirst());                  // 316: pad layer
    const std::uint8_t layer2 = add(layerSecond());                 // 364
    const std::uint8_t highlights = add(dropBuild());               // 400
    const std::uint8_t theme = add(mainTheme(kMotifA, false));      // 433, 625
    const std::uint8_t answer = add(mainTheme(kMotifAnswer, true)); // 529
    const std::uint8_t climax = add(mainClimax());                  // 721
    const std::uint8_t greetA = add(greetings(Am, kShuffleAm, F, kShuffleF, false));  // 843, 999
    const std::uint8_t greetB = add(greetings(C, kShuffleC, G, kShuffleG, true));     // 921, 1233
    const std::uint8_t greetC = add(greetings(Dm, kShuffleDm, Em, kShuffleEm, true)); // 1077
    const std::uint8_t greetD = add(greetings(Am, kShuffleAmHigh, F, kShuffleFHigh, false)); // 1155
    const std::uint8_t last = add(lastStep());                                               // 1311
    const std::uint8_t ending = add(outro());                                                // 1343
    const std::uint8_t hit = add(finalHit());                                                // 1413
    const std::uint8_t loop = add(tail()); // 1440, 1460, looped

    a.orders = {opening, caption1,   star,   hats,   claps,  lift,   drop1,  drop2,  layer1,
                layer2,  highlights, theme,  answer, theme,  climax, greetA, greetB, greetA,
                greetC,  greetD,     greetB, last,   ending, hit,    loop,   loop};
    a.restart = int(a.orders.size()) - 1;
    return a;
}

Xm::Module buildModule() {
    Arrangement a = compose();
    Xm::Module m;
    m.trackerName = "wisp modulegen";
    m.channels = kChannels;
    m.speed = kTicksPerRow;
    m.bpm = kBpm;
    m.restart = a.restart;
    m.orders = std::move(a.orders);
    m.patterns = std::move(a.patterns);
    m.instruments = Instruments::buildAll();
    return m;
}

} // namespace Song

// The XM writer and the score against the format's rules: cell packing, delta coding, the
// byte layout of a known small module, and the refusal of what players disagree on.
#include "XmWriter.h"
#include "Score.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The one-channel, one-sample module of the format reference's worked example: a 16-frame
// 8-bit square looped forward, played for two rows and released. The reference gives its 672
// bytes.
Xm::Module tinyModule() {
    Xm::Module m;
    m.name = "tiny                ";
    m.trackerName = "xmgen";
    m.channels = 1;
    m.speed = 6;
    m.bpm = 125;
    m.orders = {0};
    Xm::Pattern p(4, 1);
    p.at(0, 0) = {49, 1, 0x50, 0, 0};
    p.at(2, 0).note = Xm::kKeyOff;
    m.patterns.push_back(p);
    Xm::Instrument ins;
    ins.name = "square";
    Xm::Sample s;
    s.sixteenBit = false;
    for (int i = 0; i < 16; ++i)
        s.pcm.push_back(std::int16_t(i < 8 ? 64 * 256 : -64 * 256));
    s.loop = Xm::Loop::Forward;
    s.loopLength = 16;
    ins.samples.push_back(s);
    m.instruments.push_back(ins);
    return m;
}

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
    return {b.begin() + long(at), b.begin() + long(at + n)};
}

TEST(XmWriter, WritesTheReferenceExampleByteForByte) {
    const std::vector<std::uint8_t> b = Xm::writeModule(tinyModule());
    ASSERT_EQ(b.size(), 672u);
    EXPECT_EQ(slice(b, 0x3A, 16), (std::vector<std::uint8_t>{0x04, 0x01, 0x14, 0x01, 0, 0, 1, 0, 0,
                                                             0, 1, 0, 1, 0, 1, 0}));
    // Pattern header and its four packed cells.
    EXPECT_EQ(slice(b, 0x150, 17), (std::vector<std::uint8_t>{9, 0, 0, 0, 0, 4, 0, 8, 0, 0x87, 0x31,
                                                              0x01, 0x50, 0x80, 0x81, 0x61, 0x80}));
    EXPECT_EQ(slice(b, 0x161, 4), (std::vector<std::uint8_t>{0x07, 0x01, 0, 0}));
    // Sample header: length, loop start, loop length, volume, finetune, type, pan, note.
    EXPECT_EQ(slice(b, 0x268, 18), (std::vector<std::uint8_t>{0x10, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0,
                                                              0, 0x40, 0, 0x01, 0x80, 0, 0}));
    // Delta-coded data: +64, seven zeros, -128, seven zeros.
    EXPECT_EQ(slice(b, 0x290, 16),
              (std::vector<std::uint8_t>{0x40, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(XmWriter, PacksOnlyThePresentFields) {
    std::vector<std::uint8_t> out;
    Xm::packCell(out, Xm::Cell{});
    Xm::packCell(out, Xm::Cell{0, 3, 0, 0x0E, 0xD2});
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x80, 0x80 | 0x02 | 0x08 | 0x10, 3, 0x0E, 0xD2}));
}

TEST(XmWriter, DeltaCodesSixteenBitWithWrapAround) {
    std::vector<std::uint8_t> out;
    Xm::deltaCode16(out, {32767, -32768, 0});
    // 32767 - 0, then -32768 - 32767 wraps to +1, then 0 - (-32768) wraps to 0x8000.
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80}));
}

TEST(XmWriter, RefusesWhatPlayersDisagreeOn) {
    Xm::Module m = tinyModule();
    m.patterns[0].at(1, 0) = {Xm::kKeyOff, 1, 0, 0, 0}; // key off with an instrument
    EXPECT_THROW(Xm::writeModule(m), Xm::FormatError);

    m = tinyModule();
    m.patterns[0].at(1, 0) = {0, 0, 0, 0x0F, 0}; // F00
    EXPECT_THROW(Xm::writeModule(m), Xm::FormatError);

    m = tinyModule();
    m.instruments[0].samples[0].loopLength = 17; // loop past the end
    EXPECT_THROW(Xm::writeModule(m), Xm::FormatError);

    m = tinyModule();
    m.restart = 1; // past the single order
    EXPECT_THROW(Xm::writeModule(m), Xm::FormatError);

    m = tinyModule();
    m.instruments[0].fadeout = 0x10; // DUMB never fades this
    EXPECT_THROW(Xm::writeModule(m), Xm::FormatError);
}

TEST(Score, DelaysNotesBetweenRowsWithinTheirRow) {
    Score s(8, 2);
    s.note(1, 13, 49, 2, 64); // 13 ticks: row 3, one tick late
    const Xm::Cell& c = s.result().at(3, 1);
    EXPECT_EQ(c.note, 49);
    EXPECT_EQ(c.instrument, 2);
    EXPECT_EQ(c.volume, 0x50);
    EXPECT_EQ(c.effect, 0x0E);
    EXPECT_EQ(c.param, 0xD1);
    s.note(0, 8, 50, 1, 0); // on a row: no effect
    EXPECT_EQ(s.result().at(2, 0).effect, 0);
    EXPECT_THROW(s.note(1, 12, 50, 1, 10), std::logic_error); // row 3 is taken
    EXPECT_THROW(s.note(0, 32, 50, 1, 10), std::logic_error); // past the last row
    s.keyOff(1, 14);                                          // row 3 is taken: no key off
    EXPECT_EQ(s.result().at(3, 1).note, 49);
}

TEST(Score, NamesNotesInFastTrackerOctaves) {
    EXPECT_EQ(noteNumber("C0"), 1);
    EXPECT_EQ(noteNumber("C4"), 49);
    EXPECT_EQ(noteNumber("A4"), 58);
    EXPECT_EQ(noteNumber("C#5"), 62);
    EXPECT_EQ(noteNumber("B7"), 96);
    EXPECT_THROW(noteNumber("H4"), std::logic_error);
    EXPECT_THROW(noteNumber("C8x"), std::logic_error);
}

} // namespace

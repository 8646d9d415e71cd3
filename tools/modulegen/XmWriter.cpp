// Serialises an Xm::Module into the bytes of an XM file (version 0x0104, linear frequency table).
#include "XmWriter.h"

#include <algorithm>
#include <string>

namespace Xm {
namespace {

constexpr std::uint32_t kHeaderSize = 276; // counted from offset 60
constexpr std::uint32_t kPatternHeaderSize = 9;
constexpr std::uint32_t kInstrumentHeaderSize = 263;
constexpr std::uint32_t kSampleHeaderSize = 40;

using Bytes = std::vector<std::uint8_t>;

void u8(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
}
void u16(Bytes& b, unsigned v) {
    u8(b, v & 0xFF);
    u8(b, (v >> 8) & 0xFF);
}
void u32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        u8(b, (v >> (8 * i)) & 0xFF);
}
void text(Bytes& b, const std::string& s, std::size_t n, std::uint8_t pad) {
    for (std::size_t i = 0; i < n; ++i)
        u8(b, i < s.size() ? std::uint8_t(s[i]) : pad);
}
void zeros(Bytes& b, std::size_t n) {
    b.insert(b.end(), n, 0);
}

void require(bool ok, const std::string& what) {
    if (!ok)
        throw FormatError(what);
}

void checkCell(const Cell& c, int instruments, const std::string& where) {
    require(c.note <= kKeyOff, where + ": note byte above 97");
    require(c.instrument <= instruments, where + ": instrument number out of range");
    require(c.note != kKeyOff || (c.instrument == 0 && c.volume == 0 && c.effect == 0),
            where + ": key off must stand alone");
    require(c.volume == 0 || (c.volume >= 0x10 && c.volume <= 0x50),
            where + ": only set-volume bytes go in the volume column");
    require(!(c.effect == 0x0F && c.param == 0), where + ": F00 stops playback");
    require(!(c.effect == 0 && c.param != 0), where + ": arpeggio plays differently per player");
}

void writeEnvelope(Bytes& b, const Envelope& env, const std::string& where) {
    require(env.points.size() <= std::size_t(kMaxEnvelopePoints), where + ": over 12 points");
    for (std::size_t i = 0; i < env.points.size(); ++i) {
        require(env.points[i].value <= 64, where + ": envelope value above 64");
        require(i == 0 ? env.points[i].tick == 0 : env.points[i].tick > env.points[i - 1].tick,
                where + ": envelope ticks must start at 0 and increase");
    }
    for (int i = 0; i < kMaxEnvelopePoints; ++i) {
        const bool used = std::size_t(i) < env.points.size();
        u16(b, used ? env.points[std::size_t(i)].tick : 0);
        u16(b, used ? env.points[std::size_t(i)].value : 0);
    }
}

std::uint8_t envelopeFlags(const Envelope& env) {
    if (env.points.empty())
        return 0;
    std::uint8_t flags = 1;
    if (env.sustain >= 0)
        flags |= 2;
    if (env.loopStart >= 0 && env.loopEnd >= 0)
        flags |= 4;
    return flags;
}

void writePattern(Bytes& b, const Pattern& p, int channels, int instruments, int index) {
    const std::string where = "pattern " + std::to_string(index);
    require(p.rows >= 1 && p.rows <= 256, where + ": rows must be 1..256");
    require(p.channels == channels, where + ": channel count differs from the module's");
    require(p.cells.size() == std::size_t(p.rows) * std::size_t(channels),
            where + ": cell count is not rows x channels");
    Bytes packed;
    for (const Cell& c : p.cells) {
        checkCell(c, instruments, where);
        packCell(packed, c);
    }
    require(packed.size() <= 0xFFFF, where + ": packed data over 65535 bytes");
    u32(b, kPatternHeaderSize);
    u8(b, 0); // packing type
    u16(b, unsigned(p.rows));
    u16(b, unsigned(packed.size()));
    b.insert(b.end(), packed.begin(), packed.end());
}

void writeSampleHeader(Bytes& b, const Sample& s, const std::string& where) {
    const std::uint32_t bytesPerFrame = s.sixteenBit ? 2 : 1;
    const std::uint32_t frames = std::uint32_t(s.pcm.size());
    require(frames > 0, where + ": empty sample");
    require(s.volume <= 64, where + ": volume above 64");
    require(s.finetune % 8 == 0, where + ": finetune must be a multiple of 8");
    if (s.loop != Loop::None)
        require(s.loopLength > 0 && s.loopStart + s.loopLength <= frames,
                where + ": loop outside the sample");
    u32(b, frames * bytesPerFrame);
    u32(b, s.loop == Loop::None ? 0 : s.loopStart * bytesPerFrame);
    u32(b, s.loop == Loop::None ? 0 : s.loopLength * bytesPerFrame);
    u8(b, s.volume);
    u8(b, std::uint8_t(s.finetune));
    u8(b, std::uint8_t(s.loop) | (s.sixteenBit ? 0x10 : 0));
    u8(b, s.panning);
    u8(b, std::uint8_t(s.relativeNote));
    u8(b, 0); // reserved
    text(b, s.name, 22, ' ');
}

void writeInstrument(Bytes& b, const Instrument& ins, int index) {
    const std::string where = "instrument " + std::to_string(index + 1);
    require(!ins.samples.empty() && ins.samples.size() <= 16, where + ": needs 1..16 samples");
    require(ins.fadeout % 0x20 == 0 && ins.fadeout <= 0xFE0,
            where + ": fadeout must be a multiple of 0x20 up to 0xFE0");
    for (std::uint8_t m : ins.sampleMap)
        require(m < ins.samples.size(), where + ": sample map points past its samples");
    const Envelope& env = ins.volumeEnvelope;
    const int points = int(env.points.size());
    require(env.sustain < points && env.loopStart < points && env.loopEnd < points,
            where + ": envelope point index out of range");

    const std::size_t start = b.size();
    u32(b, kInstrumentHeaderSize);
    text(b, ins.name, 22, ' ');
    u8(b, 0); // type
    u16(b, unsigned(ins.samples.size()));
    u32(b, kSampleHeaderSize);
    b.insert(b.end(), std::begin(ins.sampleMap), std::end(ins.sampleMap));
    writeEnvelope(b, env, where);
    writeEnvelope(b, Envelope{}, where); // no panning envelope
    u8(b, unsigned(points));
    u8(b, 0);
    u8(b, unsigned(env.sustain < 0 ? 0 : env.sustain));
    u8(b, unsigned(env.loopStart < 0 ? 0 : env.loopStart));
    u8(b, unsigned(env.loopEnd < 0 ? 0 : env.loopEnd));
    zeros(b, 3); // panning sustain and loop points
    u8(b, envelopeFlags(env));
    u8(b, 0);    // panning envelope off
    zeros(b, 4); // auto-vibrato off
    u16(b, ins.fadeout);
    zeros(b, kInstrumentHeaderSize - (b.size() - start));

    for (std::size_t i = 0; i < ins.samples.size(); ++i)
        writeSampleHeader(b, ins.samples[i], where + " sample " + std::to_string(i));
    for (const Sample& s : ins.samples) {
        if (s.sixteenBit)
            deltaCode16(b, s.pcm);
        else
            deltaCode8(b, s.pcm);
    }
}

} // namespace

void packCell(std::vector<std::uint8_t>& out, const Cell& c) {
    const std::uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
    std::uint8_t mask = 0x80;
    for (int i = 0; i < 5; ++i)
        if (fields[i])
            mask |= std::uint8_t(1u << i);
    out.push_back(mask);
    for (std::uint8_t f : fields)
        if (f)
            out.push_back(f);
}

void deltaCode16(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm) {
    std::uint16_t prev = 0;
    for (std::int16_t v : pcm) {
        const std::uint16_t d = std::uint16_t(std::uint16_t(v) - prev); // wraps by design
        out.push_back(std::uint8_t(d & 0xFF));
        out.push_back(std::uint8_t(d >> 8));
        prev = std::uint16_t(v);
    }
}

void deltaCode8(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm) {
    std::uint8_t prev = 0;
    for (std::int16_t v : pcm) {
        // Round to the nearest 8-bit step; (v + 32768 + 128) is never negative.
        const int rounded = std::min((int(v) + 32768 + 128) / 256, 255) - 128;
        const std::uint8_t s = std::uint8_t(rounded);
        out.push_back(std::uint8_t(s - prev)); // wraps by design
        prev = s;
    }
}

std::vector<std::uint8_t> writeModule(const Module& m) {
    require(m.channels >= 1 && m.channels <= 32, "channels must be 1..32");
    require(!m.orders.empty() && m.orders.size() <= 256, "song length must be 1..256 orders");
    require(m.restart >= 0 && std::size_t(m.restart) < m.orders.size(),
            "restart position must lie inside the song");
    require(!m.patterns.empty() && m.patterns.size() <= 256, "needs 1..256 patterns");
    require(!m.instruments.empty() && m.instruments.size() <= 128, "needs 1..128 instruments");
    require(m.speed >= 1 && m.speed <= 31, "speed must be 1..31");
    require(m.bpm >= 32 && m.bpm <= 255, "BPM must be 32..255");
    for (std::uint8_t o : m.orders)
        require(o < m.patterns.size(), "an order names a missing pattern");

    Bytes b;
    text(b, "Extended Module: ", 17, ' ');
    text(b, m.name, 20, 0);
    u8(b, 0x1A);
    text(b, m.trackerName, 20, ' ');
    u16(b, 0x0104);
    u32(b, kHeaderSize);
    u16(b, unsigned(m.orders.size()));
    u16(b, unsigned(m.restart));
    u16(b, unsigned(m.channels));
    u16(b, unsigned(m.patterns.size()));
    u16(b, unsigned(m.instruments.size()));
    u16(b, 1); // linear frequency table
    u16(b, unsigned(m.speed));
    u16(b, unsigned(m.bpm));
    b.insert(b.end(), m.orders.begin(), m.orders.end());
    zeros(b, 256 - m.orders.size());

    const int instruments = int(m.instruments.size());
    for (std::size_t i = 0; i < m.patterns.size(); ++i)
        writePattern(b, m.patterns[i], m.channels, instruments, int(i));
    for (std::size_t i = 0; i < m.instruments.size(); ++i)
        writeInstrument(b, m.instruments[i], int(i));
    return b;
}

} // namespace Xm

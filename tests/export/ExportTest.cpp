// The export tool's files, decoded with ffmpeg: a lossless clip matches single-frame captures
// and DUMB's own render of the module placed one device buffer after the picture; the WAV
// matches the clip's sound; MP4 and WebM sound lines up with it within 1 ms and their pictures
// are close to it; runs repeat exactly; the music drops where it drops live.
#include "app/ModuleRenderer.h"
#include "content/Resources.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 64, kHeight = 36, kFps = 8;
constexpr std::size_t kFrameBytes = std::size_t(kWidth) * kHeight * 3;
constexpr double kLeadSeconds = double(Audio::kLeadFrames) / Audio::kSampleRate;

// A short stretch of the show: the opening, and the cut to the metaballs with the drop.
struct Clip {
    const char* name;
    double from, to;
    long frames; // ceil((to - from) x 8)
};
const Clip kOpening{"opening", 0.0, 0.5, 4};
const Clip kCut{"cut", 17.75, 18.25, 4};   // frames at 17.75, 17.875, 18.0, 18.125
const Clip kBalls{"balls", 40.0, 40.5, 4}; // five balls in motion, to the full groove

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string clipArguments(const Clip& clip) {
    char text[160];
    std::snprintf(text, sizeof text, " --size %dx%d --fps %d --from %g --to %g", kWidth, kHeight,
                  kFps, clip.from, clip.to);
    return text;
}

std::vector<char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        // The process id keeps two test runs on one machine (two checkouts) apart.
        work = fs::temp_directory_path() / ("wisp-export-" + name + "-" + std::to_string(getpid()));
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(work);
    }

    // Exports `clip` to work/name; fails the test if the tool fails.
    fs::path exportClip(const Clip& clip, const std::string& name) {
        const fs::path out = work / name;
        const std::string extra = out.extension() == ".wav" ? "" : clipArguments(clip);
        std::string command = std::string(CAPTURE_EXECUTABLE) + " --out " + out.string();
        if (out.extension() == ".wav") {
            char range[64];
            std::snprintf(range, sizeof range, " --from %g --to %g", clip.from, clip.to);
            command += range;
        } else {
            command += extra;
        }
        // Progress goes to the log; a failure shows it, with whatever the tool said.
        const fs::path log = work / "log";
        if (run(command + " 2>" + log.string()) != 0) {
            const std::vector<char> said = readFile(log);
            ADD_FAILURE() << command << " failed:\n" << std::string(said.begin(), said.end());
        }
        EXPECT_TRUE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out.string() + ".partial"));
        return out;
    }

    // The single frame the capture tool writes for demo time `t`, as RGB bytes.
    std::vector<char> capturedFrame(double t) {
        const fs::path png = work / "frame.png";
        char command[512];
        std::snprintf(command, sizeof command, "%s --time %.6f --size %dx%d --out %s",
                      CAPTURE_EXECUTABLE, t, kWidth, kHeight, png.c_str());
        EXPECT_EQ(run(command), 0) << command;
        return decodePictures(png);
    }

    // Every picture in a file, in order, as packed RGB bytes.
    std::vector<char> decodePictures(const fs::path& file) {
        const fs::path raw = work / "pictures.rgb";
        EXPECT_EQ(run(std::string(FFMPEG) + " -v error -y -i " + file.string() +
                      " -map 0:v -fps_mode passthrough -f rawvideo -pix_fmt rgb24 " + raw.string()),
                  0);
        return readFile(raw);
    }

    // All of a file's sound as 44100 Hz interleaved signed 16-bit stereo, placed by its
    // timestamps as a player places it: from the file's time 0, padded or trimmed there.
    std::vector<std::int16_t> decodeSound(const fs::path& file) {
        const fs::path raw = work / "sound.pcm";
        EXPECT_EQ(run(std::string(FFMPEG) + " -v error -y -copyts -i " + file.string() +
                      " -map 0:a -af aresample=async=1:first_pts=0 -f s16le -ar 44100 -ac 2 " +
                      raw.string()),
                  0);
        const std::vector<char> bytes = readFile(raw);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    // One line per stream: "codec,width,height,pixels,frame rate" for pictures and
    // "codec,samples,rate,channels,0/0" for sound.
    std::string streams(const fs::path& file) {
        const fs::path text = work / "streams.txt";
        run(std::string(FFPROBE) + " -v error -show_entries " +
            "stream=codec_name,pix_fmt,width,height,sample_fmt,sample_rate,channels,r_frame_rate" +
            " -of csv=p=0 " + file.string() + " >" + text.string());
        const std::vector<char> bytes = readFile(text);
        return std::string(bytes.begin(), bytes.end());
    }

    // The first picture's time in the file, seconds, as ffprobe prints it.
    std::string pictureStart(const fs::path& file) {
        const fs::path text = work / "start.txt";
        run(std::string(FFPROBE) + " -v error -select_streams v:0 -show_entries " +
            "stream=start_time -of csv=p=0 " + file.string() + " >" + text.string());
        const std::vector<char> bytes = readFile(text);
        return std::string(bytes.begin(), bytes.end());
    }

    fs::path work;
};

// DUMB's render of the module from its start, in 8192-frame calls as the live callback
// makes them, for demo time [from, to): module time = demo time - 8192 / 44100 s, silent while
// negative.
std::vector<std::int16_t> referenceSound(double from, double to) {
    const long long first = std::llround(from * Audio::kSampleRate) - Audio::kLeadFrames;
    const long long frames =
        std::llround(to * Audio::kSampleRate) - std::llround(from * Audio::kSampleRate);
    ModuleRenderer renderer(moduleData, moduleSize);
    renderer.start();
    std::vector<std::int16_t> module;
    std::vector<std::int16_t> block(Audio::kBufferFrames * 2);
    while (static_cast<long long>(module.size() / 2) < first + frames) {
        const long got = renderer.render(block.data(), Audio::kBufferFrames);
        module.insert(module.end(), block.begin(), block.begin() + got * 2);
        if (got < Audio::kBufferFrames)
            module.resize(static_cast<std::size_t>(first + frames) * 2, 0);
    }
    std::vector<std::int16_t> result;
    for (long long frame = first; frame < first + frames; ++frame)
        for (int c = 0; c < 2; ++c)
            result.push_back(frame < 0 ? 0 : module[static_cast<std::size_t>(frame) * 2 + c]);
    return result;
}

// The shift, in frames, that best lines `sound` up with `reference` (positive: late), found
// by correlating the left channels over shifts up to `range` frames.
long bestShift(const std::vector<std::int16_t>& reference, const std::vector<std::int16_t>& sound,
               long range) {
    const long frames = static_cast<long>(std::min(reference.size(), sound.size()) / 2);
    long best = 0;
    double bestScore = -1e300;
    for (long shift = -range; shift <= range; ++shift) {
        double score = 0;
        for (long i = range; i < frames - range; ++i)
            score += double(reference[std::size_t(i) * 2]) * sound[std::size_t(i + shift) * 2];
        if (score > bestScore) {
            bestScore = score;
            best = shift;
        }
    }
    return best;
}

// How far a lossy picture is from the lossless one, in channel levels of 255.
struct Difference {
    double mean; // mean absolute difference over every channel of every pixel
    double bias; // mean signed difference over the pixels not near white (the balls)
};
Difference difference(const std::vector<char>& reference, const std::vector<char>& picture) {
    const auto value = [](const std::vector<char>& p, std::size_t k) {
        return int(static_cast<unsigned char>(p[k]));
    };
    double all = 0, ink = 0;
    long inkCount = 0;
    for (std::size_t i = 0; i + 2 < std::min(reference.size(), picture.size()); i += 3) {
        const bool white = value(reference, i) > 200 && value(reference, i + 1) > 200 &&
                           value(reference, i + 2) > 200;
        for (std::size_t c = 0; c < 3; ++c) {
            const int d = value(picture, i + c) - value(reference, i + c);
            all += std::abs(d);
            if (!white) {
                ink += d;
                ++inkCount;
            }
        }
    }
    return {all / double(reference.size()), inkCount ? ink / double(inkCount) : 0.0};
}

class LosslessClip : public Export, public ::testing::WithParamInterface<Clip> {};

TEST_P(LosslessClip, HoldsTheCapturedFramesAndTheModuleAtItsOffset) {
    const Clip clip = GetParam();
    const fs::path file = exportClip(clip, "clip.mkv");

    EXPECT_EQ(streams(file), "ffv1,64,36,bgr0,8/1\nflac,s16,44100,2,0/0\n");

    const std::vector<char> pictures = decodePictures(file);
    ASSERT_EQ(pictures.size(), std::size_t(clip.frames) * kFrameBytes);
    for (long n = 0; n < clip.frames; ++n) {
        const std::vector<char> frame = capturedFrame(clip.from + double(n) / kFps);
        ASSERT_EQ(frame.size(), kFrameBytes);
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), pictures.begin() + n * kFrameBytes))
            << "frame " << n << " differs from the capture at its time";
    }

    const std::vector<std::int16_t> sound = decodeSound(file);
    const std::vector<std::int16_t> reference = referenceSound(clip.from, clip.to);
    ASSERT_EQ(sound.size(), reference.size());
    for (std::size_t i = 0; i < sound.size(); ++i)
        ASSERT_EQ(sound[i], reference[i]) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(Clips, LosslessClip, ::testing::Values(kOpening, kCut),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Export, WavHoldsTheLosslessClipsSound) {
    const fs::path wav = exportClip(kCut, "sound.wav");
    EXPECT_EQ(streams(wav), "pcm_s16le,s16,44100,2,0/0\n");
    const std::vector<std::int16_t> fromWav = decodeSound(wav);
    const std::vector<std::int16_t> fromMkv = decodeSound(exportClip(kCut, "clip.mkv"));
    EXPECT_EQ(fromWav.size(), fromMkv.size());
    EXPECT_TRUE(fromWav == fromMkv);
}

struct Lossy {
    const char* name;
    const char* extension;
    const char* streams; // as Export::streams lists them
};

class LossyClip : public Export, public ::testing::WithParamInterface<Lossy> {};

TEST_P(LossyClip, SoundsWithinAMillisecondOfTheLosslessClipAndLooksCloseToIt) {
    const Lossy lossy = GetParam();
    const fs::path file = exportClip(kBalls, std::string("clip") + lossy.extension);
    EXPECT_EQ(streams(file), lossy.streams);
    EXPECT_EQ(pictureStart(file), "0.000000\n");

    const fs::path mkv = exportClip(kBalls, "clip.mkv");
    const std::vector<std::int16_t> reference = decodeSound(mkv);
    const std::vector<std::int16_t> sound = decodeSound(file);
    EXPECT_NEAR(double(sound.size()), double(reference.size()), 2.0 * 2048);
    const long shift = bestShift(reference, sound, 600);
    EXPECT_LE(std::abs(shift), Audio::kSampleRate / 1000) << "sound shifted by " << shift;

    const std::vector<char> expected = decodePictures(mkv);
    const std::vector<char> pictures = decodePictures(file);
    ASSERT_EQ(pictures.size(), expected.size());
    for (long n = 0; n < kBalls.frames; ++n) {
        const std::vector<char> a(expected.begin() + n * kFrameBytes,
                                  expected.begin() + (n + 1) * kFrameBytes);
        const std::vector<char> b(pictures.begin() + n * kFrameBytes,
                                  pictures.begin() + (n + 1) * kFrameBytes);
        // About 2 levels apart and 1 level of bias here. A flip or a swap of red and blue
        // gives many times the difference; a wrong range or matrix, five times the bias.
        const Difference d = difference(a, b);
        EXPECT_LT(d.mean, 6.0) << "frame " << n;
        EXPECT_LT(std::abs(d.bias), 3.0) << "frame " << n;
    }

    // The same command again gives the same pictures and sound.
    fs::rename(file, work / ("first" + std::string(lossy.extension)));
    const fs::path again = exportClip(kBalls, std::string("clip") + lossy.extension);
    EXPECT_TRUE(decodePictures(again) == pictures);
    EXPECT_TRUE(decodeSound(again) == sound);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LossyClip,
    ::testing::Values(Lossy{"mp4", ".mp4", "h264,64,36,yuv420p,8/1\naac,fltp,44100,2,0/0\n"},
                      Lossy{"webm", ".webm", "vp9,64,36,yuv420p,8/1\nopus,fltp,48000,2,0/0\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Export, TheMusicDropsWhereItDropsLive) {
    const std::vector<std::int16_t> sound = decodeSound(exportClip(kCut, "sound.wav"));
    // The drop (row 232 at 13 rows a second) is heard one device buffer after its row: the
    // first sample louder than anything in the 150 ms before it lies within 5 ms after that.
    const double drop = 232.0 / 13.0 + kLeadSeconds;
    const long searchFrom = std::lround((drop - 0.05 - kCut.from) * Audio::kSampleRate);
    int before = 0;
    for (long i = searchFrom - Audio::kSampleRate * 15 / 100; i < searchFrom; ++i)
        before = std::max({before, std::abs(int(sound[std::size_t(i) * 2])),
                           std::abs(int(sound[std::size_t(i) * 2 + 1]))});
    long onset = -1;
    for (long i = searchFrom; i < long(sound.size() / 2) && onset < 0; ++i)
        if (std::max(std::abs(int(sound[std::size_t(i) * 2])),
                     std::abs(int(sound[std::size_t(i) * 2 + 1]))) > before * 6 / 5)
            onset = i;
    ASSERT_GE(onset, 0) << "no drop found";
    const double heard = kCut.from + double(onset) / Audio::kSampleRate;
    EXPECT_GE(heard, drop);
    EXPECT_LE(heard, drop + 0.005);
}

} // namespace

// The capture tool's command line: each refusal names what is wrong; accepted lines give the
// documented defaults and values; frame counts and times follow ceil((to - from) x fps).
#include "app/capture/CaptureArguments.h"
#include "app/Schedule.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Capture::Output;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word == "''" ? "" : word);
    return result;
}

struct Refusal {
    const char* line;      // arguments, split at spaces; '' is an empty argument
    const char* complaint; // a part of the one-line message
};

class RefusedArguments : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedArguments, SayWhatIsWrongOnOneLine) {
    Capture::Request request;
    const std::string message = Capture::parseArguments(words(GetParam().line), request);
    EXPECT_NE(message.find(GetParam().complaint), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedArguments,
    ::testing::Values(
        Refusal{"", "--out"}, Refusal{"--out ''", "--out"}, Refusal{"--out", "needs a value"},
        Refusal{"--out a.avi", ".mp4"}, Refusal{"--out mp4", ".mp4"},
        Refusal{"--out dir.mp4/", ".mp4"}, Refusal{"--out .mp4", ".mp4"},
        Refusal{"--out a.mp4 --out b.mp4", "more than once"},
        Refusal{"--out a.mp4 --fps 30 --fps 30", "more than once"},
        Refusal{"--out a.mp4 extra", "unknown argument 'extra'"},
        Refusal{"--out a.mp4 --speed 2", "unknown argument"},
        // sizes
        Refusal{"--out a.mkv --size 0x360", "--size"},
        Refusal{"--out a.mkv --size 640x0", "--size"},
        Refusal{"--out a.mkv --size -640x360", "--size"},
        Refusal{"--out a.mkv --size 640x", "--size"}, Refusal{"--out a.mkv --size x360", "--size"},
        Refusal{"--out a.mkv --size 640*360", "--size"},
        Refusal{"--out a.mkv --size 640x360x2", "--size"},
        Refusal{"--out a.mkv --size 99999999999x360", "--size"},
        Refusal{"--out a.mkv --size 16385x360", "--size"},
        Refusal{"--out a.mkv --size ''", "--size"},
        Refusal{"--out a.mkv --size 16384x4097", "at most"},
        Refusal{"--out a.mp4 --size 641x360", "even"},
        Refusal{"--out a.webm --size 640x361", "even"},
        // rates
        Refusal{"--out a.mp4 --fps 0", "--fps"}, Refusal{"--out a.mp4 --fps 241", "--fps"},
        Refusal{"--out a.mp4 --fps 29.97", "--fps"}, Refusal{"--out a.mp4 --fps -5", "--fps"},
        Refusal{"--out a.mp4 --fps 4294967326", "--fps"}, Refusal{"--out a.mp4 --fps ''", "--fps"},
        // times and ranges
        Refusal{"--out a.mp4 --from -1", "--from"}, Refusal{"--out a.mp4 --from nan", "--from"},
        Refusal{"--out a.mp4 --to inf", "--to"}, Refusal{"--out a.mp4 --to 1e2", "--to"},
        Refusal{"--out a.mp4 --to 0x10", "--to"}, Refusal{"--out a.mp4 --to 1.2.3", "--to"},
        Refusal{"--out a.mp4 --to 114.5", "--to"}, Refusal{"--out a.mp4 --to .", "--to"},
        Refusal{"--out a.mp4 --from 1e999", "--from"},
        Refusal{"--out a.mp4 --from 99999999999999999999", "--from"},
        Refusal{"--out a.mp4 --from 5 --to 5", "empty range"},
        Refusal{"--out a.mp4 --from 10 --to 2", "empty range"},
        Refusal{"--out a.wav --from 114", "empty range"},
        Refusal{"--out a.png --time 114", "--time"}, Refusal{"--out a.png --time -0.5", "--time"},
        Refusal{"--out a.png --time soon", "--time"}, Refusal{"--out a.png --time ''", "--time"},
        // options that do not apply
        Refusal{"--out a.png", "--time"}, Refusal{"--out a.mp4 --time 3", "does not apply"},
        Refusal{"--out a.png --time 3 --fps 30", "does not apply"},
        Refusal{"--out a.png --time 3 --from 1", "does not apply"},
        Refusal{"--out a.png --time 3 --quality 5", "does not apply"},
        Refusal{"--out a.wav --size 64x36", "does not apply"},
        Refusal{"--out a.wav --fps 30", "does not apply"},
        Refusal{"--out a.mkv --quality 0", "does not apply"},
        // quality
        Refusal{"--out a.mp4 --quality 52", "--quality"},
        Refusal{"--out a.webm --quality 64", "--quality"},
        Refusal{"--out a.mp4 --quality -1", "--quality"},
        Refusal{"--out a.mp4 --quality 18.5", "--quality"}));

struct Accepted {
    const char* line;
    Output output;
    int width, height, fps;
    double from, to;
    int quality;
    double time;
};

class AcceptedArguments : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedArguments, GiveTheValuesAndDefaults) {
    const Accepted& a = GetParam();
    Capture::Request request;
    ASSERT_EQ(Capture::parseArguments(words(a.line), request), "");
    EXPECT_EQ(request.output, a.output);
    EXPECT_EQ(request.width, a.width);
    EXPECT_EQ(request.height, a.height);
    EXPECT_EQ(request.fps, a.fps);
    EXPECT_EQ(request.from, a.from);
    EXPECT_EQ(request.to, a.to);
    EXPECT_EQ(request.quality, a.quality);
    EXPECT_EQ(request.time, a.time);
    EXPECT_FALSE(request.help);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AcceptedArguments,
    ::testing::Values(Accepted{"--out show.mp4", Output::Mp4, 1920, 1080, 60, 0, 114, 18, 0},
                      Accepted{"--out show.webm", Output::Webm, 1920, 1080, 60, 0, 114, 31, 0},
                      Accepted{"--out s.MKV --size 641x361 --fps 240 --from 113.5", Output::Mkv,
                               641, 361, 240, 113.5, 114, 0, 0},
                      Accepted{"--fps 1 --out dir.v2/a.mp4 --quality 0 --to .5", Output::Mp4, 1920,
                               1080, 1, 0, 0.5, 0, 0},
                      Accepted{"--out a.webm --quality 63 --from 000 --to 114.000", Output::Webm,
                               1920, 1080, 60, 0, 114, 63, 0},
                      Accepted{"--out a.wav --from 17.75 --to 18.25", Output::Wav, 1920, 1080, 60,
                               17.75, 18.25, 0, 0},
                      Accepted{"--time 113.999 --out f.png --size 1x1", Output::Png, 1, 1, 60, 0,
                               114, 0, 113.999}));

TEST(HelpArgument, AsksForTheUsage) {
    Capture::Request request;
    EXPECT_EQ(Capture::parseArguments({"--out", "a.mp4", "--help"}, request), "");
    EXPECT_TRUE(request.help);
}

struct Frames {
    double from, to;
    int fps;
    long count;
};

class RecordingFrames : public ::testing::TestWithParam<Frames> {};

TEST_P(RecordingFrames, AreCeilOfLengthTimesRateAndStartAtFrom) {
    Capture::Request request;
    request.from = GetParam().from;
    request.to = GetParam().to;
    request.fps = GetParam().fps;
    const long count = Capture::frameCount(request);
    EXPECT_EQ(count, GetParam().count);
    EXPECT_EQ(Capture::frameTime(request, 0), request.from);
    EXPECT_LT(Capture::frameTime(request, count - 1), request.to);
    EXPECT_GE(Capture::frameTime(request, count), request.to - 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RecordingFrames,
                         ::testing::Values(Frames{0, 114, 60, 6840}, Frames{0, 114, 30, 3420},
                                           Frames{0.1, 0.4, 10, 3}, Frames{17.75, 18.25, 8, 4},
                                           Frames{0, 0.01, 1, 1}, Frames{0, 0.3, 7, 3},
                                           Frames{113.9, 114, 240, 24},
                                           Frames{0, 114, 240, 27360}));

// The metaballs begin at 18 s: wherever a frame falls on 18 s it must be the first one the
// schedule gives to the metaballs, never a frame late through rounding.
TEST(RecordingFrames, FallExactlyOnTheMetaballsStart) {
    for (int fps = 1; fps <= 240; ++fps)
        for (int twentieths = 0; twentieths < 360; ++twentieths) {
            if ((360 - twentieths) * fps % 20 != 0)
                continue;
            Capture::Request request;
            request.from = twentieths / 20.0;
            request.fps = fps;
            const long n = (360 - twentieths) * fps / 20;
            ASSERT_EQ(Schedule::actAt(Capture::frameTime(request, n)), Schedule::Act::Metaballs)
                << "from " << request.from << " at " << fps << " fps";
            ASSERT_EQ(Schedule::actAt(Capture::frameTime(request, n - 1)), Schedule::Act::Title);
        }
}

} // namespace

// Feeds the capture command seeded, generated argument lists, most of them hostile, and checks
// what it does with each: it never crashes or hangs; a refusal is exit status 2 with exactly one
// line on stderr and no file left behind; a success leaves exactly the file it was asked for; a
// plain single-frame request at a small size always succeeds with a PNG of that size.
//
//   capture_fuzz CAPTURE SEED COUNT [CASE]
//
// Case n of a seed is generated on its own, so a failing case replays alone with CASE = n.
// Every list either is refused or asks for one frame, or one short recording, at 64x64 or less.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr auto kCaseLimit = std::chrono::seconds(60); // a case taking longer hangs

using Rng = std::mt19937_64;

template <typename T> const T& pick(Rng& rng, const std::vector<T>& values) {
    return values[std::uniform_int_distribution<size_t>(0, values.size() - 1)(rng)];
}

bool chance(Rng& rng, double p) {
    return std::uniform_real_distribution<double>(0, 1)(rng) < p;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// Numbers no flag may accept: not finite, out of every range, overflowing, or not numbers.
const std::vector<std::string> kBadNumbers = {"nan",
                                              "NaN",
                                              "-nan",
                                              "inf",
                                              "-inf",
                                              "infinity",
                                              "1e309",
                                              "-1e309",
                                              "-1",
                                              "-0.001",
                                              "1e18",
                                              "-1e18",
                                              "9223372036854775808",
                                              "18446744073709551616",
                                              "2147483648",
                                              "-2147483649",
                                              "4294967296",
                                              "1e",
                                              "0x",
                                              "--",
                                              "",
                                              " ",
                                              "1 ",
                                              " 1",
                                              "1,5",
                                              "abc",
                                              "1.2.3",
                                              "+-1",
                                              "\t",
                                              "99999999999999999999999999999999999999",
                                              "-9223372036854775809"};

// Sizes no GL here draws, or that are not sizes at all.
const std::vector<std::string> kBadSizes = {"0x16",
                                            "16x0",
                                            "-16x16",
                                            "16x-16",
                                            "16385x16",
                                            "16x16385",
                                            "99999x16",
                                            "2147483647x16",
                                            "2147483648x16",
                                            "16x4294967312",
                                            "4294967312x16",
                                            "x16",
                                            "16x",
                                            "16",
                                            "16x16x16",
                                            "16X16",
                                            "16*16",
                                            "16 x 16",
                                            " 16x16",
                                            "16x16 ",
                                            "nanx16",
                                            "infxinf",
                                            "1e3x16",
                                            "0x10x16",
                                            "",
                                            "16x16junk",
                                            "+16x+16",
                                            "16.5x16",
                                            "-0x-0",
                                            "99999999999999999999x1"};

const std::vector<std::string> kFlags = {"--time", "--size", "--out",     "--fps",
                                         "--from", "--to",   "--quality", "--help"};
const std::vector<std::string> kStrayWords = {
    "--",          "-",    "--tim",     "--TIME", "-time",  "--size=16x16",
    "--out=x.png", "time", "--verbose", "",       "--time="};

struct Case {
    std::vector<std::string> args;
    std::string out;          // the path asked for, "" if none
    bool mustSucceed = false; // a plain single-frame PNG request at a small size
    int width = 0, height = 0;
};

std::string smallSize(Rng& rng, int& width, int& height) {
    width = std::uniform_int_distribution<int>(1, 64)(rng);
    height = std::uniform_int_distribution<int>(1, 64)(rng);
    return std::to_string(width) + "x" + std::to_string(height);
}

// Flag and value pairs that make a good request: one frame, or a recording of at most one frame
// at 10 frames per second or less.
std::vector<std::vector<std::string>> goodRequest(Rng& rng, const fs::path& dir, Case& c) {
    static const std::vector<std::string> kExtensions = {".png", ".png",  ".png", ".mp4",
                                                         ".mkv", ".webm", ".wav"};
    const std::string extension = pick(rng, kExtensions);
    c.out = (dir / ("out" + extension)).string();
    std::vector<std::vector<std::string>> pairs;
    pairs.push_back({"--out", c.out});
    if (extension == ".png") {
        pairs.push_back({"--size", smallSize(rng, c.width, c.height)});
        pairs.push_back({"--time", number(std::uniform_real_distribution<double>(0, 113.9)(rng))});
        c.mustSucceed = true;
        return pairs;
    }
    if (extension != ".wav") { // even sides, as H.264 and VP9 want
        int width = 0, height = 0;
        smallSize(rng, width, height);
        pairs.push_back({"--size", std::to_string((width + 1) / 2 * 2) + "x" +
                                       std::to_string((height + 1) / 2 * 2)});
    }
    const double from = std::uniform_real_distribution<double>(0, 0.5)(rng);
    pairs.push_back({"--from", number(from)});
    pairs.push_back(
        {"--to", number(from + std::uniform_real_distribution<double>(0.01, 0.09)(rng))});
    pairs.push_back({"--fps", std::to_string(std::uniform_int_distribution<int>(1, 10)(rng))});
    return pairs;
}

// A value for `flag` that it must refuse.
std::string badValue(Rng& rng, const std::string& flag, const fs::path& dir) {
    if (flag == "--size")
        return pick(rng, kBadSizes);
    if (flag == "--out") {
        const std::vector<std::string> paths = {"",
                                                (dir / "missing" / "out.png").string(),
                                                dir.string(),
                                                (dir / "out").string(),
                                                (dir / "out.txt").string(),
                                                (dir / "out.PNG.gif").string(),
                                                (dir / ".png").string()};
        return pick(rng, paths);
    }
    return pick(rng, kBadNumbers);
}

Case generate(std::uint64_t seed, long index, const fs::path& dir) {
    Rng rng(seed * 1000003u + static_cast<std::uint64_t>(index));
    Case c;
    auto pairs = goodRequest(rng, dir, c);
    if (!chance(rng, 0.015)) {
        c.mustSucceed = false;
        // One to three hostile changes. A recording keeps its short --to unless that is made
        // bad, so nothing here asks for a long export.
        const int changes = std::uniform_int_distribution<int>(1, 3)(rng);
        for (int i = 0; i < changes; ++i) {
            // Only the good request's flag and value pairs are changed further.
            auto& pair = pairs[std::uniform_int_distribution<size_t>(0, pairs.size() - 1)(rng)];
            if (pair.size() != 2) {
                --i;
                continue;
            }
            switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
            case 0: // a bad value for a flag
            case 1:
                pair[1] = badValue(rng, pair[0], dir);
                break;
            case 2: // a flag given twice
                pairs.push_back(
                    {pair[0], chance(rng, 0.5) ? pair[1] : badValue(rng, pair[0], dir)});
                break;
            case 3: // a flag with no value, at the end
                pairs.push_back({pick(rng, kFlags)});
                break;
            case 4: // a word that is no flag, or a flag that belongs to no output
                pairs.push_back({pick(rng, kStrayWords)});
                if (chance(rng, 0.5))
                    pairs.back().push_back(pick(rng, kBadNumbers));
                break;
            default: // a required flag left out; others have defaults, some of them large
                if (pair[0] == "--out" || pair[0] == "--time")
                    pairs.erase(std::find(pairs.begin(), pairs.end(), pair));
                else
                    pair[1] = badValue(rng, pair[0], dir);
                break;
            }
        }
    }
    std::shuffle(pairs.begin(), pairs.end(), rng);
    for (const auto& pair : pairs)
        c.args.insert(c.args.end(), pair.begin(), pair.end());
    return c;
}

struct Outcome {
    int status = -1; // exit status, or -1
    int signal = 0;  // the signal that ended it, or 0
    bool hung = false;
    std::string err;
};

Outcome run(const std::string& program, const std::vector<std::string>& args, const fs::path& dir,
            const fs::path& errPath) {
    Outcome outcome;
    // Everything the child needs is made before fork: other threads may hold the heap's lock.
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::string dirText = dir.string(), errText = errPath.string();
    const pid_t pid = fork();
    if (pid == 0) {
        // Relative paths land in the case's folder, where a file left behind is seen.
        if (chdir(dirText.c_str()) != 0)
            _exit(126);
        const int err = open(errText.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + kCaseLimit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            outcome.hung = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(status))
        outcome.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    std::ifstream in(errPath);
    outcome.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return outcome;
}

// The PNG's width and height from its header, or 0x0 if it is no PNG.
void pngSize(const fs::path& path, int& width, int& height) {
    unsigned char header[24] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(header), sizeof header);
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    width = height = 0;
    if (!in || !std::equal(kSignature, kSignature + 8, header))
        return;
    width = header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
    height = header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23];
}

std::vector<fs::path> filesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files.push_back(entry.path());
    return files;
}

// What is wrong with the outcome of `c`, or "".
std::string judge(const Case& c, const Outcome& o, const fs::path& dir) {
    if (o.hung)
        return "did not finish within a minute";
    if (o.signal)
        return "killed by signal " + std::to_string(o.signal);
    const std::vector<fs::path> left = filesIn(dir);
    if (o.status == 2) {
        const long lines = std::count(o.err.begin(), o.err.end(), '\n');
        if (lines != 1 || o.err.back() != '\n' || o.err.size() < 2)
            return "refused with " + std::to_string(lines) + " stderr lines, not one";
        if (!left.empty())
            return "refused but left " + left.front().string();
        return c.mustSucceed ? "refused a plain request" : "";
    }
    if (o.status != 0)
        return "exit status " + std::to_string(o.status) + ", neither success nor refusal";
    const bool help = std::find(c.args.begin(), c.args.end(), "--help") != c.args.end();
    if (left.empty())
        return help ? "" : "reported success but wrote nothing";
    if (left.size() > 1)
        return "left " + left.front().string() + " and " + left.back().string();
    const bool asked = std::any_of(c.args.begin(), c.args.end(), [&](const std::string& arg) {
        return !arg.empty() &&
               (fs::path(arg).is_absolute() ? fs::path(arg) : dir / arg) == left.front();
    });
    if (!asked)
        return "left " + left.front().string() + ", which it was not asked to write";
    if (c.mustSucceed) {
        int width = 0, height = 0;
        pngSize(left.front(), width, height);
        if (width != c.width || height != c.height)
            return "wrote a " + std::to_string(width) + "x" + std::to_string(height) +
                   " PNG, not " + std::to_string(c.width) + "x" + std::to_string(c.height);
    } else if (fs::file_size(left.front()) == 0) {
        return "wrote an empty file";
    }
    return "";
}

std::string quoted(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& arg : args)
        text += " '" + arg + "'";
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: capture_fuzz CAPTURE SEED COUNT [CASE]\n");
        return 2;
    }
    const std::string program = argv[1];
    const std::uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    const long count = std::strtol(argv[3], nullptr, 10);
    const long only = argc == 5 ? std::strtol(argv[4], nullptr, 10) : -1;

    char pattern[] = "/tmp/capture_fuzz.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("capture_fuzz: mkdtemp");
        return 1;
    }
    const fs::path root(pattern);
    const long first = only < 0 ? 0 : only, end = only < 0 ? count : only + 1;

    // Two cases at a time: most of a refusal's time is the dynamic loader's.
    constexpr int kWorkers = 2;
    std::mutex report;
    long failures = 0, refused = 0, written = 0;
    auto worker = [&](int w) {
        const fs::path dir = root / ("case" + std::to_string(w));
        const fs::path errPath = root / ("stderr" + std::to_string(w));
        for (long index = first + w; index < end; index += kWorkers) {
            fs::create_directories(dir);
            const Case c = generate(seed, index, dir);
            const Outcome outcome = run(program, c.args, dir, errPath);
            const std::string problem = judge(c, outcome, dir);
            fs::remove_all(dir);
            std::lock_guard<std::mutex> lock(report);
            refused += outcome.status == 2;
            written += outcome.status == 0;
            if (problem.empty())
                continue;
            ++failures;
            std::printf("FAIL case %ld (replay: capture_fuzz CAPTURE %s %ld %ld): %s\n  args:%s\n"
                        "  stderr: %s\n",
                        index, argv[2], count, index, problem.c_str(), quoted(c.args).c_str(),
                        outcome.err.c_str());
        }
    };
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back(worker, w);
    for (auto& thread : workers)
        thread.join();
    fs::remove_all(root);
    std::printf("%ld argument lists: %ld refused, %ld succeeded, %ld failed\n", end - first,
                refused, written, failures);
    return failures == 0 ? 0 : 1;
}

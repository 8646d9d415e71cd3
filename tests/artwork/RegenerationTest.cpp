// atlasgen reproduces the committed atlases and icons byte for byte, and fails cleanly when it
// cannot write.
#include "PngChunks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int runAtlasgen(const std::string& arguments, std::string& output) {
    const std::string command = std::string(ATLASGEN_EXECUTABLE) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int raw = pclose(pipe);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "atlasgen-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~ScratchDirectory() {
        if (!path.empty()) {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    }
    std::string path;
};

// One way of running atlasgen, and the committed folder whose files it must write again.
struct Output {
    const char* name;
    const char* option;
    std::string committedDirectory;
    // The committed files it writes; empty for every file of the committed folder.
    std::vector<std::string> files;
};

void PrintTo(const Output& output, std::ostream* stream) {
    *stream << output.name;
}

std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Regeneration : public testing::TestWithParam<Output> {};

TEST_P(Regeneration, ReproducesTheCommittedFilesByteForByte) {
    const Output& output = GetParam();
    const std::vector<std::string> expected =
        output.files.empty() ? filesIn(output.committedDirectory) : output.files;
    ASSERT_FALSE(expected.empty());
    ScratchDirectory scratch;
    ASSERT_FALSE(scratch.path.empty());
    std::string messages;
    ASSERT_EQ(runAtlasgen(std::string(output.option) + " '" + scratch.path + "'", messages), 0)
        << messages;
    // Exactly the committed files are written, nothing else is left behind.
    ASSERT_EQ(filesIn(scratch.path), expected);
    for (const std::string& name : expected) {
        const std::vector<std::uint8_t> made = readFileBytes(scratch.path + "/" + name);
        const std::vector<std::uint8_t> committed =
            readFileBytes(output.committedDirectory + "/" + name);
        EXPECT_EQ(made.size(), committed.size()) << name;
        EXPECT_TRUE(made == committed) << name << " differs from the committed file";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Atlasgen, Regeneration,
    testing::Values(Output{"atlases", "", CONTENT_DIR, {"greetings_atlas.png", "title_atlas.png"}},
                    Output{"icons", "--icons", std::string(CONTENT_DIR) + "/icons", {}}),
    [](const testing::TestParamInfo<Output>& info) { return std::string(info.param.name); });

TEST(RegenerationFailure, AMissingOutputDirectoryFailsWithAMessage) {
    ScratchDirectory scratch;
    ASSERT_FALSE(scratch.path.empty());
    const std::string missing = scratch.path + "/absent";
    std::string output;
    EXPECT_NE(runAtlasgen("'" + missing + "'", output), 0);
    EXPECT_NE(output.find("cannot"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(missing));
}

TEST(RegenerationFailure, NoArgumentsPrintsUsage) {
    std::string output;
    EXPECT_EQ(runAtlasgen("", output), 2);
    EXPECT_NE(output.find("usage"), std::string::npos) << output;
}

} // namespace

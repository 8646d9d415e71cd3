// atlasgen reproduces the committed atlases byte for byte, and fails cleanly when it cannot write.
#include "PngChunks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

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

TEST(Regeneration, ReproducesTheCommittedAtlasesByteForByte) {
    ScratchDirectory scratch;
    ASSERT_FALSE(scratch.path.empty());
    std::string output;
    ASSERT_EQ(runAtlasgen("'" + scratch.path + "'", output), 0) << output;
    for (const char* name : {"title_atlas.png", "greetings_atlas.png"}) {
        const std::vector<std::uint8_t> made = readFileBytes(scratch.path + "/" + name);
        const std::vector<std::uint8_t> committed =
            readFileBytes(std::string(CONTENT_DIR) + "/" + name);
        EXPECT_EQ(made.size(), committed.size()) << name;
        EXPECT_TRUE(made == committed) << name << " differs from the committed file";
    }
    // Nothing but the two atlases is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), fs::directory_iterator()), 2);
}

TEST(Regeneration, AMissingOutputDirectoryFailsWithAMessage) {
    ScratchDirectory scratch;
    ASSERT_FALSE(scratch.path.empty());
    const std::string missing = scratch.path + "/absent";
    std::string output;
    EXPECT_NE(runAtlasgen("'" + missing + "'", output), 0);
    EXPECT_NE(output.find("cannot"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(missing));
}

TEST(Regeneration, NoArgumentsPrintsUsage) {
    std::string output;
    EXPECT_EQ(runAtlasgen("", output), 2);
    EXPECT_NE(output.find("usage"), std::string::npos) << output;
}

} // namespace

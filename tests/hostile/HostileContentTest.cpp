// The real program started headless on hostile content, as a separate process: each case ends
// with the log lines of what could not be used, the shell's exit code and no crash, and the
// program's peak memory stays within a generous bound (a blow-up costs gigabytes).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "datafile/archive_writer.h"

namespace {

namespace fs = std::filesystem;

struct runResult {
    int exitCode = -1;  // -1: the program did not exit by itself (a signal)
    long peakMb = 0;
    std::vector<std::string> log;
};

std::string ReadBytes(const fs::path& path, size_t limit = SIZE_MAX) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    char block[65536];
    while (bytes.size() < limit && file.read(block, sizeof block).gcount() > 0)
        bytes.append(block, static_cast<size_t>(file.gcount()));
    if (bytes.size() > limit) bytes.resize(limit);
    return bytes;
}

uint32_t Little32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

struct shippedEntry {
    std::string name;
    uint32_t offset;
    uint32_t size;
};

// The shipped archive's directory, read by the format's layout; end is where it stops.
std::vector<shippedEntry> ShippedDirectory(size_t& end) {
    const std::string head = ReadBytes(SANGUOR_ARCHIVE, 1 << 20);
    std::vector<shippedEntry> entries;
    size_t at = 11;
    for (uint32_t i = 0; i < Little32(head, 7); ++i) {
        const uint8_t length = static_cast<uint8_t>(head.at(at));
        const uint16_t nameLength =
            static_cast<uint16_t>(static_cast<uint8_t>(head.at(at + 9)) | static_cast<uint8_t>(head.at(at + 10)) << 8);
        const size_t name = at + 1 + length;
        entries.push_back({head.substr(name, nameLength), Little32(head, at + 1), Little32(head, at + 5)});
        at = name + nameLength;
    }
    end = at;
    return entries;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Log lines equal to text, or beginning with it.
int32_t Count(const runResult& run, const std::string& text, bool prefix = false) {
    return static_cast<int32_t>(std::count_if(run.log.begin(), run.log.end(), [&](const std::string& line) {
        return prefix ? line.rfind(text, 0) == 0 : line == text;
    }));
}

int32_t Errors(const runResult& run) {
    return Count(run, "Error: ", true);
}

class HostileContent : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::absolute("hostile-sandbox") / (std::string(info->name()) + "-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "app");
        // A link, not a copy: the program's folder is where the program was started from.
        std::error_code error;
        fs::create_hard_link(SANGUOR_PROGRAM, root / "app/sanguor", error);
        if (error) fs::copy_file(SANGUOR_PROGRAM, root / "app/sanguor");
        fs::copy_file(SANGUOR_LAUNCHER_PICTURE, root / "app/Launcher.bmp");
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(root);
    }
    void UseShippedArchive() { fs::create_symlink(SANGUOR_ARCHIVE, root / "app/Sanguor.qza"); }
    // A file of the program folder, named as content names it.
    void Write(std::string name, const std::string& bytes) {
        std::replace(name.begin(), name.end(), '\\', '/');
        const fs::path path = root / "app" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    runResult Run(const std::vector<std::string>& switches) {
        const std::string home = (root / "home").string();
        const pid_t child = fork();
        if (child == 0) {
            const std::string output = (root / "output.txt").string();
            freopen(output.c_str(), "w", stdout);
            freopen(output.c_str(), "a", stderr);
            setenv("XDG_DATA_HOME", home.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            const std::string program = (root / "app/sanguor").string();
            std::vector<std::string> arguments = {program, "-headless", "-seed", "1"};
            arguments.insert(arguments.end(), switches.begin(), switches.end());
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        runResult result;
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child) return result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakMb = usage.ru_maxrss / 1024;
        testing::Test::RecordProperty("peak_mb", std::to_string(result.peakMb));
        std::istringstream log(ReadBytes(fs::path(home) / "Nightshade Forge/Sanguor/results.log"));
        for (std::string line; std::getline(log, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            result.log.push_back(line);
        }
        return result;
    }
    // Exit code 0 after the normal clean-up, within the memory bound.
    static void ExpectCleanEnd(const runResult& run) {
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_LT(run.peakMb, SANGUOR_PEAK_MEMORY_MB);
        EXPECT_EQ(Count(run, "GameCleanup - End", true), 1);
    }
    fs::path root;
};

const std::string kDraculaStand = "Bin\\Sprites\\Dracula\\Vampire Stand\\";

std::string SheetError(const std::string& sheet) {
    return "Error: AnimationOpen - Unable to open animation exposure sheet \"" + sheet + "\".";
}

std::string PictureError(const std::string& picture) {
    return "Error: ModelTextureExtract - Unable to extract image \"" + picture + "\" for model.";
}

// What the game opens before it reads a level, each missing from an archive that has nothing.
void ExpectStartContentMissing(const runResult& run) {
    EXPECT_EQ(Count(run, "Error: FontOpen - Unable to load font \"Bin\\Fonts\\Menu Description Small.fot\"."), 1);
    EXPECT_EQ(Count(run, PictureError("Bin\\HUD\\Health.tga")), 1);
    EXPECT_EQ(Count(run, PictureError("Bin\\HUD\\Fog.tga")), 1);
    EXPECT_EQ(Count(run, SheetError(kDraculaStand + "Vampire Stand Right.exp")), 1);
    // The game's nine sounds, each named once.
    EXPECT_EQ(Count(run, "Error: AudioSoundOpen - Unable to open \"Bin\\Sounds\\", true), 9);
    EXPECT_EQ(Errors(run), 16);
}

TEST_F(HostileContent, TruncatedArchiveGivesWhatLiesBeforeTheCut) {
    size_t directoryEnd = 0;
    const std::vector<shippedEntry> entries = ShippedDirectory(directoryEnd);
    // The cut after the fonts, HUD pictures and levels: sprites and tiles lie past it.
    uint32_t cut = UINT32_MAX;
    for (const shippedEntry& entry : entries)
        if (entry.name.rfind("Bin\\Sprites\\", 0) == 0 || entry.name.rfind("Bin\\Tiles\\", 0) == 0)
            cut = std::min(cut, entry.offset);
    for (const shippedEntry& entry : entries) {
        if (entry.name.rfind("Bin\\Sprites\\", 0) != 0 && entry.name.rfind("Bin\\Tiles\\", 0) != 0) {
            ASSERT_LE(entry.offset + entry.size, cut) << entry.name;
        }
    }

    Write("Sanguor.qza", ReadBytes(SANGUOR_ARCHIVE, directoryEnd / 2));
    const runResult inDirectory = Run({"-quit", "600"});
    ExpectCleanEnd(inDirectory);
    ExpectStartContentMissing(inDirectory);

    Write("Sanguor.qza", ReadBytes(SANGUOR_ARCHIVE, cut + 100));
    const runResult inData = Run({"-quit", "600"});
    ExpectCleanEnd(inData);
    EXPECT_EQ(Count(inData, "Error: FontOpen", true), 0);
    EXPECT_EQ(Count(inData, PictureError("Bin\\HUD\\Health.tga")), 0);
    EXPECT_EQ(Count(inData, SheetError(kDraculaStand + "Vampire Stand Right.exp")), 1);
    EXPECT_GE(Count(inData, "Error: ModelTextureExtract - Unable to extract image \"Bin\\Tiles\\", true), 1);
}

TEST_F(HostileContent, ArchiveWhoseDirectoryPointsPastItsEndIsPassedOver) {
    const std::string sheet = kDraculaStand + "Vampire Stand Right.exp";
    // "A" sorts before the shipped archive, so each of its names would be found first.
    const std::string hostile = ArchiveBytes({
        {"Bin\\Fonts\\Menu Description Small.fot", "", 10, 0x7FFFFFF0, 100},
        {"Bin\\HUD\\Health.tga", "", 10, 40, 0x7FFFFFFF},
        {"Bin\\HUD\\Fog.tga", "", 10, -5, 10},
        {sheet, "1.0\r\n1\r\n", 10, std::nullopt, 1 << 20},
    });
    Write("A.qza", hostile);
    const runResult alone = Run({"-quit", "600"});
    ExpectCleanEnd(alone);
    ExpectStartContentMissing(alone);

    // With the shipped archive beside it, every name comes from there: no level 999, so the
    // game ends right after its start, having opened only what the hostile archive names.
    UseShippedArchive();
    const runResult beside = Run({"-level", "999", "-quit", "600"});
    ExpectCleanEnd(beside);
    EXPECT_EQ(Errors(beside), 0);
}

TEST_F(HostileContent, LevelNaming1024MissingPicturesLogsEachOnce) {
    UseShippedArchive();
    std::vector<std::string> level = {"#TILES"};
    for (int32_t tile = 1; tile <= 1025; ++tile)
        level.push_back(std::to_string(tile) + " BLOCK Tiles\\Missing " + std::to_string(tile) + ".tga");
    level.push_back("#MAP");
    for (int32_t row = 0; row < 31; ++row) {
        std::string line;
        for (int32_t column = 0; column < 31; ++column)
            line += (column ? "," : "") + std::to_string((row * 29 + column) % 1025 + 1);
        level.push_back(line);
    }
    for (const char* line : {"#PC", "2,2", "#NPC", "TYPE=VILLAGER", "LOCATION=3,2"}) level.push_back(line);
    Write("PATCH000001\\Bin\\Maps\\Map1.map", Lines(level));

    const runResult run = Run({"-quit", "600"});
    ExpectCleanEnd(run);
    for (int32_t tile = 1; tile <= 1024; ++tile)
        EXPECT_EQ(Count(run, PictureError("Bin\\Tiles\\Missing " + std::to_string(tile) + ".tga")), 1) << tile;
    EXPECT_EQ(Count(run, PictureError("Bin\\Tiles\\Missing 1025.tga")), 0) << "tile numbers above 1024 are passed over";
    EXPECT_EQ(Errors(run), 1024);
}

TEST_F(HostileContent, ExposureSheetClaiming100000FramesIsRefused) {
    UseShippedArchive();
    Write("PATCH000001\\Bin\\Maps\\Map1.map", Lines({"#TILES", "1 BLOCK Tiles\\Brick Block.tga", "#MAP", "1,1,1,1",
                                                     "1,1,1,1", "#PC", "2,1"}));
    std::string frames;
    for (int32_t frame = 0; frame < 100000; ++frame) frames += "Vampire Stand Right 1.tga\r\n0\r\n";
    const std::string right = kDraculaStand + "Vampire Stand Right.exp";
    const std::string left = kDraculaStand + "Vampire Stand Left.exp";
    Write("PATCH000001\\" + right, "1.0\r\n100000\r\n" + frames);
    // A count within the bound, but the sheet holds one frame of it.
    Write("PATCH000001\\" + left, "1.0\r\n1000\r\nVampire Stand Left 1.tga\r\n0\r\n");

    const runResult run = Run({"-quit", "600"});
    ExpectCleanEnd(run);
    EXPECT_EQ(Count(run, "Error: AnimationOpen - Invalid frame count \"100000\" in exposure sheet \"" + right + "\"."),
              1);
    EXPECT_EQ(Count(run, "Error: AnimationOpen - Unexpected end of exposure sheet \"" + left + "\"."), 1);
    EXPECT_EQ(Errors(run), 2);
}

}  // namespace

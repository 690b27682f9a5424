// Level packs whose script was built to take the machine: the real program plays level 1 headless
// with the pack's patch folder beside it and must end by itself at its quit time, within the
// memory bound, with a small log. Each pack aims at one of the script's limits; each run is a
// separate process, killed (and failed) if it outlives a wall-clock bound.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "script/scriptVmc.h"
#include "vmcAsm.h"

namespace {

namespace fs = std::filesystem;

// Game time of each run: past the briefing into about 200 play steps.
const std::string kQuit = "4000";
constexpr auto kWallBound = std::chrono::seconds(120);
constexpr uintmax_t kLogBound = 10u * 1024u * 1024u;
constexpr rlim_t kAddressSpaceCap = rlim_t{4} << 30;

struct runResult {
    int exitCode = -1;  // -1: the program did not exit by itself
    long peakMb = 0;
    uintmax_t logBytes = 0;
    std::vector<std::string> log;
};

class HostileScript : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::absolute("hostile-sandbox") / (std::string(info->name()) + "-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "app");
        std::error_code error;
        fs::create_hard_link(SANGUOR_PROGRAM, root / "app/sanguor", error);
        if (error) fs::copy_file(SANGUOR_PROGRAM, root / "app/sanguor");
        fs::copy_file(SANGUOR_LAUNCHER_PICTURE, root / "app/Launcher.bmp");
        fs::create_symlink(SANGUOR_ARCHIVE, root / "app/Sanguor.qza");
        // Space ends the briefing: the level's play, and its script's threads, begin.
        std::ofstream(root / "space.replay") << "300 Space 100\n400 Space 0\n";
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(root);
    }
    // A file of the pack, named as content names it.
    void Write(std::string name, const std::string& bytes) {
        std::replace(name.begin(), name.end(), '\\', '/');
        const fs::path path = root / "app/PATCH000001" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void WriteScript(const std::string& text) {
        std::vector<uint8_t> bytes;
        std::vector<std::string> errors;
        ASSERT_TRUE(VmcAssemble(text, "pack.vasm", bytes, errors)) << errors[0];
        Write("Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
    }
    // count labels, each set by index to a text of 65535 characters by one of threads threads,
    // each thread yielding after every label it sets. The labels are added to the container
    // directly: the assembler takes long over thousands of declarations.
    void WriteLabelScript(int32_t count, int32_t threads) {
        std::string text = ".object l0, label\n.end\n";
        for (int32_t t = 0; t < threads; ++t) text += ".thread t" + std::to_string(t) + "\n";
        for (int32_t t = 0; t < threads; ++t) {
            text += "t" + std::to_string(t) + ":\n push \"" + std::string(65535, 'w') + "\"\n";
            for (int32_t i = t; i < count; i += threads) text += " set " + std::to_string(i) + ", 3, [0]\n yield\n";
            text += " return\n";
        }
        std::vector<uint8_t> bytes;
        std::vector<std::string> errors;
        ASSERT_TRUE(VmcAssemble(text, "pack.vasm", bytes, errors)) << errors[0];
        vmcProgram program;
        std::string reason;
        ASSERT_TRUE(VmcRead(bytes, program, reason));
        for (int32_t i = 1; i < count; ++i) {
            program.objects.push_back(program.objects[0]);
            program.objects.back().name = "l" + std::to_string(i);
        }
        bytes = VmcWrite(program);
        Write("Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
    }
    // A camera whose children name "x" the given number of times, and that many boxes named
    // "x" (the assembler refuses a name declared twice; the container does not).
    void WriteCameraScript(int32_t count) {
        std::vector<uint8_t> bytes;
        std::vector<std::string> errors;
        ASSERT_TRUE(VmcAssemble(".object cam, camera\n.end\n.thread t\nt:\n jump t\n", "pack.vasm", bytes, errors));
        vmcProgram program;
        std::string reason;
        ASSERT_TRUE(VmcRead(bytes, program, reason));
        program.objects[0].children.assign(static_cast<size_t>(count), "x");
        vmcObject box;
        box.name = "x";
        box.kind = 1;
        program.objects.insert(program.objects.begin(), static_cast<size_t>(count), box);
        bytes = VmcWrite(program);
        Write("Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
    }
    runResult Run() {
        const fs::path home = root / "home";
        fs::remove_all(home);
        const pid_t child = fork();
        if (child == 0) {
            const std::string output = (root / "output.txt").string();
            freopen(output.c_str(), "w", stdout);
            freopen(output.c_str(), "a", stderr);
            setenv("XDG_DATA_HOME", home.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            // A pack that gets past the limits must not take the shared machine with it. Sanitizer
            // builds reserve their shadow memory as address space, so they go without the cap.
            if (SANGUOR_PEAK_MEMORY_MB <= 512) {
                const rlimit cap{kAddressSpaceCap, kAddressSpaceCap};
                setrlimit(RLIMIT_AS, &cap);
            }
            const std::string program = (root / "app/sanguor").string();
            const std::string replay = (root / "space.replay").string();
            std::vector<std::string> arguments = {program, "-headless", "-seed", "1", "-replay", replay, "-quit", kQuit};
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        runResult result;
        if (child < 0) return result;
        int status = 0;
        rusage usage{};
        const auto deadline = std::chrono::steady_clock::now() + kWallBound;
        pid_t done = 0;
        while ((done = wait4(child, &status, WNOHANG, &usage)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (done == 0) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            ADD_FAILURE() << "the program did not end by itself within " << kWallBound.count() << " s";
        } else if (WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        }
        result.peakMb = usage.ru_maxrss / 1024;
        testing::Test::RecordProperty("peak_mb", std::to_string(result.peakMb));
        const fs::path log = home / "Nightshade Forge/Sanguor/results.log";
        std::error_code error;
        result.logBytes = fs::file_size(log, error);
        std::ifstream in(log, std::ios::binary);
        for (std::string line; result.log.size() < 100000 && std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            result.log.push_back(line);
        }
        return result;
    }
    // The quit time reached with the normal clean-up, within the memory and log bounds.
    static void ExpectCleanEnd(const runResult& run) {
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_LT(run.peakMb, SANGUOR_PEAK_MEMORY_MB);
        EXPECT_LT(run.logBytes, kLogBound);
        EXPECT_EQ(Count(run, "GameCleanup - End", true), 1);
        EXPECT_EQ(Count(run, "Error: ScriptExecute - Instruction limit", true) > 0 ||
                      Count(run, "Error: ScriptOpen", true) > 0 || Count(run, "Error: ScriptExecute - Script", true) > 0,
                  true)
            << "the pack's script never met a limit";
    }
    static int32_t Count(const runResult& run, const std::string& text, bool prefix = false) {
        return static_cast<int32_t>(std::count_if(run.log.begin(), run.log.end(), [&](const std::string& line) {
            return prefix ? line.rfind(text, 0) == 0 : line == text;
        }));
    }
    static std::string Refused(const std::string& reason) {
        return "Error: ScriptOpen - Invalid script file \"Bin\\Scripts\\Map1.vmc\": " + reason + ".";
    }
    static std::string Reached(const std::string& limit) {
        return "Error: ScriptExecute - Script \"Bin\\Scripts\\Map1.vmc\" reached its " + limit + " limit, thread ";
    }
    fs::path root;
};

// A mat of 4096 x 4096 cells (16 Mi, the most a mat may have) in 257 runs.
std::string BigMat() {
    std::string bytes = "MAT";
    bytes += '\x01';
    bytes += '\x00';
    const auto i32 = [&bytes](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFFu);
    };
    i32(4096);
    i32(4096);
    bytes += '\x01';
    i32(0xFF000000u);
    bytes += '\x01';
    bytes += 'a';
    for (int32_t run = 0; run < 257; ++run) bytes += std::string("\xFF\xFF\x00", 3);
    return bytes;
}

TEST_F(HostileScript, LabelsSetToHugeTexts) {
    // 4000 labels each set to 65535 characters by 32 threads, a label per thread a step: with
    // each label's line, 500 MB without a limit. (65534 labels cost the same per label; the walks
    // over that many objects are another pack's.)
    WriteLabelScript(4000, 32);
    const runResult run = Run();
    ExpectCleanEnd(run);
    EXPECT_EQ(Count(run, Reached("text"), true), 1);
}

TEST_F(HostileScript, StackStringsEmptiedByMultiplyingIn250Threads) {
    // Each thread empties one more 65535-character string a step, as long as the step's budget
    // lets it run.
    WriteScript(".thread t\nt:\n push 0\nspawn:\n fork fill\n add 1, [0]\n jlt [0], 249, spawn\nfill:\n push \"\"\n"
                " call grow\n yield\n jump fill\ngrow:\n add \"" + std::string(65535, 'm') + "\", [base-1]\n mul 0, [base-1]\n"
                " return\n");
    ExpectCleanEnd(Run());
}

TEST_F(HostileScript, StateVariablesWithoutEnd) {
    // Fifty fresh variables of 65000 characters a step.
    WriteScript(".thread t\nt:\n push 0\nagain:\n push \"" + std::string(65000, 'v') + "\"\n push \"name\"\n"
                " add [0], [2]\n push 4\n builtin 32\n pop\n pop\n pop\n add 1, [0]\n push [0]\n mod 50, [1]\n"
                " jne [1], 0, next\n yield\nnext:\n pop\n jump again\n");
    const runResult run = Run();
    ExpectCleanEnd(run);
    EXPECT_EQ(Count(run, Reached("state variable"), true), 1);
}

TEST_F(HostileScript, ImageFramesNamingOneBigMat) {
    Write("Bin\\Mats\\big.mat", BigMat());
    std::string text = ".object pic, image\n    frameset\n";
    for (int32_t i = 0; i < 2000; ++i) text += "    frame \"f\"\n    mat \"Bin\\\\Mats\\\\big.mat\"\n";
    WriteScript(text + ".end\n.thread t\nt:\n jump t\n");
    ExpectCleanEnd(Run());
}

TEST_F(HostileScript, MatSetAgainAndAgain) {
    Write("Bin\\Mats\\big.mat", BigMat());
    WriteScript(".object m, mat\n.end\n.thread t\nt:\n set m, 3, \"Bin\\\\Mats\\\\big.mat\"\n jump t\n");
    ExpectCleanEnd(Run());
}

TEST_F(HostileScript, SubstringSearchOfLongTexts) {
    WriteScript(".thread t\nt:\n push false\n push \"" + std::string(32768, 'a') + "\"\n push \"" +
                std::string(16382, 'a') + "b\"\nagain:\n builtin 38\n jump again\n");
    ExpectCleanEnd(Run());
}

TEST_F(HostileScript, CameraWhoseChildrenNameEveryObject) {
    // 65534 children each naming 65534 objects: the file is refused before anything is built.
    WriteCameraScript(65534);
    const runResult run = Run();
    ExpectCleanEnd(run);
    EXPECT_EQ(Count(run, Refused("too many camera children")), 1);
}

}  // namespace

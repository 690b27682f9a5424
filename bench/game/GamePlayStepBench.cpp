// One play step (agents, player, fog, win check) and the drawing that follows it, on a level of
// 29 x 30 cells with 30 humans, drawn by the headless software renderer into a 1280 x 720
// window. Content is written into a folder of the run's own: 64 x 64 tiles and 96 x 128 figure
// frames as the shipped art has them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/UntGameTesting.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"
#include "shell/Modules.h"
#include "shell/UntMain.h"

namespace {

std::string folder;

void Write(const std::string& name, const std::string& bytes) {
    std::string path = folder + name;
    for (char& c : path)
        if (c == '\\') c = '/';
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteTga(const std::string& name, int width, int height, uint32_t colour) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28;
    for (int i = 0; i < width * height; ++i) {
        // A figure is opaque in its middle and clear around it, as sprites are.
        const int x = i % width;
        const bool inside = x > width / 4 && x < width * 3 / 4;
        const uint32_t pixel = inside ? colour : 0;
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((pixel >> shift) & 0xFF);
    }
    Write(name, bytes);
}

void WriteSheet(const std::string& name, int frames, uint32_t colour) {
    const std::string base = name.substr(name.find_last_of('\\') + 1, name.size() - name.find_last_of('\\') - 5);
    const std::string dir = name.substr(0, name.find_last_of('\\') + 1);
    std::string text = "1.0\r\n" + std::to_string(frames) + "\r\n";
    for (int i = 1; i <= frames; ++i) {
        const std::string picture = base + " " + std::to_string(i) + ".tga";
        WriteTga(dir + picture, 96, 128, colour);
        text += picture + "\r\n" + (i == 1 ? "1\r\nsprite=48,127\r\n" : "0\r\n");
    }
    Write(name, text);
}

void WriteFigure(const std::string& type, uint32_t colour) {
    const std::string dir = "Bin\\Sprites\\" + type + "\\";
    for (const char* sheet : {"Stand\\Stand Right", "Stand\\Stand Left", "Vampire Stand\\Vampire Stand Right",
                              "Vampire Stand\\Vampire Stand Left"})
        WriteSheet(dir + sheet + ".exp", 1, colour);
    for (const char* sheet : {"Walk\\Walk Right", "Walk\\Walk Left", "Vampire Walk\\Vampire Walk Right",
                              "Vampire Walk\\Vampire Walk Left"})
        WriteSheet(dir + sheet + ".exp", 8, colour);
    for (const char* sheet : {"Attack\\Attack Right", "Attack\\Attack Left", "Vampire Hit\\Vampire Hit Left",
                              "Vampire Hit\\Vampire Hit Right", "Vampire Collapse\\Vampire Collapse", "Vamped\\Vamped"})
        WriteSheet(dir + sheet + ".exp", 3, colour);
}

// 29 columns and 30 rows: walls around, a floor every third row, 30 guards on the floors.
void WriteLevel() {
    std::string text = "#TILES\r\n1 BLOCK Tiles\\Block.tga\r\n2 SPACE Tiles\\Space.tga\r\n#MAP\r\n";
    for (int r = 1; r <= 30; ++r) {
        for (int c = 1; c <= 29; ++c) {
            const bool wall = r == 1 || r == 30 || c == 1 || c == 29 || r % 3 == 0;
            text += std::string(c > 1 ? "," : "") + (wall ? "1" : "2");
        }
        text += "\r\n";
    }
    text += "#PC\r\n5,29\r\n#OBJECTIVE\r\nVAMPS=100\r\n";
    for (int i = 0; i < 30; ++i)
        text += "#NPC\r\nTYPE=Guard\r\nLOCATION=" + std::to_string(3 + (i * 5) % 25) + "," +
                std::to_string(2 + 3 * (i % 9)) + "\r\n";
    Write("Bin\\Maps\\Map1.map", text);
    WriteTga("Bin\\Tiles\\Block.tga", 64, 64, 0xFF808080u);
    WriteTga("Bin\\Tiles\\Space.tga", 64, 64, 0xFF000040u);
    WriteFigure("Dracula", 0xFFC00000u);
    WriteFigure("Guard", 0xFF00C000u);
}

void Start() {
    folder = (std::filesystem::temp_directory_path() / ("sanguor-bench-game-" + std::to_string(getpid()))).string() + "/";
    std::filesystem::create_directories(folder + "home");
    setenv("XDG_DATA_HOME", (folder + "home").c_str(), 1);
    WriteLevel();
    PlatformSetHeadless(true);
    PlatformClockSetVirtual(true, 0);
    PlatformSetArguments({});
    PlatformSetExecutablePath(folder + "sanguor");
    PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors());
    PlatformHeadlessSetAccelerated(1);
    ModulesInit();
    mainForm = new TmainForm();
    GameSeed(7);
    if (!GameInit()) std::abort();
    GameRun();
    if (StateGet() != kStatePlay || Game().agents.size() != 31) std::abort();
    // The player must outlive any number of blows.
    Game().agents[0].health = 1 << 30;
}

void Stop() {
    GameCleanup();
    delete mainForm;
    mainForm = nullptr;
    ModulesFinal();
    PlatformVideoShutdown();
    std::filesystem::remove_all(folder);
}

void StepOnly(benchmark::State& state) {
    for (auto _ : state) {
        PlatformClockAdvance(17);
        GamePlayStep();
    }
}

void StepAndDraw(benchmark::State& state) {
    for (auto _ : state) {
        PlatformClockAdvance(17);
        GamePlayStep();
        MapDraw(true);
    }
    gl.Finish();
}

}  // namespace

BENCHMARK(StepOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(StepAndDraw)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Start();
    benchmark::RunSpecifiedBenchmarks();
    Stop();
    return 0;
}

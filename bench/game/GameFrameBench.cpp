// The game's frames on the largest level the format allows (29 x 30 cells, 30 humans) with the
// shipped content, drawn by the headless software renderer into a 1280 x 720 window, each
// including its present: the briefing (the 1280 x 720 picture and its text over the map) and a
// play frame (step, tiles, figures, marks, HUD); and the play step's logic alone. The level
// comes from a patch folder next to the shipped archive.
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
#include "services/fwkState.h"
#include "shell/GameEntry.h"
#include "shell/Modules.h"
#include "shell/UntMain.h"

namespace {

std::string folder;

// Stone walls around, a wooden floor every third row, walls with lit windows between, sky on
// top; the player and 30 humans of every kind on the floors.
std::string LargestLevel() {
  std::string text =
      "#TILES\r\n1 BLOCK Tiles\\Stone Block.tga\r\n2 BLOCK Tiles\\Wooden Floor.tga\r\n"
      "3 SPACE Tiles\\Wall.tga\r\n4 SPACE Tiles\\Lit Window.tga\r\n5 SPACE Tiles\\Night Sky.tga\r\n#MAP\r\n";
  for (int r = 1; r <= 30; ++r) {
    for (int c = 1; c <= 29; ++c) {
      int tile = 3;
      if (r == 1 || r == 30 || c == 1 || c == 29) {
        tile = 1;
      } else if (r % 3 == 0) {
        tile = 2;
      } else if ((r + c) % 7 == 0) {
        tile = 4;
      } else if (r <= 3) {
        tile = 5;
      }
      text += (c > 1 ? "," : "") + std::to_string(tile);
    }
    text += "\r\n";
  }
  text +=
      "#BRIEFING\r\nTHE LARGEST NIGHT\r\n+\r\nThirty souls on ten floors, and every one of them awake. "
      "Walk with A and D, bite with E, and take the village floor by floor.\r\n";
  text += "#PC\r\n5,29\r\n#OBJECTIVE\r\nVAMPS=100\r\n";
  const char* types[] = {"VILLAGER", "FARMER", "PRIEST", "NUBILE", "GUARD"};
  for (int i = 0; i < 30; ++i)
    text += std::string("#NPC\r\nTYPE=") + types[i % 5] +
            "\r\nLOCATION=" + std::to_string(3 + (i * 5) % 25) + "," +
            std::to_string(2 + 3 * (i % 9)) + "\r\n";
  return text;
}

void Start() {
  folder =
      (std::filesystem::temp_directory_path() / ("sanguor-bench-game-" + std::to_string(getpid())))
          .string() +
      "/";
  std::filesystem::create_directories(folder + "home");
  std::filesystem::create_directories(folder + "PATCH000001/Bin/Maps");
  std::filesystem::create_symlink(SANGUOR_ARCHIVE, folder + "Sanguor.qza");
  std::ofstream(folder + "PATCH000001/Bin/Maps/Map1.map", std::ios::binary) << LargestLevel();
  setenv("XDG_DATA_HOME", (folder + "home").c_str(), 1);
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
  if (StateGet() != kStateBriefing || Game().agents.size() != 31) std::abort();
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

void BriefingFrame(benchmark::State& state) {
  if (StateGet() != kStateBriefing) {
    state.SkipWithError("the briefing is over: run it before the play benchmarks");
    return;
  }
  for (auto _ : state) {
    PlatformClockAdvance(17);
    GameRun();
  }
}

void StepOnly(benchmark::State& state) {
  StateSet(kStatePlay);
  for (auto _ : state) {
    PlatformClockAdvance(17);
    GamePlayStep();
  }
}

void PlayFrameLargestLevel(benchmark::State& state) {
  StateSet(kStatePlay);
  for (auto _ : state) {
    PlatformClockAdvance(17);
    GamePlayStep();
    MapDraw(true);
  }
}

}  // namespace

BENCHMARK(BriefingFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(StepOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayFrameLargestLevel)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Start();
  benchmark::RunSpecifiedBenchmarks();
  Stop();
  return 0;
}

#include "GameTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "fonts/FontTestFiles.h"
#include "input/fwkInput.h"
#include "services/fwkIni.h"
#include "platform/platform.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "shell/Modules.h"
#include "shell/UntMain.h"

namespace {

std::string SlashPath(const std::string& name) {
  std::string path = name;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string StandardTiles() {
  return Lines({"#TILES", "1 BLOCK Tiles\\Block.tga", "2 SPACE Tiles\\Space.tga",
                "3 LEFT Tiles\\Left.tga", "4 RIGHT Tiles\\Right.tga",
                "5 BLOCKNPC Tiles\\Fence.tga"});
}

gameSandbox::gameSandbox() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  const std::string root = std::filesystem::absolute("game-sandbox").string() + "/" +
                           info->test_suite_name() + "." + info->name() + "-" +
                           std::to_string(getpid()) + "/";
  std::filesystem::remove_all(root);
  app = root + "app/";
  std::filesystem::create_directories(app);
  std::filesystem::create_directories(root + "home");
  setenv("XDG_DATA_HOME", (root + "home").c_str(), 1);
}

gameSandbox::~gameSandbox() {
  if (started_) Stop();
}

void gameSandbox::Write(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path path = app + SlashPath(name);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file << bytes;
}

void gameSandbox::WriteTga(const std::string& name, int32_t width, int32_t height,
                           uint32_t colour) const {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = static_cast<char>(width & 0xFF);
  bytes[13] = static_cast<char>(width >> 8);
  bytes[14] = static_cast<char>(height & 0xFF);
  bytes[15] = static_cast<char>(height >> 8);
  bytes[16] = 32;
  bytes[17] = 0x28;  // top row first, 8 alpha bits
  for (int32_t i = 0; i < width * height; ++i) {
    bytes += static_cast<char>(colour & 0xFF);
    bytes += static_cast<char>((colour >> 8) & 0xFF);
    bytes += static_cast<char>((colour >> 16) & 0xFF);
    bytes += static_cast<char>(colour >> 24);
  }
  Write(name, bytes);
}

void gameSandbox::WriteSheet(const std::string& name, const std::vector<testFrame>& frames) const {
  const size_t slash = name.find_last_of('\\');
  const std::string folder = name.substr(0, slash + 1);
  const std::string base = name.substr(slash + 1, name.size() - slash - 5);
  std::string text = "1.0\r\n" + std::to_string(frames.size()) + "\r\n";
  for (size_t i = 0; i < frames.size(); ++i) {
    const std::string picture = base + " " + std::to_string(i + 1) + ".tga";
    WriteTga(folder + picture, frames[i].width, frames[i].height, frames[i].colour);
    const std::string& attributes = frames[i].attributes;
    const int32_t count =
        attributes.empty()
            ? 0
            : 1 + static_cast<int32_t>(std::count(attributes.begin(), attributes.end(), '\n'));
    text += picture + "\r\n" + std::to_string(count) + "\r\n" +
            (attributes.empty() ? "" : attributes + "\r\n");
  }
  Write(name, text);
}

void gameSandbox::WriteFigure(const std::string& type, uint32_t colour,
                              int32_t sequenceFrames) const {
  const std::string folder = "Bin\\Sprites\\" + type + "\\";
  const uint32_t vampire = (colour & 0xFF000000u) | ((colour >> 1) & 0x7F7F7Fu);
  const testFrame still{8, 16, colour, "sprite=4,15"};
  const testFrame turned{8, 16, vampire, "sprite=4,15"};
  WriteSheet(folder + "Stand\\Stand Right.exp", {still});
  WriteSheet(folder + "Stand\\Stand Left.exp", {still});
  WriteSheet(folder + "Walk\\Walk Right.exp", {still, still});
  WriteSheet(folder + "Walk\\Walk Left.exp", {still, still});
  WriteSheet(folder + "Vampire Stand\\Vampire Stand Right.exp", {turned});
  WriteSheet(folder + "Vampire Stand\\Vampire Stand Left.exp", {turned});
  WriteSheet(folder + "Vampire Walk\\Vampire Walk Right.exp", {turned, turned});
  WriteSheet(folder + "Vampire Walk\\Vampire Walk Left.exp", {turned, turned});
  const std::vector<testFrame> sequence(static_cast<size_t>(sequenceFrames), turned);
  WriteSheet(folder + "Vamped\\Vamped.exp", sequence);
  WriteSheet(folder + "Attack\\Attack Right.exp", sequence);
  WriteSheet(folder + "Attack\\Attack Left.exp", sequence);
  WriteSheet(folder + "Vampire Hit\\Vampire Hit Left.exp", sequence);
  WriteSheet(folder + "Vampire Hit\\Vampire Hit Right.exp", sequence);
  WriteSheet(folder + "Vampire Collapse\\Vampire Collapse.exp", sequence);
}

void gameSandbox::WriteStandardContent() const {
  WriteFigure("Dracula", 0xFFFF0000u);
  WriteFigure("Guard", 0xFF00FF00u);
  WriteFigure("Nubile", 0xFFFF00FFu);
  WriteSheet("Bin\\Sprites\\Dracula\\Fog\\Fog 1.exp",
             {{32, 32, 0xFFC0C0C0u, "sprite=16,31"}, {32, 32, 0xFFC0C0C0u, ""}});
  WriteSheet("Bin\\Sprites\\Dracula\\Fog\\Fog 2.exp", {{32, 32, 0xFFE0E0E0u, "sprite=16,31"}});
  WriteTga("Bin\\Tiles\\Block.tga", 64, 64, 0xFF808080u);
  WriteTga("Bin\\Tiles\\Space.tga", 64, 64, 0xFF000040u);
  WriteTga("Bin\\Tiles\\Left.tga", 64, 64, 0xFF404000u);
  WriteTga("Bin\\Tiles\\Right.tga", 64, 64, 0xFF004040u);
  WriteTga("Bin\\Tiles\\Fence.tga", 64, 64, 0xFF402000u);
  WriteTga("Bin\\HUD\\Health.tga", 50, 50, 0x00000000u);
  WriteTga("Bin\\HUD\\Fog.tga", 50, 50, 0x00000000u);
  Write("Bin\\Fonts\\Menu Description Small.fot",
        TestFontBytes("Menu", 32, 63, 16, {testFontImage(32, std::vector<uint8_t>(32, 8))}));
  WriteTga("Bin\\Sprites\\Briefing.tga", 1280, 720, 0xFF203040u);
  WriteTga("Bin\\Sprites\\You Are Dead.tga", 200, 100, 0xFF600000u);
  WriteTga("Bin\\Sprites\\You Win.tga", 200, 100, 0xFF006000u);
  // The game's sounds: two seconds of silence each, as 16-bit mono PCM WAV at 22.05 kHz (the
  // audio module goes by the data, not the name).
  const uint32_t samples = 2 * 22050;
  std::string silence = "RIFF";
  auto put = [&silence](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) silence.push_back(static_cast<char>(value >> (8 * i)));
  };
  put(36 + 2 * samples, 4);
  silence += "WAVEfmt ";
  put(16, 4);     // format chunk size
  put(1, 2);      // PCM
  put(1, 2);      // mono
  put(22050, 4);  // samples a second
  put(44100, 4);  // bytes a second
  put(2, 2);      // bytes a sample
  put(16, 2);     // bits a sample
  silence += "data";
  put(2 * samples, 4);
  silence.append(2 * samples, '\0');
  for (const char* sound : {"Night", "Bite", "Human Suspicious", "Human Attack", "Player Hit",
                            "Collapse", "Fog", "You Win", "You Are Dead"})
    Write(std::string("Bin\\Sounds\\") + sound + ".ogg", silence);
}

bool gameSandbox::Start(const std::vector<std::string>& arguments) {
  PlatformSetHeadless(true);
  PlatformClockSetVirtual(true, 0);
  PlatformSetTickPerPass(17);
  PlatformSetArguments(arguments);
  PlatformSetExecutablePath(app + "sanguor");
  PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors());
  PlatformHeadlessSetAccelerated(1);
  ModulesInit();
  // A small window keeps the software renderer quick; the picture is scaled into it.
  IniWriteInteger("Video", "Width", videoWidth);
  IniWriteInteger("Video", "Height", videoHeight);
  mainForm = new TmainForm();
  GameSeed(1);
  started_ = true;
  return GameInit();
}

void gameSandbox::Stop() {
  if (!started_) return;
  started_ = false;
  GameCleanup();
  delete mainForm;
  mainForm = nullptr;
  ModulesFinal();
  PlatformVideoShutdown();
  GLUnload();
  PlatformHeadlessSetAccelerated(-1);
}

void gameSandbox::Run(int32_t passes) {
  for (int32_t i = 0; i < passes; ++i) {
    if (!GameRun()) return;
    PlatformLoopPass();
  }
}

bool gameSandbox::RunUntilState(int32_t state, int32_t limit) {
  for (int32_t i = 0; i < limit && StateGet() != state; ++i) {
    if (!GameRun()) break;
    PlatformLoopPass();
  }
  return StateGet() == state;
}

void gameSandbox::Steps(int32_t n) {
  for (int32_t made = 0, guard = 0; made < n && guard < 100 * n; ++guard) {
    const uint32_t before = Game().lastStep;
    if (!GameRun()) return;
    PlatformLoopPass();
    if (Game().lastStep != before) ++made;
  }
}

void gameSandbox::EnterPlay() {
  GameRun();
  if (StateGet() == kStateBriefing) StateSet(kStatePlay);
}

void gameSandbox::LogicSteps(int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    PlatformClockAdvance(17);
    GamePlayStep();
  }
}

void gameSandbox::Press(int32_t code) const {
  InputControlPost(InputControlSetActive(), code, 100);
}

void gameSandbox::Release(int32_t code) const {
  InputControlPost(InputControlSetActive(), code, 0);
}

void gameSandbox::Tap(int32_t code) const {
  Press(code);
  Release(code);
}

std::vector<uint32_t> gameSandbox::Picture(int32_t& width, int32_t& height) const {
  std::vector<uint32_t> pixels;
  PlatformWindowReadPixels(GraphicsDisplayWindow(Game().display), width, height, pixels);
  return pixels;
}

uint32_t gameSandbox::PixelAt(int32_t x, int32_t y) const {
  int32_t width = 0;
  int32_t height = 0;
  const std::vector<uint32_t> pixels = Picture(width, height);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFFu;
}

std::string gameSandbox::Log() const {
  std::ifstream file(LogFolder() + LogFileName(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Decode throughput of a 1280 x 720 picture in every format, read through the data-file module
// as the program reads content, next to stb_image (Debian's libstb-dev, in this process, reading
// the same file into 32-bit pixels) and the ImageMagick (convert) and libjpeg-turbo (djpeg)
// programs decoding the same files in the same run. Times are CPU times (ours and stb_image's:
// the process's; the tools': the child's user + system time), so a busy machine does not tilt
// the comparison. The tools run as processes, so their start-up is measured on a 1 x 1 file of
// the same format and reported apart; the table at the end gives the ratios with and without it.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <stb_image.h>

#include "images/fwkImage.h"
#include "images/fwkImageGIF.h"
#include "images/fwkImageJPG.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

extern char** environ;

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct Format {
  const char* name;
  const char* file;
  const char* options;
  const char* tool;  // "convert" or "djpeg"
  bool stb;          // stb_image reads the format
};

const Format kFormats[] = {
    {"bmp24", "picture.bmp", "-type truecolor BMP3:", "convert", true},
    {"tga24", "picture.tga", "-compress none -type truecolor TGA:", "convert", true},
    {"tga24rle", "picture-rle.tga", "-compress RLE -type truecolor TGA:", "convert", true},
    {"pcx24", "picture.pcx", "-type truecolor PCX:", "convert", false},
    {"gif", "picture.gif", "-colors 256 GIF:", "convert", true},
    {"jpg420", "picture.jpg", "-quality 90 -sampling-factor 2x2 JPEG:", "djpeg", true},
};

std::string folder;

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

void MakeFiles() {
  folder = (std::filesystem::temp_directory_path() /
            ("sanguor-bench-images-" + std::to_string(getpid())))
               .string();
  std::filesystem::create_directories(folder);
  const std::string source = folder + "/source.png";
  Shell("/usr/bin/convert -size " + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
        " -seed 5 plasma:fractal -blur 0x1 -depth 8 PNG24:" + source);
  for (const Format& f : kFormats) {
    Shell("/usr/bin/convert " + source + " " + f.options + folder + "/" + f.file);
    Shell("/usr/bin/convert -size 1x1 xc:gray " + std::string(f.options) + folder + "/tiny-" +
          f.file);
  }
  PlatformSetArguments({});
  PlatformSetExecutablePath(folder + "/bench");
  UtilInit();
  DataFileInit();
  ImageJpgInit();
  ImageGifInit();
  ImageInit();
}

// CPU time of one run of a tool; the output goes to /dev/null.
double RunTool(const Format& f, const std::string& file) {
  std::vector<std::string> args;
  if (std::string(f.tool) == "djpeg") {
    args = {"/usr/bin/djpeg", "-outfile", "/dev/null", file};
  } else {
    args = {"/usr/bin/convert", file, "-depth", "8", "rgba:/dev/null"};
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Ours(benchmark::State& state, const Format* f) {
  for (auto _ : state) {
    imageData* image = nullptr;
    ImageOpen(f->file, image);
    if (image == nullptr || image->width != kWidth || image->error)
      state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image->pixels.data());
    ImageFree(image);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// stb_image reading the same file from disk into 4 bytes per pixel, as ours gives them.
void Stb(benchmark::State& state, const Format* f) {
  const std::string file = folder + "/" + f->file;
  for (auto _ : state) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(file.c_str(), &width, &height, &channels, 4);
    if (pixels == nullptr || width != kWidth) state.SkipWithError("stb_image decode failed");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void Tool(benchmark::State& state, const Format* f, bool tiny) {
  const std::string file = folder + "/" + (tiny ? "tiny-" : "") + f->file;
  for (auto _ : state) state.SetIterationTime(RunTool(*f, file));
  if (!tiny) state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Keeps every run's time per iteration for the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations == 0) continue;
      const double total = run.benchmark_name().find("manual_time") != std::string::npos
                               ? run.real_accumulated_time
                               : run.cpu_accumulated_time;
      seconds[run.benchmark_name()] = total / static_cast<double>(run.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  MakeFiles();
  for (const Format& f : kFormats) {
    benchmark::RegisterBenchmark((std::string("decode/") + f.name).c_str(), Ours, &f)
        ->Unit(benchmark::kMillisecond);
    if (f.stb)
      benchmark::RegisterBenchmark((std::string("stb_image/") + f.name).c_str(), Stb, &f)
          ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string(f.tool) + "/" + f.name).c_str(), Tool, &f, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string(f.tool) + "-startup/" + f.name).c_str(), Tool, &f,
                                 true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-9s %9s %11s %9s %8s %14s %12s %17s\n", "format", "ours MP/s", "ours ms",
              "stb ms", "ours/stb", "tool ms (net)", "ours/tool", "ours/tool (net)");
  for (const Format& f : kFormats) {
    const auto get = [&](const std::string& name) {
      const auto it = reporter.seconds.find(name);
      return it == reporter.seconds.end() ? 0.0 : it->second;
    };
    const double ours = get(std::string("decode/") + f.name);
    const double tool = get(std::string(f.tool) + "/" + f.name + "/manual_time");
    const double startup = get(std::string(f.tool) + "-startup/" + f.name + "/manual_time");
    if (ours <= 0) continue;
    const double stb = get(std::string("stb_image/") + f.name);
    const double net = tool > 0 ? tool - startup : 0.0;
    std::printf("%-9s %9.1f %11.2f %9.2f %8.2f %7.2f (%5.2f) %12.2f %17.2f   [%s]\n", f.name,
                kWidth * kHeight / ours / 1e6, ours * 1e3, stb * 1e3, stb > 0 ? ours / stb : 0.0,
                tool * 1e3, net * 1e3, tool > 0 ? ours / tool : 0.0, net > 0 ? ours / net : 0.0,
                f.tool);
  }
  benchmark::Shutdown();
  DataFileCloseAll();
  std::filesystem::remove_all(folder);
  return 0;
}

// The imgdump tool: one line per frame, PAM files per frame, exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "imageTestSupport.h"

namespace {

struct Result {
  int status = -1;
  std::string output;
};

Result RunImgdump(const std::string& arguments) {
  const std::string tool = (std::filesystem::current_path() / "bin" / "imgdump").string();
  Result result;
  FILE* pipe = popen((tool + " " + arguments + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.output += buffer;
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace

TEST(Imgdump, PrintsEveryFrameAndWritesPamFiles) {
  const std::string icon = Generated(".ico", "/usr/bin/convert " + SourcePicture(32, 32, 5) +
                                                 " -define icon:auto-resize=32,16,24 {out}");
  const std::string out = TestFolder() + "/dump.pam";
  const Result result = RunImgdump(icon + " " + out);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output,
            "width=32 height=32 bpp=32 frame=1 error=0\n"
            "width=16 height=16 bpp=32 frame=2 error=0\n"
            "width=24 height=24 bpp=32 frame=3 error=0\n");
  // The PAM files hold what the engine sees, alpha being the top byte (255 where the mask is set).
  imageData* image = DecodeBytes("x.ico", ReadBytes(icon));
  const imageData* frame = image;
  for (const char* name : {"/dump.pam", "/dump-2.pam", "/dump-3.pam"}) {
    ASSERT_NE(frame, nullptr);
    const Picture written = MagickDecode(TestFolder() + name);
    ASSERT_EQ(written.width, frame->width) << name;
    for (int i = 0; i < frame->width * frame->height; ++i) {
      ASSERT_EQ(written.At(i % frame->width, i / frame->width), frame->pixels[i])
          << name << " pixel " << i;
    }
    frame = frame->next;
  }
  ImageFree(image);
}

TEST(Imgdump, ExitCodes) {
  const std::string jpeg =
      Generated(".jpg", "/usr/bin/convert " + SourcePicture(20, 10, 5) + " {out}");
  Result result = RunImgdump(jpeg);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "width=20 height=10 bpp=24 frame=1 error=0\n");
  PlaceFile("broken.tga", {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 24, 0});
  result = RunImgdump(TestFolder() + "/broken.tga");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "width=16 height=16 bpp=32 frame=1 error=1\n");
  result = RunImgdump(TestFolder() + "/absent.bmp");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "");
}

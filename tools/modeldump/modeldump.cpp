// modeldump FILE OUT.pam: reads a mesh as the program does, into the model store of a headless
// display, prints "vertices V triangles T" (T the triangles stored: the gaps a left-out
// triangle leaves are not counted) and draws the mesh white on black into a 256 x 256 picture,
// x to the right and y upward, the view fitted to the mesh's x and y extents with a tenth of
// each added on either side. OUT.pam is written as RGB_ALPHA, like imgdump's.
// On failure the log line goes to standard error (without "Error: ") and the exit code is 1.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "DumpLog.h"
#include "graphics/GL.h"
#include "graphics/GLConstants.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"
#include "platform/platform_video.h"

namespace {

constexpr int32_t side = 256;

struct span {
  float low = 0.0f;
  float high = 0.0f;
};

// The view along one axis: the extent plus a tenth on each side; an extent of 0 (or one that
// is not a number) is widened to one unit so that the view stays valid.
span View(const std::vector<float>& values) {
  span extent;
  if (!values.empty()) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    extent = {*low, *high};
  }
  float size = extent.high - extent.low;
  if (!(size > 0.0f) || !std::isfinite(size)) {
    const float centre = std::isfinite(extent.low) ? extent.low : 0.0f;
    extent = {centre - 0.5f, centre + 0.5f};
    size = 1.0f;
  }
  return {extent.low - size / 10.0f, extent.high + size / 10.0f};
}

// A left-out triangle leaves an empty polygon (every index 0, no texture) when a later one is
// stored; those are not triangles of the file.
int32_t StoredTriangles(const model& m) {
  int32_t count = 0;
  for (const modelPolygon& polygon : m.polygons) {
    bool empty = polygon.textures.empty();
    for (const modelCorner& corner : polygon.corners) {
      empty = empty && corner.vertex == 0 && corner.normal == 0 && corner.texCoord == 0;
    }
    count += empty ? 0 : 1;
  }
  return count;
}

void DrawFitted(model& m) {
  std::vector<float> xs;
  std::vector<float> ys;
  std::vector<float> zs;
  for (const modelVertex& vertex : m.vertices) {
    xs.push_back(vertex.x);
    ys.push_back(vertex.y);
    zs.push_back(vertex.z);
  }
  const span x = View(xs);
  const span y = View(ys);
  const span z = View(zs);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(x.low, x.high, y.low, y.high, -z.high, -z.low);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  // Every triangle shows, whichever way it faces and whatever lies in front of it.
  gl.Disable(GL_CULL_FACE);
  gl.Disable(GL_DEPTH_TEST);
  gl.Disable(GL_TEXTURE_2D);
  ModelDraw(&m);
}

bool WritePam(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint32_t>& pixels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               width, height);
  std::vector<uint8_t> bytes;
  bytes.reserve(pixels.size() * 4);
  for (const uint32_t p : pixels) {
    bytes.insert(bytes.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                               static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

int32_t OpenDisplay() {
  platformWindowParams params;
  params.caption = "modeldump";
  params.x = 0;
  params.y = 0;
  params.width = side;
  params.height = side;
  const platformWindow window = PlatformWindowCreate(params);
  PlatformWindowShow(window);
  const int32_t display = GraphicsDisplayAdd(window, "modeldump", 0);
  GraphicsDisplayCreateRC(display);
  GraphicsDisplaySetMode(display, {side, side, 32, 0});
  return display;
}

int Dump(const std::string& name, const std::string& out) {
  const int32_t display = OpenDisplay();
  model* m = ModelOpen(display, name);
  if (m == nullptr) {
    DumpReportErrors();
    return 1;
  }
  GraphicsRenderBegin(display);
  DrawFitted(*m);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  if (!PlatformGLReadBackBuffer(width, height, pixels) || width != side || height != side) {
    if (DumpReportErrors() == 0)
      std::fprintf(stderr, "modeldump: the headless display could not be drawn\n");
    return 1;
  }
  if (!WritePam(out, width, height, pixels)) {
    std::fprintf(stderr, "modeldump: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("vertices %zu triangles %d\n", m->vertices.size(), StoredTriangles(*m));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: modeldump FILE OUT.pam\n");
    return 2;
  }
  PlatformSetHeadless(true);
  const std::string name = DumpStart(argv[1], "modeldump");
  ModelInit();
  GraphicsInit();
  const int status = Dump(name, argv[2]);
  GraphicsFinal();
  ModelFinal();
  DumpStop();
  return status;
}

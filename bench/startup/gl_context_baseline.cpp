// The cost a headless run cannot avoid: SDL's offscreen video, a hidden 1280 x 720 window with
// the framework's pixel format and a compatibility OpenGL context on it (Mesa's software
// renderer), the two offscreen framebuffers a headless window draws into (colour and
// depth-stencil, each cleared), one finished frame, and the clean-up. startup.sh runs it next to
// the game's own start-up to compare the two in the same run.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

template <typename Function>
Function Load(const char* name) {
  return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("LP_NUM_THREADS", "0", 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window =
      SDL_CreateWindow("baseline", 0, 0, kWidth, kHeight,
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr) {
    std::fprintf(stderr, "OpenGL context: %s\n", SDL_GetError());
    return 1;
  }
  const auto genFramebuffers = Load<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
  const auto bindFramebuffer = Load<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
  const auto genRenderbuffers = Load<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
  const auto bindRenderbuffer = Load<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
  const auto renderbufferStorage = Load<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
  const auto framebufferRenderbuffer =
      Load<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
  // OpenGL is reached through SDL, as the framework does, not linked.
  const auto clear = Load<void(APIENTRY*)(GLbitfield)>("glClear");
  const auto finish = Load<void(APIENTRY*)()>("glFinish");
  if (genFramebuffers == nullptr || genRenderbuffers == nullptr || clear == nullptr ||
      finish == nullptr) {
    std::fprintf(stderr, "no framebuffer objects\n");
    return 1;
  }
  GLuint framebuffers[2], colour[2], depth[2];
  genFramebuffers(2, framebuffers);
  genRenderbuffers(2, colour);
  genRenderbuffers(2, depth);
  for (int i = 0; i < 2; ++i) {
    bindRenderbuffer(GL_RENDERBUFFER, colour[i]);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
    bindRenderbuffer(GL_RENDERBUFFER, depth[i]);
    renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kWidth, kHeight);
    bindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour[i]);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth[i]);
    clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
  finish();
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

// The few POSIX and glibc calls the tests and fuzz replays use, on the Windows C runtime.
// Included before every test and replay source of the Windows build (cmake/Windows.cmake), so
// the sources stay as they are written for Linux.
#pragma once

#include <direct.h>
#include <fenv.h>
#include <float.h>
#include <io.h>
#include <process.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && getenv(name) != nullptr) return 0;
  return _putenv_s(name, value) == 0 ? 0 : -1;
}

// std::filesystem paths are wide on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
  if (!overwrite && getenv(name) != nullptr) return 0;
  wchar_t wideName[256] = {};
  if (mbstowcs(wideName, name, 255) == static_cast<size_t>(-1)) return -1;
  return _wputenv_s(wideName, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) { return _putenv_s(name, "") == 0 ? 0 : -1; }

// A new folder named after the template (its last six characters "XXXXXX" replaced).
inline char* mkdtemp(char* pattern) {
  if (_mktemp_s(pattern, strlen(pattern) + 1) != 0) return nullptr;
  return _mkdir(pattern) == 0 ? pattern : nullptr;
}

#define popen _popen
#define pclose _pclose
// _pclose gives the exit code itself.
#define WIFEXITED(status) ((status) != -1)
#define WEXITSTATUS(status) (status)

// The program's file name without its folder, as glibc names it.
inline const char* SanguorProgramShortName() {
  const char* path = _pgmptr != nullptr ? _pgmptr : "";
  const char* name = path;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '\\' || *c == '/') name = c + 1;
  }
  return name;
}
#define program_invocation_short_name SanguorProgramShortName()

// Floating-point traps, in glibc's FE_ bits, through the control word's exception masks.
inline unsigned int SanguorTrapMask(int excepts) {
  unsigned int mask = 0;
  if (excepts & FE_INVALID) mask |= _EM_INVALID;
  if (excepts & FE_DIVBYZERO) mask |= _EM_ZERODIVIDE;
  if (excepts & FE_OVERFLOW) mask |= _EM_OVERFLOW;
  if (excepts & FE_UNDERFLOW) mask |= _EM_UNDERFLOW;
  if (excepts & FE_INEXACT) mask |= _EM_INEXACT;
  return mask;
}

inline int feenableexcept(int excepts) {
  unsigned int current = 0;
  _controlfp_s(&current, 0, 0);
  _controlfp_s(&current, current & ~SanguorTrapMask(excepts), _MCW_EM);
  return 0;
}

inline int fegetexcept() {
  unsigned int current = 0;
  _controlfp_s(&current, 0, 0);
  int enabled = 0;
  const int all[] = {FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW, FE_UNDERFLOW, FE_INEXACT};
  for (int except : all) {
    if ((current & SanguorTrapMask(except)) == 0) enabled |= except;
  }
  return enabled;
}

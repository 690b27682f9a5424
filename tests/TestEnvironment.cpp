// Linked into every test program: the environment the tests run in, set before main. CTest's
// ENVIRONMENT property keeps only the first of several variables when the tests are discovered
// from the program, so the rest are set here, where running a test program by hand gets them too.
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace {

struct testEnvironment {
  testEnvironment() {
    // Mesa's software rasteriser even where a GPU exists, so pixels are the same everywhere.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    // OpenAL Soft's null output: a device that mixes and discards, on any machine.
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The rasteriser's own threads, which a headless program would otherwise leave out (the
    // pictures are the same): LeakSanitizer's thread tracer crashes at exit in some test
    // programs whose drawing ran in their own thread.
    setenv("LP_NUM_THREADS", "2", 0);
#ifdef _WIN32
    // The sound libraries lie beside the test programs, but the tests hand the framework a
    // program folder of their own, so the real one goes first on PATH, which the library search
    // reads after the system folders (as it finds the system's libraries on Linux).
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = std::string(program, length);
    const size_t slash = path.find_last_of("\\/");
    if (length > 0 && length < MAX_PATH && slash != std::string::npos) {
      const char* search = getenv("PATH");
      setenv("PATH", (path.substr(0, slash) + ";" + (search != nullptr ? search : "")).c_str(), 1);
    }
#endif
  }
};

const testEnvironment environment;

}  // namespace

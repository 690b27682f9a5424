// Linked into every test program: the environment the tests run in, set before main. CTest's
// ENVIRONMENT property keeps only the first of several variables when the tests are discovered
// from the program, so the rest are set here, where running a test program by hand gets them too.
#include <cstdlib>

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
  }
};

const testEnvironment environment;

}  // namespace

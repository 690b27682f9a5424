// Backend-internal: the command line as every backend reads it at start-up.
#pragma once

#include <string>

// Stores the parameters (without the program path) and applies the backend switches the
// contract names: "-headless" through PlatformSetHeadless, "-tick N" through the virtual clock.
void PlatformStoreCommandLine(int argc, char** argv);

// Each backend: the running program's path as the system gives it ("" when it cannot tell).
// PlatformExecutablePath asks it once, unless a test or tool has set the path first.
std::string PlatformSystemExecutablePath();

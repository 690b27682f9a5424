// Backend-internal: the command line as every backend reads it at start-up.
#pragma once

// Stores the parameters (without the program path) and applies the backend switches the
// contract names: "-headless" through PlatformSetHeadless, "-tick N" through the virtual clock.
void PlatformStoreCommandLine(int argc, char** argv);

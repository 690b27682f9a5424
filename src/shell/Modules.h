// The framework's modules start in one fixed order and stop in the reverse order. This is the
// only place that holds the order; a new module is added to the list in Modules.cpp.
#pragma once

// Starts every module, first to last.
void ModulesInit();
// Stops the started modules, last to first. Does nothing when none is started.
void ModulesFinal();

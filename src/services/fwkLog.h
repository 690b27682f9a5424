// The run's log file: errors, informational lines, the start-up block, module versions,
// call tracing, elapsed-time measurements and memory usage. Every line is written with its
// own open-append-close so that nothing is lost if the program dies.
//
// A log cannot fill the disk: after ten copies of one line in a row, further copies are counted
// and reported as "... the last line was repeated N times" when another line comes or the program
// ends; and one run's log holds at most kLogLimitBytes, the last line saying that later lines
// were left out and, at the end of the program, how many.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kLogLimitBytes = 8 * 1024 * 1024;

// Sets the log up for this run (fresh file). Modules started before the log write through
// it, which sets it up on first use; the first LogInit of the run then keeps their lines.
void LogInit();
void LogWrite(const std::string& text);
// Writes "Error: " followed by the text.
void LogError(const std::string& text);
// Writes the text followed by the process's working-set size.
void LogMemory(const std::string& text);
// Text of the calling thread's last system error (writes nothing).
std::string LogWindowsError();
void LogTimerStart(const std::string& name);
// Reports and closes every timing down to and including the named one.
void LogTimerStop(const std::string& name);
void LogTraceBegin(const std::string& name);
void LogTraceEnd(const std::string& name);
// With "-ver": the versions header once, then the text.
void LogVersionAdd(const std::string& text);
std::string LogFileName();
// Folder of the log file, ending in a separator when not empty.
std::string LogFolder();
void LogSetFolder(const std::string& folder);
void LogSetFileName(const std::string& name);
// Writes the start-up block unless it was written (or attempted) already.
void LogStartInfoWrite();

// What the dump tools share: the named file's folder becomes the data folder, so the file is
// read exactly as the program reads its content, and the log is written to a temporary folder
// of the tool's own, so that the user's log of the game is left alone.
#pragma once

#include <string>

// Starts the utilities, data files and log for the file at path; returns the file's name
// relative to the data folder.
std::string DumpStart(const std::string& path, const std::string& tool);
// Writes every error line of the log to standard error without its "Error: " prefix; returns
// how many there were.
int DumpReportErrors();
// Closes the data files and removes the log's folder.
void DumpStop();

// The commands of the qza tool. Each returns the process exit code and reports failures as
// one line on stderr.
#pragma once

#include <string>

int QzaPack(const std::string& folder, const std::string& archivePath);
int QzaList(const std::string& archivePath);
int QzaExtract(const std::string& archivePath, const std::string& folder);
int QzaCat(const std::string& dataFolder, const std::string& name);

// Writes "qza: MESSAGE" to stderr and gives the exit code of a failed command.
int QzaFail(const std::string& message);

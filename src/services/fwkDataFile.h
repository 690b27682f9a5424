// Data files: the only way the program reads its content. A caller names a file by a relative
// path (folders separated by `\`) and gets a handle; the bytes come from a file preloaded into
// memory, an entry of a "*.qza" archive in the data folder, or a plain file on disk, and the
// numbered "PATCH" + six digits folders (on disk or inside archives) override all of them.
// Reading is sequential through a per-handle read-ahead buffer. The module never writes.
#pragma once

#include <cstdint>
#include <string>

// Resets the module: closes everything, fixes the data folder (UtilAppFolder), scans the
// archives and patch folders found there. Reads "-logLow" from the command line.
void DataFileInit();

// Handle above 0, or 0 when the file is found nowhere or cannot be opened.
int32_t DataFileOpen(const std::string& name);
// True exactly when count bytes were read; a short read still delivers what was there.
bool DataFileRead(int32_t handle, void* destination, int32_t count);
// Number of bytes read, 0 to count.
int32_t DataFileReadPartial(int32_t handle, void* destination, int32_t count);
// The next line without its line end: CR ends a line, LF bytes are dropped wherever they occur.
std::string DataFileReadLine(int32_t handle);
// Positions at a byte counted from the start. Seeking past the end succeeds (reads then deliver
// nothing); a negative position is refused.
bool DataFileSeek(int32_t handle, int32_t position);
// Current position, or -1 for a handle that is not open.
int32_t DataFilePosition(int32_t handle);
// Size in bytes, or 0 for a handle that is not open.
int32_t DataFileSize(int32_t handle);
// True when no more bytes can be read, and for a handle that is not open.
bool DataFileEof(int32_t handle);
// Handles that are not open are ignored.
void DataFileClose(int32_t handle);

// Holds the (patch-resolved) file in memory; DataFileOpen of exactly that resolved name then
// reads from memory until DataFileMemoryFree, which also closes the handles reading it.
bool DataFileMemoryLoad(const std::string& name);
void DataFileMemoryFree(const std::string& name);

// The name DataFileOpen would look for: "PATCHnnnnnn\" + name for the highest patch holding
// the name on disk or in an archive, else the name unchanged.
std::string DataFileResolveName(const std::string& name);

// Closes every handle and frees every memory file (at shutdown).
void DataFileCloseAll();

// Whether a library file can be found: the name as passed, then each folder of the platform's
// library search list. Nothing is loaded.
bool UtilLibraryExists(const std::string& fileName);

#include "services/fwkDataFile.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/platform_system.h"
#include "services/fwkDataFileArchive.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

constexpr int32_t bufferSize = 4096;
constexpr int32_t refillBelow = 2048;

struct archiveInfo {
  std::string name;  // upper case, without folder
  std::string path;  // the file as it exists on disk
  int32_t openCount = 0;
  std::FILE* file = nullptr;  // open exactly while openCount > 0
  // Where the shared file position stands after this module's last seek or read, -1 when
  // unknown (after a failed or short read).
  int64_t filePosition = -1;
};

struct archiveFileInfo {
  std::string name;  // upper case
  int32_t archive;
  int32_t size;
  int32_t offset;
};

struct memoryFile {
  std::string name;  // the resolved name it was loaded under, case kept
  std::vector<uint8_t> data;
  int32_t size;
};

struct openFileInfo {
  int32_t id = 0;
  int32_t archive = -1;
  int32_t memory = -1;
  int32_t position = 0;
  int32_t size = 0;
  // Archive entries: where the entry's data starts and the next byte to buffer, both absolute
  // in the archive file. 64-bit so that start + position cannot overflow.
  int64_t start = 0;
  int64_t archivePosition = 0;
  // Disk files: the file, where the next read lands and where the file ends.
  std::FILE* file = nullptr;
  int64_t filePosition = 0;
  int64_t fileEnd = 0;
  // Valid bytes are buffer[head, head + buffered): keeping a head index instead of moving the
  // rest to the front after every take delivers the same bytes without the copying.
  std::array<uint8_t, bufferSize> buffer;
  int32_t head = 0;
  int32_t buffered = 0;
};

struct moduleState {
  bool logLow = false;
  std::string dataFolder;
  std::vector<archiveInfo> archives;
  std::vector<archiveFileInfo> directory;
  // Upper-case entry name to its first entry in directory order: the same answer as a
  // linear scan, without the scan.
  std::unordered_map<std::string, size_t> directoryIndex;
  std::vector<memoryFile> memoryFiles;
  utilArrayString patches;  // "PATCHnnnnnn", highest first
  std::vector<std::unique_ptr<openFileInfo>> handles;
  int32_t nextId = 1;
};

moduleState dataFiles;

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool endsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::string joinPath(const std::string& folder, const std::string& name) {
  return endsWithSeparator(folder) ? folder + name : folder + PlatformPathSeparator() + name;
}

// The existing regular file a content path names, matched without regard to case; "" when
// there is none (a folder is not a file).
std::string findFile(const std::string& path) {
  std::string found = PlatformFindPath(path);
  if (found.empty() || PlatformDirectoryExists(found)) return "";
  return found;
}

bool isAbsolute(const std::string& name) {
  if (PlatformPathSeparator() == '/' && !name.empty() && name[0] == '/') return true;
  if (name.size() < 2) return false;
  return name.find(':') != std::string::npos || name.compare(0, 2, "\\\\") == 0 ||
         name.compare(0, 2, "//") == 0;
}

std::FILE* openForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  // Every handle buffers for itself; the C library's own buffer would only copy twice and
  // turn every archive seek into a buffer flush.
  if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

// The disk file's current size, measured on the open file (so that it holds even for a file
// removed from its folder while open); the file position is put back afterwards.
int64_t diskFileSize(openFileInfo& handle) {
  if (std::fseek(handle.file, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(handle.file);
  std::fseek(handle.file, static_cast<long>(handle.filePosition), SEEK_SET);
  return size < 0 ? 0 : static_cast<int64_t>(size);
}

openFileInfo* findHandle(int32_t id) {
  for (auto& handle : dataFiles.handles) {
    if (handle->id == id) return handle.get();
  }
  return nullptr;
}

int32_t findMemoryFile(const std::string& resolved) {
  for (size_t i = 0; i < dataFiles.memoryFiles.size(); ++i) {
    if (dataFiles.memoryFiles[i].name == resolved) return static_cast<int32_t>(i);
  }
  return -1;
}

openFileInfo& newHandle() {
  dataFiles.handles.push_back(std::make_unique<openFileInfo>());
  openFileInfo& handle = *dataFiles.handles.back();
  handle.id = dataFiles.nextId++;
  return handle;
}

void closeHandleAt(size_t index) {
  openFileInfo& handle = *dataFiles.handles[index];
  if (handle.file != nullptr) std::fclose(handle.file);
  if (handle.archive >= 0) {
    archiveInfo& archive = dataFiles.archives[static_cast<size_t>(handle.archive)];
    if (--archive.openCount == 0) {
      std::fclose(archive.file);
      archive.file = nullptr;
    }
  }
  dataFiles.handles.erase(dataFiles.handles.begin() + static_cast<std::ptrdiff_t>(index));
}

void findArchives(const std::string& folder) {
  for (const std::string& name : PlatformListFolder(folder)) {
    const std::string upperName = upper(name);
    if (upperName.size() >= 4 && upperName.compare(upperName.size() - 4, 4, ".QZA") == 0) {
      dataFiles.archives.push_back({upperName, joinPath(folder, name), 0, nullptr});
    }
  }
  // Byte order of the upper-case names; the real name only breaks ties between names that
  // differ in case, which a case-sensitive file system allows.
  std::sort(dataFiles.archives.begin(), dataFiles.archives.end(),
            [](const archiveInfo& a, const archiveInfo& b) {
              return a.name != b.name ? a.name < b.name : a.path < b.path;
            });
}

void readDirectories() {
  for (size_t index = 0; index < dataFiles.archives.size(); ++index) {
    const archiveDirectoryInfo info = DataFileArchiveReadDirectory(dataFiles.archives[index].path);
    for (const archiveEntryInfo& entry : info.entries) {
      // An entry whose data is not wholly inside the archive cannot be read; leaving it out
      // lets the same name come from a later archive or the disk.
      if (!entry.inside) continue;
      dataFiles.directory.push_back({upper(entry.name), static_cast<int32_t>(index),
                                     static_cast<int32_t>(entry.size),
                                     static_cast<int32_t>(entry.offset)});
      dataFiles.directoryIndex.emplace(dataFiles.directory.back().name,
                                       dataFiles.directory.size() - 1);
    }
  }
}

void addPatch(const std::string& patch) {
  if (std::find(dataFiles.patches.begin(), dataFiles.patches.end(), patch) ==
      dataFiles.patches.end()) {
    dataFiles.patches.push_back(patch);
  }
}

bool isPatchNumber(const std::string& name) {
  return name.size() >= 11 && name.compare(0, 5, "PATCH") == 0 &&
         UtilIsPositiveInteger(name.substr(5, 6));
}

void findPatches(const std::string& folder) {
  for (const std::string& name : PlatformListFolder(folder)) {
    const std::string upperName = upper(name);
    if (upperName.size() == 11 && isPatchNumber(upperName)) addPatch(upperName);
  }
  for (const archiveFileInfo& entry : dataFiles.directory) {
    if (entry.name.size() >= 12 && (entry.name[11] == '\\' || entry.name[11] == '/') &&
        isPatchNumber(entry.name)) {
      addPatch(entry.name.substr(0, 11));
    }
  }
  UtilSortStringsDescending(dataFiles.patches);
}

void closeEverything() {
  while (!dataFiles.handles.empty()) closeHandleAt(dataFiles.handles.size() - 1);
  dataFiles.memoryFiles.clear();
}

// Reads up to count bytes of the handle's source (disk file or archive entry) that follow
// what has been buffered. A read error counts as no bytes; it also ends the file, so that a
// source that stops delivering cannot keep a reader waiting.
int32_t readSource(openFileInfo& handle, uint8_t* destination, int32_t count) {
  if (handle.archive >= 0) {
    const int64_t available = handle.start + handle.size - handle.archivePosition;
    if (available <= 0) return 0;
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(count, available));
    archiveInfo& archive = dataFiles.archives[static_cast<size_t>(handle.archive)];
    // Many handles share the archive's one file position, so every read first puts it where
    // this handle left off. Only this module moves it, so when it already stands there (one
    // handle reading on) the seek is left out: a system call saved, the same bytes read.
    if (archive.filePosition != handle.archivePosition) {
      if (std::fseek(archive.file, static_cast<long>(handle.archivePosition), SEEK_SET) != 0) {
        archive.filePosition = -1;
        return 0;
      }
      archive.filePosition = handle.archivePosition;
    }
    const size_t got = std::fread(destination, 1, wanted, archive.file);
    archive.filePosition = got == wanted ? archive.filePosition + static_cast<int64_t>(got) : -1;
    handle.archivePosition += static_cast<int64_t>(got);
    return static_cast<int32_t>(got);
  }
  if (handle.filePosition >= handle.fileEnd) return 0;
  const size_t wanted = static_cast<size_t>(count);
  const size_t got = std::fread(destination, 1, wanted, handle.file);
  handle.filePosition += static_cast<int64_t>(got);
  if (got < wanted || handle.filePosition > handle.fileEnd) handle.fileEnd = handle.filePosition;
  return static_cast<int32_t>(got);
}

void refill(openFileInfo& handle) {
  if (handle.buffered >= refillBelow) return;
  if (handle.head > 0) {
    std::memmove(handle.buffer.data(), handle.buffer.data() + handle.head,
                 static_cast<size_t>(handle.buffered));
    handle.head = 0;
  }
  handle.buffered +=
      readSource(handle, handle.buffer.data() + handle.buffered, bufferSize - handle.buffered);
}

int32_t takeBuffered(openFileInfo& handle, uint8_t* destination, int32_t count) {
  const int32_t take = std::min(count, handle.buffered);
  std::memcpy(destination, handle.buffer.data() + handle.head, static_cast<size_t>(take));
  handle.head += take;
  handle.buffered -= take;
  return take;
}

bool atEnd(const openFileInfo& handle) {
  if (handle.memory >= 0) {
    return handle.position >= dataFiles.memoryFiles[static_cast<size_t>(handle.memory)].size;
  }
  if (handle.buffered > 0) return false;
  if (handle.archive >= 0) return handle.position >= handle.size;
  return handle.filePosition >= handle.fileEnd;
}

int32_t readPartial(openFileInfo& handle, uint8_t* destination, int32_t count) {
  // The position is 32-bit: never deliver bytes it could not count.
  count = std::min(count, INT32_MAX - handle.position);
  if (count <= 0) return 0;
  if (handle.memory >= 0) {
    const memoryFile& memory = dataFiles.memoryFiles[static_cast<size_t>(handle.memory)];
    const int32_t n =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{memory.size} - handle.position, 0, count));
    if (n > 0)
      std::memcpy(destination, memory.data.data() + handle.position, static_cast<size_t>(n));
    handle.position += n;
    return n;
  }
  int32_t delivered = 0;
  while (delivered < count) {
    const int32_t remaining = count - delivered;
    int32_t got;
    if (handle.buffered == 0 && remaining >= bufferSize) {
      // A remainder of a whole buffer or more goes straight to the caller: the bytes, the
      // position and the end state are the same as through the buffer, one copy fewer.
      got = readSource(handle, destination + delivered, remaining);
    } else {
      refill(handle);
      got = takeBuffered(handle, destination + delivered, remaining);
    }
    if (got == 0) break;
    delivered += got;
    handle.position += got;
    if (atEnd(handle)) break;
  }
  return delivered;
}

// Appends bytes to the line up to the first CR, dropping LF bytes. Returns how many bytes
// were used, the CR included; ended tells whether a CR was found.
int32_t scanLine(const uint8_t* bytes, int32_t count, std::string& line, bool& ended) {
  const auto* cr = static_cast<const uint8_t*>(std::memchr(bytes, 13, static_cast<size_t>(count)));
  ended = cr != nullptr;
  const uint8_t* end = ended ? cr : bytes + count;
  for (const uint8_t* from = bytes; from < end;) {
    const auto* lf =
        static_cast<const uint8_t*>(std::memchr(from, 10, static_cast<size_t>(end - from)));
    const uint8_t* stop = lf != nullptr ? lf : end;
    line.append(reinterpret_cast<const char*>(from), static_cast<size_t>(stop - from));
    from = stop + (lf != nullptr ? 1 : 0);
  }
  return static_cast<int32_t>(end - bytes) + (ended ? 1 : 0);
}

}  // namespace

void DataFileInit() {
  closeEverything();
  dataFiles = moduleState{};
  dataFiles.logLow = UtilCommandLineHas("-logLow");
  LogVersionAdd("fwkDataFile - Version 1.0");
  dataFiles.dataFolder = UtilAppFolder();
  const std::string folder = PlatformFindPath(dataFiles.dataFolder);
  if (folder.empty()) return;
  findArchives(folder);
  readDirectories();
  findPatches(folder);
}

std::string DataFileResolveName(const std::string& name) {
  for (const std::string& patch : dataFiles.patches) {
    std::string candidate = patch + '\\' + name;
    if (!findFile(dataFiles.dataFolder + candidate).empty() ||
        dataFiles.directoryIndex.count(upper(candidate)) > 0) {
      return candidate;
    }
  }
  return name;
}

int32_t DataFileOpen(const std::string& name) {
  const std::string resolved = DataFileResolveName(name);

  const int32_t memory = findMemoryFile(resolved);
  if (memory >= 0) {
    openFileInfo& handle = newHandle();
    handle.memory = memory;
    handle.size = dataFiles.memoryFiles[static_cast<size_t>(memory)].size;
    return handle.id;
  }

  const auto entry = dataFiles.directoryIndex.find(upper(resolved));
  if (entry != dataFiles.directoryIndex.end()) {
    const archiveFileInfo& info = dataFiles.directory[entry->second];
    archiveInfo& archive = dataFiles.archives[static_cast<size_t>(info.archive)];
    openFileInfo& handle = newHandle();
    if (archive.openCount == 0) {
      archive.file = openForReading(archive.path);
      archive.filePosition = -1;
    }
    if (archive.file != nullptr) {
      ++archive.openCount;
      handle.archive = info.archive;
      handle.size = info.size;
      handle.start = info.offset;
      handle.archivePosition = info.offset;
      return handle.id;
    }
    dataFiles.handles.pop_back();
  }

  const std::string path =
      findFile(isAbsolute(resolved) ? resolved : dataFiles.dataFolder + resolved);
  if (path.empty()) return 0;
  openFileInfo& handle = newHandle();
  handle.file = openForReading(path);
  if (handle.file == nullptr) {
    dataFiles.handles.pop_back();
    return 0;
  }
  handle.fileEnd = diskFileSize(handle);
  if (dataFiles.logLow) LogWrite("File \"" + resolved + "\" read from disk.");
  return handle.id;
}

int32_t DataFileReadPartial(int32_t handle, void* destination, int32_t count) {
  openFileInfo* info = findHandle(handle);
  if (info == nullptr) return 0;
  return readPartial(*info, static_cast<uint8_t*>(destination), count);
}

bool DataFileRead(int32_t handle, void* destination, int32_t count) {
  return DataFileReadPartial(handle, destination, count) == count;
}

std::string DataFileReadLine(int32_t handle) {
  std::string line;
  openFileInfo* info = findHandle(handle);
  if (info == nullptr) return line;
  for (;;) {
    // Scan whole runs of bytes that byte-by-byte reads would take without a refill: from
    // memory all that is left, from a buffer everything above the refill mark.
    const uint8_t* bytes;
    int64_t run;
    if (info->memory >= 0) {
      const memoryFile& memory = dataFiles.memoryFiles[static_cast<size_t>(info->memory)];
      run = int64_t{memory.size} - info->position;
      bytes = memory.data.data() + std::min(info->position, memory.size);
    } else {
      run = info->buffered - refillBelow + 1;
      bytes = info->buffer.data() + info->head;
    }
    run = std::min<int64_t>(run, INT32_MAX - info->position);
    if (run > 0) {
      bool ended;
      const int32_t used = scanLine(bytes, static_cast<int32_t>(run), line, ended);
      if (info->memory < 0) {
        info->head += used;
        info->buffered -= used;
      }
      info->position += used;
      if (ended) return line;
      continue;
    }
    uint8_t byte;
    if (readPartial(*info, &byte, 1) != 1 || byte == 13) return line;
    if (byte != 10) line.push_back(static_cast<char>(byte));
  }
}

bool DataFileSeek(int32_t handle, int32_t position) {
  openFileInfo* info = findHandle(handle);
  // A negative position would read before the data: memory before its first byte, an archive
  // entry from the entries stored before it.
  if (info == nullptr || position < 0) return false;
  if (info->archive >= 0) {
    info->archivePosition = info->start + position;
  } else if (info->memory < 0) {
    if (std::fseek(info->file, static_cast<long>(position), SEEK_SET) != 0) return false;
    info->filePosition = position;
    info->fileEnd = diskFileSize(*info);
  }
  info->head = 0;
  info->buffered = 0;
  info->position = position;
  return true;
}

int32_t DataFilePosition(int32_t handle) {
  const openFileInfo* info = findHandle(handle);
  return info == nullptr ? -1 : info->position;
}

int32_t DataFileSize(int32_t handle) {
  openFileInfo* info = findHandle(handle);
  if (info == nullptr) return 0;
  if (info->memory >= 0 || info->archive >= 0) return info->size;
  return static_cast<int32_t>(std::min<int64_t>(diskFileSize(*info), INT32_MAX));
}

bool DataFileEof(int32_t handle) {
  const openFileInfo* info = findHandle(handle);
  return info == nullptr || atEnd(*info);
}

void DataFileClose(int32_t handle) {
  for (size_t i = 0; i < dataFiles.handles.size(); ++i) {
    if (dataFiles.handles[i]->id == handle) {
      closeHandleAt(i);
      return;
    }
  }
}

bool DataFileMemoryLoad(const std::string& name) {
  const std::string resolved = DataFileResolveName(name);
  if (findMemoryFile(resolved) >= 0) return true;
  const int32_t handle = DataFileOpen(resolved);
  if (handle == 0) return false;
  memoryFile memory{resolved, {}, DataFileSize(handle)};
  bool loaded = false;
  try {
    memory.data.resize(static_cast<size_t>(memory.size));
    loaded = DataFileRead(handle, memory.data.data(), memory.size);
  } catch (const std::bad_alloc&) {
    loaded = false;
  }
  DataFileClose(handle);
  if (loaded) dataFiles.memoryFiles.push_back(std::move(memory));
  return loaded;
}

void DataFileMemoryFree(const std::string& name) {
  const int32_t memory = findMemoryFile(DataFileResolveName(name));
  if (memory < 0) return;
  for (size_t i = dataFiles.handles.size(); i-- > 0;) {
    if (dataFiles.handles[i]->memory == memory) {
      closeHandleAt(i);
    } else if (dataFiles.handles[i]->memory > memory) {
      --dataFiles.handles[i]->memory;
    }
  }
  dataFiles.memoryFiles.erase(dataFiles.memoryFiles.begin() + memory);
}

void DataFileCloseAll() { closeEverything(); }

bool UtilLibraryExists(const std::string& fileName) {
  if (fileName.empty()) return false;
  if (PlatformFileExists(fileName)) return true;
  for (const std::string& folder : PlatformLibrarySearchList()) {
    if (folder.empty()) continue;
    const bool joined = endsWithSeparator(folder) || folder.back() == ':';
    if (PlatformFileExists(joined ? folder + fileName
                                  : folder + PlatformPathSeparator() + fileName)) {
      return true;
    }
  }
  return false;
}

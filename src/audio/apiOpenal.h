// The OpenAL binding: the library is found at run time and every entry point is resolved by
// name into `al`, so no OpenAL library or header is needed to build the program.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_calling.h"

using ALboolean = char;
using ALchar = char;
using ALint = int32_t;
using ALuint = uint32_t;
using ALsizei = int32_t;
using ALenum = int32_t;
using ALfloat = float;
using ALdouble = double;
using ALvoid = void;
using ALCboolean = char;
using ALCchar = char;
using ALCint = int32_t;
using ALCsizei = int32_t;
using ALCenum = int32_t;
struct ALCdevice;
struct ALCcontext;

constexpr ALenum AL_NONE = 0;
constexpr ALenum AL_LOOPING = 0x1007;
constexpr ALenum AL_BUFFER = 0x1009;
constexpr ALenum AL_GAIN = 0x100A;
constexpr ALenum AL_SOURCE_STATE = 0x1010;
constexpr ALenum AL_INITIAL = 0x1011;
constexpr ALenum AL_PLAYING = 0x1012;
constexpr ALenum AL_PAUSED = 0x1013;
constexpr ALenum AL_STOPPED = 0x1014;
constexpr ALenum AL_BUFFERS_QUEUED = 0x1015;
constexpr ALenum AL_BUFFERS_PROCESSED = 0x1016;
constexpr ALenum AL_SOURCE_RELATIVE = 0x202;
constexpr ALenum AL_FORMAT_MONO8 = 0x1100;
constexpr ALenum AL_FORMAT_MONO16 = 0x1101;
constexpr ALenum AL_FORMAT_STEREO8 = 0x1102;
constexpr ALenum AL_FORMAT_STEREO16 = 0x1103;
constexpr ALenum AL_INVALID_NAME = 0xA001;
constexpr ALenum AL_INVALID_ENUM = 0xA002;
constexpr ALenum AL_INVALID_VALUE = 0xA003;
constexpr ALenum AL_INVALID_OPERATION = 0xA004;
constexpr ALenum AL_OUT_OF_MEMORY = 0xA005;

struct alEntryPoints {
// A type and a parameter list cannot take parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define SANGUOR_AL_ENTRY(result, name, parameters) result(SANGUOR_ALAPI* name) parameters;
// NOLINTEND(bugprone-macro-parentheses)
#include "audio/apiOpenalEntries.h"
#undef SANGUOR_AL_ENTRY
};

// Entries the library does not export stay empty (nullptr); callers check before calling.
extern alEntryPoints al;

// Releases a library loaded before, loads the named one and resolves every entry, asking the
// library's alGetProcAddress first and the system loader when that gives nothing. False when the
// library cannot be loaded.
bool OpenalLoad(const std::string& libraryName);
// Empties the table and releases the library (module finalisation).
void OpenalFree();
// Opens the default device and makes a new context on it current. False when no device opens.
bool OpenalDeviceOpen();
// Destroys the current context and closes its device.
void OpenalDeviceClose();
int32_t OpenalResolvedCount();

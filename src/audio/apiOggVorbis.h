// The Ogg Vorbis binding: libogg, libvorbis and libvorbisfile are found at run time and the
// decoder functions the audio module uses are resolved by name into `ov`. Only the library's
// types come from its header; nothing is linked.
#pragma once

#include <string>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

struct ovEntryPoints {
  int (*ov_open_callbacks)(void* source, OggVorbis_File* file, const char* initial,
                           long initialBytes, ov_callbacks callbacks);
  int (*ov_clear)(OggVorbis_File* file);
  long (*ov_read)(OggVorbis_File* file, char* buffer, int length, int bigEndian, int wordSize,
                  int isSigned, int* bitstream);
  vorbis_info* (*ov_info)(OggVorbis_File* file, int link);
  int (*ov_raw_seek)(OggVorbis_File* file, ogg_int64_t position);
};

extern ovEntryPoints ov;

// Loads the libraries in the order given (each one's dependencies first) and resolves the
// entries from the last. False, with everything released, when one is missing.
bool OggVorbisLoad(const std::vector<std::string>& libraryNames);
void OggVorbisFree();

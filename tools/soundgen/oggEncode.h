// Ogg Vorbis encoding through libvorbisenc: mono or interleaved stereo floating-point samples
// in, the bytes of an .ogg file out. The stream's serial number is fixed by the caller, so the
// same samples always give the same bytes.
#pragma once

#include <cstdint>
#include <vector>

// quality: libvorbisenc's VBR quality, -0.1 to 1. Empty when the encoder refuses the settings.
std::vector<uint8_t> OggEncode(const std::vector<float>& samples, int32_t channels, int32_t rate,
                               float quality, int32_t serial);

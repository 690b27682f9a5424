#include "oggEncode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

void Append(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished block through the encoder into pages.
void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
           std::vector<uint8_t>& out) {
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      ogg_page page;
      while (ogg_stream_pageout(&stream, &page) != 0) Append(out, page);
    }
  }
}

}  // namespace

std::vector<uint8_t> OggEncode(const std::vector<float>& samples, int32_t channels, int32_t rate,
                               float quality, int32_t serial) {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels < 1 || vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "Sanguor soundgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet header;
  ogg_packet commentHeader;
  ogg_packet codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  // The headers get pages of their own, so decoding can start at the first audio page.
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  const size_t frames = samples.size() / static_cast<size_t>(channels);
  constexpr size_t kChunk = 4096;
  for (size_t done = 0; done < frames; done += kChunk) {
    const size_t count = std::min(kChunk, frames - done);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
      for (int32_t c = 0; c < channels; ++c)
        buffer[c][i] = samples[(done + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)];
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    Drain(dsp, block, stream, out);
  }
  vorbis_analysis_wrote(&dsp, 0);
  Drain(dsp, block, stream, out);
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

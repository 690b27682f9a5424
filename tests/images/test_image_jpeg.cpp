// JPEG: the reader's arithmetic checked exactly on files coded here, and against libjpeg-turbo's
// djpeg on files ImageMagick and libjpeg-turbo wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "imageTestSupport.h"
#include "images/jpgColourWide.h"
#include "images/jpgIdct.h"
#include "images/jpgTables.h"
#include "jpegTestEncoder.h"

namespace {

JpegTestSpec ColourSpec(int width, int height, int lumaH, int lumaV) {
  JpegTestSpec spec;
  spec.width = width;
  spec.height = height;
  spec.components = {{1, lumaH, lumaV, 0}, {2, 1, 1, 1}, {3, 1, 1, 1}};
  std::mt19937 random(99);
  for (auto& table : spec.quant)
    for (uint16_t& q : table) q = static_cast<uint16_t>(1 + random() % 24);
  return spec;
}

size_t BlockCount(const JpegTestSpec& spec) {
  int hMax = 1, vMax = 1, perMcu = 0;
  for (const JpegTestComponent& c : spec.components) {
    hMax = std::max(hMax, c.h);
    vMax = std::max(vMax, c.v);
    perMcu += c.h * c.v;
  }
  const int mcus =
      (spec.width + 8 * hMax - 1) / (8 * hMax) * ((spec.height + 8 * vMax - 1) / (8 * vMax));
  return static_cast<size_t>(mcus * perMcu);
}

std::vector<JpegBlock> RandomBlocks(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<JpegBlock> blocks(count);
  for (JpegBlock& block : blocks) {
    block.fill(0);
    block[0] = static_cast<int>(random() % 41) - 20;
    const int used = static_cast<int>(random() % 40);
    for (int i = 0; i < used; ++i) {
      const int k = 1 + static_cast<int>(random() % 63);
      block[k] = static_cast<int>(random() % 61) - 30;
    }
  }
  return blocks;
}

void ExpectExact(const JpegTestSpec& spec, unsigned seed, const char* what) {
  const std::vector<JpegBlock> blocks = RandomBlocks(BlockCount(spec), seed);
  imageData* image = DecodeBytes("x.jpg", JpegTestEncode(spec, blocks));
  EXPECT_EQ(image->width, spec.width) << what;
  EXPECT_EQ(image->height, spec.height) << what;
  EXPECT_EQ(image->error, 0) << what;
  const std::vector<uint32_t> expected = JpegTestExpected(spec, blocks);
  int wrong = 0;
  for (size_t i = 0; i < expected.size() && i < image->pixels.size(); ++i)
    wrong += image->pixels[i] != expected[i];
  EXPECT_EQ(wrong, 0) << what;
  ImageFree(image);
}

double PsnrAgainstDjpeg(const std::string& path) {
  imageData* image = DecodeBytes("x.jpg", ReadBytes(path));
  const Picture reference = DjpegDecode(path);
  EXPECT_EQ(image->width, reference.width);
  EXPECT_EQ(image->height, reference.height);
  const double psnr = image->width == reference.width && image->height == reference.height
                          ? PsnrRgb(*image, reference)
                          : 0;
  ImageFree(image);
  return psnr;
}

std::string Jpeg(const std::string& options, int width, int height) {
  return Generated(".jpg", "/usr/bin/convert " + SourcePicture(width, height, 21) +
                               " -quality 90 " + options + " {out}");
}

}  // namespace

TEST(ImageJpeg, TablesFollowTheTwoDigitCosine) {
  const JpgTables& t = JpgTablesGet();
  EXPECT_EQ(t.cosine[0], 100);
  EXPECT_EQ(t.cosine[19], 98);
  EXPECT_EQ(t.cosine[157], 0);
  EXPECT_EQ(t.cosine[314], -100);
  EXPECT_EQ(t.cosine[628], 100);
  for (int k = 0; k < kJpgCosineEntries; ++k) ASSERT_EQ(t.cosine[k], JpegTestCosine(k)) << k;
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(t.basis[x][0], 700);
    for (int u = 0; u < 8; ++u) ASSERT_EQ(t.basis[x][u], JpegTestBasis(x, u));
  }
  EXPECT_EQ(t.basis[0][1], 980);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(t.naturalPosition[k], kJpegNaturalOrder[k]) << k;
    EXPECT_EQ(t.zigzagIndex[kJpegNaturalOrder[k]], k);
  }
}

TEST(ImageJpeg, SeparableInverseDctEqualsTheDirectSumOnRandomBlocks) {
  std::mt19937 random(7);
  int32_t samples[64];
  // Typical magnitudes, the largest the reader lets through, and both sides of the magnitude
  // where the transform changes from doubles to 64-bit integers.
  const int32_t ranges[] = {kJpgCoefficientLimit, 2048, 64, (1 << 16) - 1, 1 << 16};
  for (int trial = 0; trial < 5000; ++trial) {
    std::array<int32_t, 64> coefficients{};
    const int32_t range = ranges[trial % 5];
    const int density = 1 + static_cast<int>(random() % 64);
    for (int i = 0; i < density; ++i) {
      coefficients[random() % 64] =
          static_cast<int32_t>(random() % (2 * static_cast<uint32_t>(range) + 1)) - range;
    }
    JpgInverseDct(coefficients.data(), samples);
    const std::array<int64_t, 64> direct = JpegTestDirectIdct(coefficients);
    for (int i = 0; i < 64; ++i)
      ASSERT_EQ(samples[i], direct[i]) << "trial " << trial << " sample " << i;
  }
  // Sums that are whole multiples of 4,000,000 sit on the edge of the division: at the top
  // left, 700 x 700 x 1657 + 700 x 980 x 245 = 245 x 4,000,000, and the same negated.
  for (const int32_t sign : {1, -1}) {
    std::array<int32_t, 64> onEdge{};
    onEdge[0] = sign * 1657;
    onEdge[1] = sign * 245;
    JpgInverseDct(onEdge.data(), samples);
    EXPECT_EQ(samples[0], 128 + sign * 245);
    const std::array<int64_t, 64> direct = JpegTestDirectIdct(onEdge);
    for (int i = 0; i < 64; ++i)
      ASSERT_EQ(samples[i], direct[i]) << "sign " << sign << " sample " << i;
  }
  std::array<int32_t, 64> extreme;
  extreme.fill(kJpgCoefficientLimit);
  JpgInverseDct(extreme.data(), samples);
  EXPECT_EQ(samples[0], JpegTestDirectIdct(extreme)[0]);
  extreme.fill(0);
  JpgInverseDct(extreme.data(), samples);
  for (int32_t s : samples) EXPECT_EQ(s, 128) << "a zero DC gives 128 everywhere";
}

TEST(ImageJpeg, SparseInverseDctBlocksEqualTheDirectSum) {
  // The shapes a quiet picture's blocks mostly have, each with its own short cut: one
  // coefficient anywhere, only the first row, only the first column; at magnitudes up to the
  // largest the double transform takes, written into a wider MCU.
  std::mt19937 random(11);
  const int32_t magnitudes[] = {1, 255, 4095, (1 << 16) - 1};
  for (int trial = 0; trial < 3000; ++trial) {
    std::array<int32_t, 64> coefficients{};
    const int32_t range = magnitudes[trial % 4];
    const auto value = [&] {
      return static_cast<int32_t>(random() % (2 * static_cast<uint32_t>(range) + 1)) - range;
    };
    const int shape = trial / 4 % 3;
    if (shape == 0) coefficients[random() % 64] = value();
    for (int i = 0; i < 8; ++i) {
      if (shape == 1 && random() % 2 == 0) coefficients[i] = value();
      if (shape == 2 && random() % 2 == 0) coefficients[i * 8] = value();
    }
    uint64_t written = 0;
    int32_t largest = 0;
    for (int i = 0; i < 64; ++i) {
      if (coefficients[i] != 0) written |= uint64_t{1} << i;
      largest |= std::abs(coefficients[i]);
    }
    int32_t mcu[16 * 8];
    std::fill(std::begin(mcu), std::end(mcu), -1);
    JpgInverseDctWritten(coefficients.data(), written, largest, mcu + 8, 16);
    const std::array<int64_t, 64> direct = JpegTestDirectIdct(coefficients);
    for (int i = 0; i < 64; ++i) {
      ASSERT_EQ(mcu[i / 8 * 16 + 8 + i % 8], direct[i]) << "trial " << trial << " sample " << i;
    }
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(mcu[y * 16 + x], -1) << "the block beside it is left alone";
    }
  }
  // A sum that is a whole multiple of 4,000,000 with two rows in use: 700 x 700 x 1657 +
  // 700 x 980 x (100 + 145) = 245 x 4,000,000 at the top left.
  for (const int32_t sign : {1, -1}) {
    std::array<int32_t, 64> onEdge{};
    onEdge[0] = sign * 1657;
    onEdge[1] = sign * 100;
    onEdge[8] = sign * 145;
    int32_t samples[64];
    JpgInverseDct(onEdge.data(), samples);
    EXPECT_EQ(samples[0], 128 + sign * 245);
    const std::array<int64_t, 64> direct = JpegTestDirectIdct(onEdge);
    for (int i = 0; i < 64; ++i)
      ASSERT_EQ(samples[i], direct[i]) << "sign " << sign << " sample " << i;
  }
}

TEST(ImageJpeg, WideChromaEntriesRoundEveryPairExactly) {
  if (!JpgWideColourAvailable()) GTEST_SKIP() << "no AVX2 here";
  // Y plus the entry must give round(Y + n / d), halves to even, for even and odd Y alike.
  const auto check = [](int32_t entry, int64_t n, int64_t d) {
    for (const int32_t y : {0, 1}) {
      const int32_t base = y + (entry >> 1);
      const int32_t got = base + ((entry & 1) & (base & 1));
      const int64_t total = y * d + n;
      int64_t q = total / d, r = total % d;
      if (r < 0) {
        --q;
        r += d;
      }
      if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
      if (got != q) return false;
    }
    return true;
  };
  int32_t cb[8], cr[8];
  int16_t red[8], green[8], blue[8];
  int halves = 0;
  for (int32_t b = 128 - 1024; b < 128 + 1024; ++b) {
    for (int32_t r0 = 128 - 1024; r0 < 128 + 1024; r0 += 8) {
      for (int i = 0; i < 8; ++i) {
        cb[i] = b;
        cr[i] = r0 + i;
      }
      ASSERT_TRUE(JpgChromaEntriesWide(cb, cr, red, green, blue));
      for (int i = 0; i < 8; ++i) {
        const int64_t db = cb[i] - 128, dr = cr[i] - 128;
        ASSERT_TRUE(check(red[i], 1402 * dr, 1000)) << "Cr " << cr[i];
        ASSERT_TRUE(check(blue[i], 1772 * db, 1000)) << "Cb " << cb[i];
        ASSERT_TRUE(check(green[i], -34414 * db - 71414 * dr, 100000))
            << "Cb " << cb[i] << " Cr " << cr[i];
        halves += green[i] & 1;
      }
    }
  }
  EXPECT_GT(halves, 0) << "the green quotient meets halves";
  for (const int32_t outside : {128 - 1025, 128 + 1024}) {
    std::fill(std::begin(cb), std::end(cb), 128);
    std::fill(std::begin(cr), std::end(cr), 128);
    cr[5] = outside;
    EXPECT_FALSE(JpgChromaEntriesWide(cb, cr, red, green, blue)) << outside;
    cr[5] = 128;
    cb[7] = outside;
    EXPECT_FALSE(JpgChromaEntriesWide(cb, cr, red, green, blue)) << outside;
  }
}

TEST(ImageJpeg, DecodesExactlyAsTheArithmeticSays) {
  ExpectExact(ColourSpec(24, 16, 1, 1), 1, "4:4:4");
  ExpectExact(ColourSpec(32, 32, 2, 2), 2, "4:2:0");
  ExpectExact(ColourSpec(17, 20, 2, 2), 3,
              "4:2:0, 17 wide: the second MCU column gives column 16 only");
  ExpectExact(ColourSpec(33, 9, 2, 1), 4, "4:2:2");
  JpegTestSpec loud = ColourSpec(16, 16, 1, 1);
  for (auto& table : loud.quant) table.fill(3000);
  ExpectExact(loud, 6, "samples far outside 0 to 255");
  JpegTestSpec loud420 = ColourSpec(48, 32, 2, 2);
  loud420.quant[0].fill(3000);
  ExpectExact(loud420, 8, "4:2:0 with the luma far outside 0 to 255");
  JpegTestSpec twice = ColourSpec(40, 24, 2, 2);
  twice.components = {{1, 2, 2, 0}, {2, 2, 2, 1}, {3, 2, 2, 1}};
  ExpectExact(twice, 7, "every component 2 x 2: sixteen chroma samples across the MCU");
  JpegTestSpec grey = ColourSpec(19, 11, 1, 1);
  grey.components = {{1, 1, 1, 0}};
  ExpectExact(grey, 5, "one component");
}

TEST(ImageJpeg, RestartMarkersResetPredictionsAndDropPaddingBits) {
  for (int interval : {1, 2, 3}) {
    JpegTestSpec spec = ColourSpec(40, 24, 1, 1);
    spec.restartInterval = interval;
    ExpectExact(spec, 10u + static_cast<unsigned>(interval), "restart interval");
  }
  JpegTestSpec spec = ColourSpec(48, 32, 2, 2);
  spec.restartInterval = 1;
  ExpectExact(spec, 20, "restart interval 1, 4:2:0");
}

TEST(ImageJpeg, ZeroCoefficientsGiveMidGrey) {
  JpegTestSpec spec = ColourSpec(8, 8, 1, 1);
  imageData* image =
      DecodeBytes("x.jpg", JpegTestEncode(spec, std::vector<JpegBlock>(3, JpegBlock{})));
  EXPECT_EQ(image->pixels, std::vector<uint32_t>(64, 0x808080));
  EXPECT_EQ(image->bitsPerPixel, 24);
  ImageFree(image);
}

TEST(ImageJpeg, FilesFromImageMagickAndLibjpegComeCloseToDjpeg) {
  // The two-digit cosine table and the 0.19 radian step put samples a little off a precise
  // decoder: measured 40 to 42 dB on these files; every file must stay above 37 dB.
  const struct {
    std::string path;
    const char* what;
  } files[] = {
      {Jpeg("-sampling-factor 1x1", 320, 200), "4:4:4"},
      {Jpeg("-sampling-factor 2x2", 320, 200), "4:2:0"},
      {Jpeg("-sampling-factor 2x2", 101, 67), "4:2:0, odd size"},
      {Jpeg("-sampling-factor 2x1", 99, 50), "4:2:2, odd size"},
      {Generated(".jpg", "/usr/bin/jpegtran -restart 1 -outfile {out} " +
                             Jpeg("-sampling-factor 2x2", 120, 72)),
       "restart every MCU row"},
      {Generated(".jpg", "/usr/bin/jpegtran -restart 3B -outfile {out} " +
                             Jpeg("-sampling-factor 1x1", 77, 45)),
       "restart every 3 MCUs"},
      {Jpeg("-colorspace gray", 64, 48), "greyscale"},
  };
  for (const auto& file : files) {
    const double psnr = PsnrAgainstDjpeg(file.path);
    std::printf("PSNR against djpeg, %s: %.2f dB\n", file.what, psnr);
    EXPECT_GE(psnr, 37.0) << file.what;
  }
}

TEST(ImageJpeg, UnsupportedAndDamagedFiles) {
  imageData* image = DecodeBytes("x.jpg", ReadBytes(Jpeg("-interlace JPEG", 40, 30)));
  EXPECT_EQ(image->width, 0) << "progressive";
  EXPECT_EQ(image->height, 0);
  EXPECT_EQ(image->error, 0);
  ImageFree(image);

  const JpegTestSpec spec = ColourSpec(32, 16, 1, 1);
  const std::vector<JpegBlock> blocks = RandomBlocks(BlockCount(spec), 30);
  const std::vector<uint8_t> good = JpegTestEncode(spec, blocks);
  const std::vector<uint32_t> expected = JpegTestExpected(spec, blocks);

  // Cut in the data: the MCUs before the cut stay, the rest is 0, no error picture.
  image = DecodeBytes("x.jpg", std::vector<uint8_t>(good.begin(), good.end() - 200));
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->pixels[0], expected[0]);
  EXPECT_EQ(image->pixels.back(), 0u);
  ImageFree(image);

  auto find = [&](uint8_t marker) {
    for (size_t i = 0; i + 1 < good.size(); ++i)
      if (good[i] == 0xFF && good[i + 1] == marker) return i;
    return good.size();
  };
  auto expectNothingDecoded = [](const std::vector<uint8_t>& bytes, const char* what) {
    imageData* decoded = DecodeBytes("x.jpg", bytes);
    EXPECT_EQ(decoded->width, 32) << what;
    EXPECT_EQ(decoded->error, 0) << what;
    EXPECT_EQ(decoded->pixels, std::vector<uint32_t>(32 * 16, 0)) << what;
    ImageFree(decoded);
  };
  const size_t sof = find(0xC0);
  std::vector<uint8_t> bytes = good;
  bytes[sof + 10] = 6;
  expectNothingDecoded(bytes, "component id 6");
  bytes = good;
  bytes[sof + 11] = 0x31;
  expectNothingDecoded(bytes, "sampling factor 3");
  {
    // A second segment defining DC table 0 again.
    std::vector<uint8_t> twice = good;
    const std::vector<uint8_t> again = {0xFF, 0xC4, 0, 2 + 1 + 16 + 12,
                                        0x00, 0,    0, 0,
                                        12,   0,    0, 0,
                                        0,    0,    0, 0,
                                        0,    0,    0, 0,
                                        0,    0,    1, 2,
                                        3,    4,    5, 6,
                                        7,    8,    9, 10,
                                        11};
    twice.insert(twice.begin() + static_cast<long>(find(0xDA)), again.begin(), again.end());
    expectNothingDecoded(twice, "table defined twice");
  }
  bytes = good;
  bytes[find(0xDB) + 4] = 0x14;
  image = DecodeBytes("x.jpg", bytes);
  EXPECT_EQ(image->width, 0) << "quantisation table id 4 ends decoding before the frame header";
  ImageFree(image);

  // End of image inside the data ends the picture; a file without a frame header stays 0 x 0.
  bytes = std::vector<uint8_t>(good.begin(), good.end() - 150);
  bytes.push_back(0xFF);
  bytes.push_back(0xD9);
  image = DecodeBytes("x.jpg", bytes);
  EXPECT_EQ(image->pixels[0], expected[0]);
  ImageFree(image);
  bytes = good;
  bytes[sof + 1] = 0xC1;
  image = DecodeBytes("x.jpg", bytes);
  EXPECT_EQ(image->width, 0);
  EXPECT_EQ(image->loaded, 0);
  ImageFree(image);
}

TEST(ImageJpeg, ReadsThroughTheDataFileModule) {
  const std::string name = PlaceFile("Photo.JPG", ReadBytes(Jpeg("-sampling-factor 2x2", 50, 30)));
  imageData* image = OpenInTestFolder(name);
  EXPECT_EQ(image->width, 50);
  EXPECT_EQ(image->height, 30);
  EXPECT_EQ(image->loaded, 1);
  ImageFree(image);
}

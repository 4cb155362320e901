// The host's WAV files: every encoding written and read back unchanged, known
// bytes read as the values they stand for, and faults named.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "host_files.h"
#include "output_file.h"
#include "wav.h"

namespace {

using namespace std::string_literals;

constexpr uint16_t kPcm = 1, kFloat = 3;

int bitsOf(WavEncoding encoding) {
  return encoding == WavEncoding::pcm16 ? 16 : encoding == WavEncoding::pcm24 ? 24 : 32;
}

// Values each encoding holds exactly, the ends of the range among them.
std::vector<double> exactValues(WavEncoding encoding) {
  if (encoding == WavEncoding::float32)
    return {-1.0, 1.0, 0.0, 0.5, -0.75, 1.5, std::ldexp(1.0, -140), double(0.1f), -double(3.0e38f)};
  double full = std::ldexp(1.0, bitsOf(encoding) - 1);
  return {-1.0, (full - 1) / full, 0.0, 1 / full, -1 / full, 12345 / full, -(full / 2 + 3) / full, 0.5, -0.5};
}

TEST(HostWav, EveryEncodingRoundTrips) {
  std::string folder = scratchFolder("wav_round_trip");
  for (WavEncoding encoding : {WavEncoding::pcm16, WavEncoding::pcm24, WavEncoding::pcm32, WavEncoding::float32})
    for (int channels : {1, 2})
      for (int rate : {44100, 96000}) {
        SCOPED_TRACE(testing::Message() << "encoding " << int(encoding) << ", " << channels << " channels, " << rate
                                        << " Hz");
        Wav written;
        written.rate = rate;
        written.channels = channels;
        written.encoding = encoding;
        for (int repeat = 0; repeat < channels; repeat++)
          for (double value : exactValues(encoding)) written.samples.push_back(value);
        std::string path = folder + "round_trip.wav", error;
        ASSERT_TRUE(writeFileAtomically(path, encodeWav(written), error)) << error;
        EXPECT_EQ(readBytes(path).size(), 44 + written.samples.size() * size_t(bitsOf(encoding) / 8));
        Wav read;
        ASSERT_TRUE(readWav(path, read, error)) << error;
        EXPECT_EQ(read.rate, rate);
        EXPECT_EQ(read.channels, channels);
        EXPECT_EQ(read.encoding, encoding);
        EXPECT_EQ(read.samples, written.samples);
      }
}

// Byte order, sign and scale, which a reader and writer wrong in the same way
// would hide from a round trip.
TEST(HostWav, KnownBytesGiveKnownValues) {
  const struct {
    const char* what;
    std::string file;
    int channels;
    std::vector<double> samples;
  } kCases[] = {
      {"PCM 16", simpleWav(kPcm, 2, 44100, 16, "\x00\x80\xFF\x7F\x01\x00\xFF\xFF"s), 2,
       {-1.0, 32767 / 32768.0, 1 / 32768.0, -1 / 32768.0}},
      {"PCM 24", simpleWav(kPcm, 1, 44100, 24, "\x00\x00\x80\xFF\xFF\x7F\x01\x00\x00\xFF\xFF\xFF"s),
       1, {-1.0, 8388607 / 8388608.0, 1 / 8388608.0, -1 / 8388608.0}},
      {"PCM 32", simpleWav(kPcm, 1, 96000, 32, "\x00\x00\x00\x80\x01\x00\x00\x00"s), 1,
       {-1.0, std::ldexp(1.0, -31)}},
      {"float 32", simpleWav(kFloat, 1, 96000, 32, "\x00\x00\x80\x3F\x00\x00\x00\xBF"s), 1,
       {1.0, -0.5}},
      {"extensible PCM 24",
       riffWave(chunk("fmt ", formatBody(0xFFFE, 1, 44100, 24) + little(22, 2) + little(24, 2) + little(4, 4) +
                                  little(kPcm, 2) + std::string(14, '\x11')) +
                chunk("data", "\x00\x00\x80"s)),
       1, {-1.0}},
      {"odd-sized chunk before fmt",
       riffWave(chunk("LIST", "abc") + chunk("fmt ", formatBody(kPcm, 1, 44100, 16)) +
                chunk("data", "\x00\x40"s)),
       1, {0.5}},
  };
  std::string folder = scratchFolder("wav_known_bytes");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    writeBytes(folder + "known.wav", c.file);
    Wav wav;
    std::string error;
    ASSERT_TRUE(readWav(folder + "known.wav", wav, error)) << error;
    EXPECT_EQ(wav.channels, c.channels);
    EXPECT_EQ(wav.samples, c.samples);
  }
}

TEST(HostWav, PcmClipsAtFullScale) {
  Wav wav;
  wav.rate = 44100;
  wav.channels = 1;
  wav.encoding = WavEncoding::pcm16;
  wav.samples = {1.0, -1.5, 2.0};
  std::vector<char> bytes = encodeWav(wav);
  EXPECT_EQ(std::string(bytes.end() - 6, bytes.end()), "\xFF\x7F\x00\x80\xFF\x7F"s);
}

// The reader's bounds check, at the sizes where a plain sum wraps: for this
// build's word size, whichever it is.
TEST(HostWav, SpanCheckDoesNotWrap) {
  constexpr size_t kMax = SIZE_MAX;
  const struct {
    size_t start, length, total;
    bool fits;
  } kCases[] = {
      {20, 0, 20, true},           {20, 1, 20, false},          {0, 20, 20, true},
      {20, kMax - 7, 20, false},   {21, 0, 20, false},          {8, kMax, 100, false},
      {kMax, 1, kMax, false},      {kMax - 1, 1, kMax, true},   {12, 0xFFFFFFF8u, 100, false},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(spanFits(c.start, c.length, c.total), c.fits) << c.start << " + " << c.length << " in " << c.total;
}

TEST(HostWav, FaultsAreNamed) {
  std::string chunks = chunk("fmt ", formatBody(kPcm, 2, 44100, 16));
  const struct {
    const char* what;
    std::string file;
    const char* message;
  } kCases[] = {
      {"empty", "", "is not a RIFF WAVE file"},
      {"another RIFF type", "RIFF" + little(4, 4) + "AVI ", "is not a RIFF WAVE file"},
      {"8-bit PCM", simpleWav(kPcm, 1, 44100, 8, "\x80"s), "unsupported encoding 8-bit PCM"},
      {"64-bit float", simpleWav(kFloat, 1, 44100, 64, std::string(8, '\0')), "unsupported encoding 64-bit IEEE float"},
      {"A-law", simpleWav(6, 1, 44100, 8, "\x55"s), "unsupported encoding A-law"},
      {"unknown tag", simpleWav(0x1234, 1, 44100, 16, "\0\0"s), "unsupported encoding format tag 0x1234"},
      {"three channels", simpleWav(kPcm, 3, 44100, 16, std::string(6, '\0')), "has 3 channels"},
      {"no fmt", riffWave(chunk("data", "\0\0"s)), "has no complete fmt chunk"},
      {"fmt declared near 4 GiB", riffWave("fmt " + little(0xFFFFFFF8u, 4)), "has no complete fmt chunk"},
      {"no data", riffWave(chunks), "has no data chunk"},
      {"short data", riffWave(chunks + "data" + little(400, 4) + std::string(8, '\0')),
       "data chunk is truncated (it declares 400 bytes, 8 are present)"},
      {"half a frame", riffWave(chunks + chunk("data", std::string(6, '\0'))), "data chunk ends inside a frame"},
  };
  std::string folder = scratchFolder("wav_faults");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    writeBytes(folder + "bad.wav", c.file);
    Wav wav;
    std::string error;
    EXPECT_FALSE(readWav(folder + "bad.wav", wav, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  Wav wav;
  std::string error;
  EXPECT_FALSE(readWav(folder + "absent.wav", wav, error));
  EXPECT_EQ(error, "cannot read " + folder + "absent.wav (missing or unreadable)");
}

}  // namespace

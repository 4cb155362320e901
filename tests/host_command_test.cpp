// r4m-host.exe itself: each bad input gets a message naming it, a non-zero
// exit and no output file, and the response command writes a row per hertz.
#include <gtest/gtest.h>

#include <sstream>

#include "host_files.h"
#include "host_process.h"
#include "picture.h"
#include "wav.h"

namespace {

using namespace std::string_literals;

std::string stereoPcm16(int rate) { return simpleWav(1, 2, rate, 16, std::string(400, '\x10')); }

TEST(HostCommand, BadInputsAreRefused) {
  std::string folder = scratchFolder("bad_inputs");
  const std::string good = folder + "good.wav", out = folder + "out.wav";
  writeBytes(good, stereoPcm16(44100));
  const struct {
    const char* what;
    std::string file;  // written to in.wav when not empty
    std::vector<std::string> args;
    std::string message;
  } kCases[] = {
      {"missing input", "", {"render", "R4-M.dll", folder + "absent.wav", out},
       "cannot read " + folder + "absent.wav (missing or unreadable)"},
      {"not WAVE", "RIFF\x04\0\0\0AVI "s, {"render", "R4-M.dll", folder + "in.wav", out}, "is not a RIFF WAVE file"},
      {"8-bit PCM", simpleWav(1, 1, 44100, 8, "\x80\x80"s), {"render", "R4-M.dll", folder + "in.wav", out},
       "unsupported encoding 8-bit PCM"},
      {"three channels", simpleWav(1, 3, 44100, 16, std::string(60, '\0')),
       {"render", "R4-M.dll", folder + "in.wav", out}, "has 3 channels; only mono and stereo are supported"},
      {"truncated data", riffWave(chunk("fmt ", formatBody(1, 2, 44100, 16)) + "data" + little(4000, 4) + "abcd"),
       {"render", "R4-M.dll", folder + "in.wav", out}, "data chunk is truncated"},
      // The plug-in, once loaded, would wait for a click on its warning.
      {"48000 Hz", stereoPcm16(48000), {"render", "R4-M.dll", folder + "in.wav", out},
       "a sample rate of 48000 Hz is not supported; the plug-in supports 44100 and 96000 Hz only"},
      {"unknown parameter", "", {"render", "R4-M.dll", good, out, "--param", "21=0.5"},
       "--param 21: the plug-in has no such parameter (it has 0 to 20)"},
      {"value above 1", "", {"render", "R4-M.dll", good, out, "--param", "3=1.5"},
       "--param 3=1.5: the value is outside 0 to 1"},
      {"negative value", "", {"render", "R4-M.dll", good, out, "--param", "3=-0.01"}, "the value is outside 0 to 1"},
      {"not INDEX=VALUE", "", {"render", "R4-M.dll", good, out, "--param", "3"}, "--param wants INDEX=VALUE"},
      {"program 8", "", {"render", "R4-M.dll", good, out, "--program", "8"},
       "--program 8: the program is outside 0 to 7"},
      {"program -1", "", {"render", "R4-M.dll", good, out, "--program", "-1"}, "the program is outside 0 to 7"},
      {"block 0", "", {"render", "R4-M.dll", good, out, "--block", "0"}, "the block size is outside 1 to 65536"},
      {"option without value", "", {"render", "R4-M.dll", good, out, "--block"}, "--block needs a value"},
      {"unknown option", "", {"render", "R4-M.dll", good, out, "--gain", "2"}, "unknown option --gain"},
      {"missing plug-in", "", {"render", folder + "absent.dll", good, out}, "cannot load " + folder + "absent.dll"},
      {"response at 48000 Hz", "", {"response", "R4-M.dll", "--rate", "48000", out},
       "--rate: a sample rate of 48000 Hz is not supported"},
      {"response program 9", "", {"response", "R4-M.dll", "--program", "9", out}, "the program is outside 0 to 7"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    if (!c.file.empty()) writeBytes(folder + "in.wav", c.file);
    DeleteFileA(out.c_str());
    HostRun run = runHost(c.args, 20000);
    ASSERT_TRUE(run.finished) << "still running after 20 s";
    EXPECT_NE(run.exitCode, 0u);
    EXPECT_EQ(run.output.compare(0, 10, "r4m-host: "), 0) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_FALSE(fileExists(out));
    EXPECT_FALSE(fileExists(out + ".partial"));
  }
}

TEST(HostCommand, AnUnwritableOutputLeavesNothing) {
  std::string folder = scratchFolder("unwritable");
  writeBytes(folder + "in.wav", stereoPcm16(96000));
  std::string out = folder + "no such folder\\out.wav";
  HostRun run = runHost({"render", "R4-M.dll", folder + "in.wav", out});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.output.find("r4m-host: cannot write " + out), std::string::npos) << run.output;
}

// The suite of each word size runs that word size: the host beside this test
// program loads the DLL beside it, and reads the machine from its header in memory.
TEST(HostCommand, InfoShowsTheMachineThatRuns) {
  HostRun run = runHost({"info", "R4-M.dll"});
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const std::string expected = sizeof(void*) == 4 ? "library: i386 code, loaded into a 32-bit host process"
                                                  : "library: x86-64 code, loaded into a 64-bit host process";
  EXPECT_NE(run.output.find(expected), std::string::npos) << run.output;
}

TEST(HostCommand, ResponseWritesARowPerHertz) {
  std::string out = scratchFolder("response") + "flat.csv";
  DeleteFileA(out.c_str());
  HostRun run = runHost({"response", "R4-M.dll", "--rate", "96000", out});
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  std::istringstream csv(readBytes(out));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "frequency_hz,gain_db");
  int rows = 0;
  while (std::getline(csv, line)) {
    ASSERT_EQ(line.substr(0, line.find(',')), std::to_string(rows));
    double gain = std::stod(line.substr(line.find(',') + 1));
    EXPECT_LT(std::abs(gain), 1e-5) << line;
    rows++;
  }
  EXPECT_EQ(rows, 48001);
}

// The editor command refuses a capture of one flat colour (a window never
// drawn); the padding after each row is no part of the picture.
TEST(HostCommand, AFlatCaptureIsNoPicture) {
  constexpr int kWidth = 3, kHeight = 2;
  constexpr size_t kRowBytes = 12;  // 9 bytes of pixels, padded to 4
  std::vector<uint8_t> grey(kRowBytes * kHeight, 0x80);
  for (int y = 0; y < kHeight; y++)
    for (size_t pad = 9; pad < kRowBytes; pad++) grey[y * kRowBytes + pad] = uint8_t(y * 7 + pad);
  const struct {
    const char* what;
    size_t byte;  // the one byte changed, or none
    bool flat;
  } kCases[] = {
      {"one grey", SIZE_MAX, true},
      {"blue of the last pixel", kRowBytes + 6, false},
      {"red of the first pixel", 2, false},
      {"padding only", 10, true},
  };
  for (const auto& c : kCases) {
    std::vector<uint8_t> rows = grey;
    if (c.byte != SIZE_MAX) rows[c.byte] ^= 0x01;
    EXPECT_EQ(isFlatPicture(rows, kWidth, kHeight, kRowBytes), c.flat) << c.what;
  }
}

}  // namespace

// A peer equaliser to time beside ours: LSP's Parametric Equalizer x16 Stereo
// (Debian's lsp-plugins-lv2), hosted natively through lilv at 44.1 kHz. Its
// first bells sit at our band centres, each with the gain and Q it is given,
// in the plug-in's recursive (IIR) mode, every other filter and the analyser
// off. Like a product of the benchmark it has setProgram(int) and
// processReplacing(float**, float**, int32_t); its settings never change.
// Build with $(pkg-config --cflags --libs lilv-0).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace peer {

constexpr const char* kPluginUri = "http://lsp-plug.in/plugins/lv2/para_equalizer_x16_stereo";
constexpr double kSampleRate = 44100.0;
constexpr int32_t kMaxBlock = 4096;  // the largest block the benchmark gives
// Our seven band centres, then the one an eighth bell takes.
constexpr double kBellCentres[] = {125, 500, 2000, 4900, 8500, 12100, 17000, 1000};
constexpr int kMaxBells = int(sizeof kBellCentres / sizeof kBellCentres[0]);

struct Bell {
  double gainDb, q;
};

class PeerEqualiser {
 public:
  // One bell per entry, at kBellCentres in turn; at most kMaxBells.
  explicit PeerEqualiser(const std::vector<Bell>& bells);
  ~PeerEqualiser();
  PeerEqualiser(const PeerEqualiser&) = delete;
  PeerEqualiser& operator=(const PeerEqualiser&) = delete;

  void setProgram(int) {}
  void processReplacing(float** inputs, float** outputs, int32_t frames);
  // The delay the plug-in reports, in frames.
  int latency() const;
  // The global mode and one line per active filter, as the plug-in's ports hold them.
  void printSettings(std::FILE* to) const;

 private:
  struct Host;
  std::unique_ptr<Host> host;
};

// White noise through the peer, the output compared with the input delayed by
// the latency the peer reports.
struct FilteringProof {
  double differenceDb;  // RMS of output minus input, relative to the input's, with the given gains
  // The same bells at 0 dB: that RMS again, and the largest |output - input|.
  double flatDifferenceDb, flatLargestDifference;
  int latency, flatLatency;  // frames, as reported with the given gains and at 0 dB
};
FilteringProof proveFiltering(const std::vector<Bell>& bells);

}  // namespace peer

// `render`: a file played through the plug-in into a 32-bit float stereo file.
#include <cstdio>
#include <functional>

#include "commands.h"
#include "output_file.h"
#include "player.h"

namespace {

// A line that counts up in tens of percent, for files long enough to wait for.
class Progress {
 public:
  Progress(size_t total, int rate) : total(total), shown(total > size_t(rate) * 30 ? 0 : 100) {}
  void operator()(size_t done) {
    int percent = int(done * 100 / total);
    if (percent < shown + 10) return;
    shown = percent - percent % 10;
    std::fprintf(stderr, "\rrendered %3d%%%s", shown, shown == 100 ? "\n" : "");
  }

 private:
  size_t total;
  int shown;
};

}  // namespace

int runRender(const std::vector<std::string>& args) {
  CommandLine line;
  std::string error;
  if (!parseCommandLine(args, {"--program", "--param", "--block"}, 3, line, error)) return fail(error, 2);
  const std::string &pluginPath = line.operands[0], &inPath = line.operands[1], &outPath = line.operands[2];
  Wav input;
  if (!readWav(inPath, input, error)) return fail(error, 1);
  // The plug-in would stop at a message box waiting for a click.
  if (!supportedRate(input.rate)) return fail(unsupportedRateMessage(inPath, input.rate), 1);
  Plugin plugin;
  if (!startPlayer(plugin, pluginPath, input.rate, line.settings, error)) return fail(error, 1);
  Wav output;
  output.rate = input.rate;
  output.channels = 2;
  output.encoding = WavEncoding::float32;
  Progress progress(input.frames(), input.rate);
  std::vector<float> rendered = playBlocks(plugin, input, line.settings.block, std::ref(progress));
  stopPlayer(plugin);
  output.samples.assign(rendered.begin(), rendered.end());
  if (!writeFileAtomically(outPath, encodeWav(output), error)) return fail(error, 1);
  std::printf("%s: %u frames at %d Hz rendered to %s\n", inPath.c_str(), unsigned(input.frames()), input.rate,
              outPath.c_str());
  return 0;
}

// `signal`: writes the test signal in any of the encodings the host reads.
#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "output_file.h"
#include "signal.h"

int runSignal(const std::vector<std::string>& args) {
  CommandLine line;
  std::string error;
  if (!parseCommandLine(args, {"--rate", "--seconds", "--channels", "--encoding"}, 1, line, error))
    return fail(error, 2);
  Wav wav = testSignal(line.rate, line.seconds, line.channels);
  wav.encoding = line.encoding;
  if (!writeFileAtomically(line.operands[0], encodeWav(wav), error)) return fail(error, 1);
  std::printf("test signal (pink noise, then a 20 Hz to 20 kHz sweep) written to %s\n", line.operands[0].c_str());
  return 0;
}

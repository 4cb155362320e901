// `response`: the measured magnitude response as CSV, one row per hertz.
#include <cstdio>
#include <string>

#include "commands.h"
#include "measure.h"
#include "output_file.h"

int runResponse(const std::vector<std::string>& args) {
  CommandLine line;
  std::string error;
  if (!parseCommandLine(args, {"--program", "--param", "--rate"}, 2, line, error)) return fail(error, 2);
  std::vector<double> gainDb;
  if (!measureResponse(line.operands[0], line.rate, line.settings, gainDb, error)) return fail(error, 1);
  std::string text = "frequency_hz,gain_db\n";
  char row[64];
  for (size_t hertz = 0; hertz < gainDb.size(); hertz++) {
    std::snprintf(row, sizeof row, "%u,%.9f\n", unsigned(hertz), gainDb[hertz]);
    text += row;
  }
  if (!writeFileAtomically(line.operands[1], std::vector<char>(text.begin(), text.end()), error))
    return fail(error, 1);
  std::printf("response at %d Hz written to %s\n", line.rate, line.operands[1].c_str());
  return 0;
}

// `info`: what a host sees of the plug-in.
#include <cstdio>
#include <string>

#include "commands.h"
#include "plugin.h"

int runInfo(const std::string& path) {
  Plugin plugin;
  std::string error;
  if (!plugin.load(path, error)) {
    std::fprintf(stderr, "r4m-host: %s\n", error.c_str());
    return 1;
  }
  const AEffect& record = *plugin.effect;
  std::printf("%s by %s (%s)\n", plugin.text(effGetEffectName).c_str(), plugin.text(effGetVendorString).c_str(),
              plugin.text(effGetProductString).c_str());
  std::printf("record: magic 0x%08X, unique ID 0x%08X, version %d, flags 0x%X\n", unsigned(record.magic),
              unsigned(record.uniqueID), int(record.version), unsigned(record.flags));
  std::printf("        %d inputs, %d outputs, %d parameters, %d programs, initial delay %d\n", int(record.numInputs),
              int(record.numOutputs), int(record.numParams), int(record.numPrograms), int(record.initialDelay));
  std::printf("library: %s code, loaded into a %d-bit host process\n", plugin.machine().c_str(),
              int(sizeof(void*) * 8));
  std::printf("VST version %d, category %d\n", int(plugin.dispatch(effGetVstVersion)),
              int(plugin.dispatch(effGetPlugCategory)));
  for (const char* capability : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstMidiEvent", "bypass"}) {
    std::string name = capability;
    std::printf("canDo %-20s %d\n", capability, int(plugin.dispatch(effCanDo, 0, 0, &name[0])));
  }
  std::printf("\nparameters:\n");
  for (VstInt32 index = 0; index < record.numParams; index++)
    std::printf("  %2d  %-20s %g\n", int(index), plugin.text(effGetParamName, index).c_str(),
                double(record.getParameter(plugin.effect, index)));
  std::printf("\nprograms:\n");
  for (VstInt32 index = 0; index < record.numPrograms; index++)
    std::printf("  %d  %s\n", int(index), plugin.text(effGetProgramNameIndexed, index).c_str());
  return 0;
}

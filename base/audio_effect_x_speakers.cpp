// Speaker-arrangement records: a record for n channels is allocated with room
// for exactly n speaker entries (at least the published eight-entry header).
#include <cstdlib>
#include <cstring>

#include "audio_effect_x.h"

namespace {
size_t arrangementBytes(VstInt32 channels) {
  size_t header = offsetof(VstSpeakerArrangement, speakers);
  size_t entries = channels > 8 ? size_t(channels) : 8;
  return header + entries * sizeof(VstSpeakerProperties);
}
}  // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 channels) {
  if (!arrangement || channels < 0) return false;
  if (*arrangement) {
    std::free(*arrangement);
    *arrangement = nullptr;
  }
  void* memory = std::calloc(1, arrangementBytes(channels));
  if (!memory) return false;
  *arrangement = static_cast<VstSpeakerArrangement*>(memory);
  (*arrangement)->numChannels = channels;
  return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
  if (arrangement && *arrangement) {
    std::free(*arrangement);
    *arrangement = nullptr;
  }
  return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (!to || !from) return false;
  std::memcpy(to->name, from->name, sizeof to->name);
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof to->future);
  return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
  if (!from) return false;
  if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels)) return false;
  (*to)->type = from->type;
  for (VstInt32 channel = 0; channel < from->numChannels; channel++)
    if (!copySpeaker(&(*to)->speakers[channel], &from->speakers[channel])) return false;
  return true;
}

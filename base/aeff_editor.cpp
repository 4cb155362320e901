#include "aeff_editor.h"

#include "audio_effect.h"

AEffEditor::AEffEditor(AudioEffect* effect) : effect(effect) {
  if (effect) effect->setEditor(this);
}

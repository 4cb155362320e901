// The two message boxes of an unsupported sample rate. They block the calling
// thread until the user answers.
#pragma once

void showUnsupportedRateWarning();
// True when the user accepts 44.1 kHz for a host that gave no rate.
bool acceptDefaultRate();

// The two message boxes of an unsupported sample rate.
#pragma once

// The warning of a rate without tables, shown from a thread of its own so that
// the host's thread (often its engine) goes on at once. At most one box per
// owner is up at a time; the box's thread keeps the library loaded and never
// touches its owner, so the owner may be deleted and the library freed while
// the box is still open.
class RateWarning {
 public:
  RateWarning() = default;
  RateWarning(const RateWarning&) = delete;
  RateWarning& operator=(const RateWarning&) = delete;
  ~RateWarning();

  void show();

 private:
  void* boxThread = nullptr;  // the thread of the last box, until it is seen to have ended
};

// The same warning, modal on the calling thread.
void showUnsupportedRateWarning();
// True when the user accepts 44.1 kHz for a host that gave no rate. Modal.
bool acceptDefaultRate();

// Answers the plug-in's message boxes from a second thread, as a user would:
// finds each box by its title, records what it says and presses OK.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
  std::string text;
  bool hasOk;
  bool hasCancel;
  bool exclamationIcon;
};

class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(const char* title = "R4-M Warning");
  ~MessageBoxWatcher();
  std::vector<SeenBox> seen() const;

 private:
  void watch();
  std::string title;
  std::atomic<bool> stopping{false};
  mutable std::mutex mutex;
  std::vector<SeenBox> boxes;
  std::thread thread;
};

// Answers the plug-in's message boxes from a second thread, as a user would:
// finds each box by its title, records what it says and presses OK, at once
// or when told to.
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

// WhenTold still answers a box left open for five seconds.
enum class Answer { AtOnce, WhenTold };

class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(Answer answer = Answer::AtOnce, const char* title = "R4-M Warning");
  // Answers what is still open (waiting a while for it to go) before it stops.
  ~MessageBoxWatcher();
  std::vector<SeenBox> seen() const;
  // False when fewer than `count` boxes appeared within the time.
  bool waitForSeen(size_t count, DWORD milliseconds) const;
  // The boxes of the title that are up now.
  std::vector<HWND> openBoxes() const;
  void answerFromNowOn() { answering = true; }

 private:
  void watch();
  bool record(HWND box);  // false until the box shows its text
  std::string title;
  std::atomic<bool> answering;
  std::atomic<bool> stopping{false};
  mutable std::mutex mutex;
  std::vector<SeenBox> boxes;
  std::thread thread;
};

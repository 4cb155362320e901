#include "message_box_watcher.h"

#include <algorithm>

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a box's text
constexpr int kMessageIconId = 0x0440;  // the static control that holds its icon
constexpr DWORD kPatience = 5000;       // milliseconds a box waits to be told

struct Search {
  const std::string& title;
  std::vector<HWND> found;
};

BOOL CALLBACK collectBox(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  char className[16] = {}, text[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, text, sizeof text);
  if (std::string(className) == "#32770" && search.title == text) search.found.push_back(window);
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(Answer answer, const char* title)
    : title(title), answering(answer == Answer::AtOnce), thread([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  answering = true;
  DWORD start = GetTickCount();
  while (!openBoxes().empty() && GetTickCount() - start < 3000) Sleep(5);
  stopping = true;
  thread.join();
}

std::vector<SeenBox> MessageBoxWatcher::seen() const {
  std::lock_guard<std::mutex> lock(mutex);
  return boxes;
}

bool MessageBoxWatcher::waitForSeen(size_t count, DWORD milliseconds) const {
  DWORD start = GetTickCount();
  while (seen().size() < count) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(5);
  }
  return true;
}

std::vector<HWND> MessageBoxWatcher::openBoxes() const {
  Search search{title, {}};
  EnumWindows(collectBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool MessageBoxWatcher::record(HWND box) {
  char text[512] = {};
  GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
  if (!text[0]) return false;  // still being filled in
  SeenBox seenBox;
  seenBox.text = text;
  seenBox.hasOk = GetDlgItem(box, IDOK) != nullptr;
  seenBox.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
  HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kMessageIconId, STM_GETICON, 0, 0));
  seenBox.exclamationIcon = icon && icon == LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
  std::lock_guard<std::mutex> lock(mutex);
  boxes.push_back(seenBox);
  return true;
}

void MessageBoxWatcher::watch() {
  struct Recorded {
    HWND box;
    DWORD since;
  };
  std::vector<Recorded> recorded;  // boxes seen and not yet gone
  while (!stopping) {
    recorded.erase(std::remove_if(recorded.begin(), recorded.end(), [](Recorded r) { return !IsWindow(r.box); }),
                   recorded.end());
    for (HWND box : openBoxes()) {
      auto known = std::find_if(recorded.begin(), recorded.end(), [box](Recorded r) { return r.box == box; });
      if (known == recorded.end()) {
        if (!record(box)) continue;
        known = recorded.insert(recorded.end(), Recorded{box, GetTickCount()});
      }
      // A box left open too long means a blocked caller: free it, so that the
      // test fails instead of hanging.
      if (answering || GetTickCount() - known->since > kPatience) PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    Sleep(5);
  }
}

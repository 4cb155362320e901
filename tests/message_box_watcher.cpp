#include "message_box_watcher.h"

namespace {
constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a box's text
constexpr int kMessageIconId = 0x0440;  // the static control that holds its icon
}  // namespace

MessageBoxWatcher::MessageBoxWatcher(const char* title) : title(title), thread([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stopping = true;
  thread.join();
}

std::vector<SeenBox> MessageBoxWatcher::seen() const {
  std::lock_guard<std::mutex> lock(mutex);
  return boxes;
}

void MessageBoxWatcher::watch() {
  while (!stopping) {
    HWND box = FindWindowA("#32770", title.c_str());
    if (!box) {
      Sleep(5);
      continue;
    }
    char text[512] = {};
    GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
    SeenBox seenBox;
    seenBox.text = text;
    seenBox.hasOk = GetDlgItem(box, IDOK) != nullptr;
    seenBox.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kMessageIconId, STM_GETICON, 0, 0));
    seenBox.exclamationIcon = icon && icon == LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
    {
      std::lock_guard<std::mutex> lock(mutex);
      boxes.push_back(seenBox);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box) && !stopping) Sleep(5);  // the next box is another window
  }
}

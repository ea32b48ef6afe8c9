// A small Windows helper for the end-to-end tests. It runs under Wine next
// to Lanterra.exe and reports or pokes the game's windows from outside, the
// way a player would see and use them.
//
//   probe window [seconds]   waits until the main window is shown and in front
//                            (keys reach it); prints
//                            "hwnd pid clientX clientY clientWidth clientHeight title"
//   probe gone [seconds]     waits until the main window has disappeared
//   probe dialogs            one line per visible message box of the game:
//                            "hwnd<TAB>caption<TAB>text" (UTF-8, line feeds as \n)
//   probe menus              one line per open popup menu: "left top right bottom"
//   probe rect HWND          the window's screen rectangle: "left top right bottom"
//   probe press HWND ID      presses the button ID of a message box
//   probe post ID            sends the menu command ID to the main window
//
// Exit code 0 on success, 1 when the awaited window did not come (or go).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::string WindowText(HWND window) {
  wchar_t text[2048] = {};
  GetWindowTextW(window, text, 2048);
  return Utf8(text);
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') continue;
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

HWND MainWindow() { return FindWindowA("TORVIN", nullptr); }

int WaitWindow(double seconds) {
  for (int waited = 0; waited <= int(seconds * 10); ++waited) {
    HWND window = MainWindow();
    if (window && IsWindowVisible(window) && GetForegroundWindow() == window) {
      RECT client;
      GetClientRect(window, &client);
      POINT origin = {0, 0};
      ClientToScreen(window, &origin);
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      std::printf("%llu %lu %ld %ld %ld %ld %s\n", (unsigned long long)(uintptr_t)window, pid, origin.x,
                  origin.y, client.right - client.left, client.bottom - client.top,
                  WindowText(window).c_str());
      return 0;
    }
    Sleep(100);
  }
  return 1;
}

int WaitGone(double seconds) {
  for (int waited = 0; waited <= int(seconds * 10); ++waited) {
    if (!MainWindow()) return 0;
    Sleep(100);
  }
  return 1;
}

DWORD GamePid() {
  DWORD pid = 0;
  if (HWND window = MainWindow()) GetWindowThreadProcessId(window, &pid);
  return pid;
}

BOOL CALLBACK ListDialog(HWND window, LPARAM pid) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window) && owner == DWORD(pid)) {
    // A message box shows its text in the static control with id 0xFFFF.
    HWND label = GetDlgItem(window, 0xFFFF);
    std::printf("%llu\t%s\t%s\n", (unsigned long long)(uintptr_t)window, Escaped(WindowText(window)).c_str(),
                label ? Escaped(WindowText(label)).c_str() : "");
  }
  return TRUE;
}

BOOL CALLBACK ListMenu(HWND window, LPARAM) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32768") == 0 && IsWindowVisible(window)) {
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "window") return WaitWindow(argc > 2 ? std::atof(argv[2]) : 30);
  if (command == "gone") return WaitGone(argc > 2 ? std::atof(argv[2]) : 10);
  if (command == "dialogs") return EnumWindows(ListDialog, LPARAM(GamePid())), 0;
  if (command == "menus") return EnumWindows(ListMenu, 0), 0;
  if (command == "rect" && argc > 2) {
    RECT rect;
    if (!GetWindowRect(HWND(uintptr_t(std::strtoull(argv[2], nullptr, 10))), &rect)) return 1;
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  if (command == "press" && argc > 3) {
    HWND box = HWND(uintptr_t(std::strtoull(argv[2], nullptr, 10)));
    const int id = std::atoi(argv[3]);
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box, id))) ? 0 : 1;
  }
  if (command == "post" && argc > 2) {
    HWND window = MainWindow();
    return window && PostMessageA(window, WM_COMMAND, WPARAM(std::atoi(argv[2])), 0) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: probe window|gone [seconds] | dialogs | menus | rect HWND | press HWND ID | post ID\n");
  return 2;
}

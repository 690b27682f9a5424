// Starts the game in a window and plays the Windows session's end on it, as Windows would:
//   session_probe SETTINGS_FILE PROGRAM [ARGUMENTS...]
// 1. Once the game shows a window, lets it play for 2 s, then minimises it and waits 7.5 s,
//    saying "playing" and "minimised" at those moments: the caller measures the processor
//    time the game takes meanwhile.
// 2. Asks every top-level window of the process WM_QUERYENDSESSION (all must agree), then sends
//    each WM_ENDSESSION. When the last answer is in, the settings file must have been written
//    since, and the process must end with exit code 0.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Long enough for a settled start and five measured seconds after it.
constexpr DWORD kRestMs = 7500;

struct search {
  DWORD process;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* wanted = reinterpret_cast<search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == wanted->process && (!wanted->visibleOnly || IsWindowVisible(window)))
    wanted->found.push_back(window);
  return TRUE;
}

std::vector<HWND> WindowsOf(DWORD process, bool visibleOnly) {
  search wanted{process, visibleOnly, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

bool LastWrite(const std::string& path, ULONGLONG& time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
  return true;
}

int Fail(const char* what, HANDLE process) {
  std::fprintf(stderr, "%s\n", what);
  TerminateProcess(process, 99);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: session_probe SETTINGS_FILE PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const std::string settings = argv[1];
  std::string command;
  for (int i = 2; i < argc; ++i) command += std::string(i > 2 ? " " : "") + "\"" + argv[i] + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    std::fprintf(stderr, "cannot start %s\n", argv[2]);
    return 1;
  }
  CloseHandle(started.hThread);
  const HANDLE process = started.hProcess;

  std::vector<HWND> shown;
  for (int wait = 0; wait < 600 && shown.empty(); ++wait) {
    if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0)
      return Fail("the game ended before it showed a window", process);
    shown = WindowsOf(started.dwProcessId, true);
  }
  if (shown.empty()) return Fail("the game showed no window within 60 s", process);
  // The processor time is read on the Linux side, where Wine's process is an ordinary one (Wine
  // answers GetProcessTimes for other processes with zeros): two seconds of play, then five of
  // rest once minimised, each announced on the standard output.
  std::printf("playing\n");
  std::fflush(stdout);
  Sleep(2000);
  for (HWND window : WindowsOf(started.dwProcessId, true)) ShowWindow(window, SW_MINIMIZE);
  std::printf("minimised\n");
  std::fflush(stdout);
  Sleep(kRestMs);

  ULONGLONG writtenBefore = 0;
  LastWrite(settings, writtenBefore);
  const std::vector<HWND> windows = WindowsOf(started.dwProcessId, false);
  std::printf("session end sent to %zu windows\n", windows.size());
  for (HWND window : windows) {
    DWORD_PTR agreed = 0;
    if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                             5000, &agreed) ||
        agreed == FALSE) {
      return Fail("a window refused WM_QUERYENDSESSION", process);
    }
  }
  // Windows may end the process once every window has answered: the game's clean-up must be
  // done by then. A window that is gone (its process ended meanwhile) answers nothing.
  for (HWND window : windows) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 40000,
                        &answer);
  }
  ULONGLONG writtenAfter = 0;
  if (!LastWrite(settings, writtenAfter) || writtenAfter <= writtenBefore) {
    return Fail("the settings were not written before the last WM_ENDSESSION answer", process);
  }
  if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0)
    return Fail("the game did not end", process);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  std::printf("settings written, exit code %lu\n", code);
  return code == 0 ? 0 : 1;
}

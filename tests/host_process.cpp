#include "host_process.h"

#include <windows.h>

#include "host_files.h"

namespace {

std::string hostPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own(path, length);
  return own.substr(0, own.find_last_of("\\/") + 1) + "r4m-host.exe";
}

}  // namespace

HostRun runHost(const std::vector<std::string>& args, unsigned long timeoutMs) {
  HostRun run{false, 0, ""};
  std::string exe = hostPath(), commandLine = "\"" + exe + "\"";
  for (const std::string& arg : args) commandLine += " \"" + arg + "\"";
  std::string outputPath = scratchFolder("process") + "output.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return run;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = output;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                     &startup, &process)) {
    run.finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!run.finished) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(output);
  run.output = readBytes(outputPath);
  return run;
}

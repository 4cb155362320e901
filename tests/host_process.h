// Runs r4m-host.exe from the test program's folder, as a user would, and
// collects what it printed and how it ended.
#pragma once

#include <string>
#include <vector>

struct HostRun {
  bool finished;  // false: still running after the timeout, then stopped
  unsigned long exitCode;
  std::string output;  // stdout and stderr together
};

HostRun runHost(const std::vector<std::string>& args, unsigned long timeoutMs = 60000);

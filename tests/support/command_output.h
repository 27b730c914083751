#pragma once

#include <cstdio>
#include <string>

namespace blok::testing {

// What a shell command writes on standard output, whole.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

}  // namespace blok::testing

// Runs the built grazefall program (next to the tests, in the build
// directory they run in) and captures its standard output and exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace grazefall::testing {

struct ProgramRun {
  int exitCode = -1;
  std::string output;
};

// The program's path, when the tests run from the build directory.
inline std::optional<std::string> ProgramPath() {
  const std::filesystem::path program = std::filesystem::current_path() / "grazefall";
  if (!std::filesystem::is_regular_file(program)) return std::nullopt;
  return program.string();
}

// Which of the program's streams a run keeps in its output.
enum class Streams { kOutputOnly, kOutputAndErrors };

// `commandLine` is passed to the shell after the program's path; standard
// error is discarded unless asked for. A program still running after two
// minutes is ended (exit code 124).
inline ProgramRun RunProgram(const std::string& environment, const std::string& commandLine,
                             Streams streams = Streams::kOutputOnly) {
  ProgramRun run;
  const std::optional<std::string> program = ProgramPath();
  if (!program) return run;
  const std::string command = environment + " timeout --kill-after=5 120 '" + *program + "' " +
                              commandLine +
                              (streams == Streams::kOutputOnly ? " 2>/dev/null" : " 2>&1");
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, got);
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace grazefall::testing

// The render tests run `grazefall --render ...` in their own process, on a
// headless platform they can look at afterwards; some also point the
// settings folder somewhere of their own for the run.
#pragma once

#include <string>
#include <vector>

#include "host/linux/render/render_command.h"
#include "platform/headless/headless_platform.h"

namespace grazefall::testing {

// `args` are what follows the program's name; the command's exit code.
inline int RenderInProcess(platform::HeadlessPlatform& headless, std::vector<std::string> args) {
  args.insert(args.begin(), "grazefall");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  return app::RunRenderCommand(static_cast<int>(argv.size()), argv.data(), headless);
}

}  // namespace grazefall::testing

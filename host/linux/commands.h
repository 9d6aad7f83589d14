// The Linux program's commands (the renderer's is in render/). main() picks
// one by the first argument; each returns the process exit code.
#pragma once

namespace grazefall::app {

// grazefall --ask "QUESTION": the cow's answer on standard output.
int RunAskCommand(int argc, char** argv);
// grazefall --help-page: the help page's path on standard output.
int RunHelpPageCommand(int argc, char** argv);
// grazefall --print-options [VALUE]: a stored record, field by field.
int RunPrintOptionsCommand(int argc, char** argv);
// Everything else: the screen-saver command line (/s, /p, /c, /a and the
// XScreenSaver hack options).
int RunSaverCommand(int argc, char** argv);

}  // namespace grazefall::app

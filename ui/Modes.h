// The program's modes, chosen by main() from the command line. Each returns the process
// exit code. The working folder is already the program folder when they are called.
#pragma once

#include "ui/CommandLine.h"

namespace tamzel::ui {

int RunConsole(const CommandLine& cl);   // --console: chat in the terminal
int RunUnits(const CommandLine& cl);     // --units TEXT: print unit string and contour
int RunSpeak(const CommandLine& cl);     // --speak TEXT: play or render an answer
// Output files named on the command line belong to the folder the user started the
// program in; called before main() enters the program folder.
void ResolveSpeakOutputs(CommandLine& cl);
int RunGui(int argc, char** argv, const CommandLine& cl);  // the desktop program

}  // namespace tamzel::ui

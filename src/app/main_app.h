// Starts the program: the one link, the main window, and the end of the program.
#pragma once

namespace qm {

class MainApp {
 public:
  // Runs the program to its end; the exit status.
  int Run(int argc, char** argv);
};

}  // namespace qm

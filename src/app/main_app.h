// Starts the program: the one link, the main window, and the end of the program.
#pragma once

class QLocale;

namespace qm {

class MainApp {
 public:
  // Runs the program to its end; the exit status.
  int Run(int argc, char** argv);
  // Names the program and installs the translations for `locale`.
  static void SetUpApplication(const QLocale& locale);
};

}  // namespace qm

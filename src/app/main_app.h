// Starts the program: the one link, the main window, and the end of the program.
#pragma once

class QLocale;

namespace qm {

class MainDialog;

class MainApp {
 public:
  // Runs the program to its end; the exit status.
  int Run(int argc, char** argv);
  // Names the program and installs the translations for `locale`.
  static void SetUpApplication(const QLocale& locale);
  // Shows `dialog` and runs it to its end. SIGINT and SIGTERM end it as "Exit" does, and
  // whatever tool or message is open over it with it.
  static int RunMainDialog(MainDialog& dialog);
};

}  // namespace qm

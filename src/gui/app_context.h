// What every dialog of the program works with: the one link and its companions.
#pragma once

#include "core/clock.h"
#include "core/prompter.h"
#include "core/strings.h"
#include "link/printer_link.h"
#include "link/queue_diversion.h"

namespace qm {

class FileChooser;

struct AppContext {
  PrinterLink& link;
  Clock& clock;
  Prompter& prompter;
  const StringTable& strings;
  Spooler& spooler;
  FileChooser& files;
};

}  // namespace qm

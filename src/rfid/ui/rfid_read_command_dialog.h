// The tester's "RFID Read": one read line, its data shown or printed by the printer.
#pragma once

#include "gui/builder_dialog.h"

class QComboBox;

namespace qm {

class RfidReadCommandDialog : public BuilderDialog {
  Q_OBJECT

 public:
  explicit RfidReadCommandDialog(QWidget* parent = nullptr);
  std::optional<std::string> TakeLines(Prompter& prompter) override;

  QComboBox* dataType() const { return dataType_; }
  QComboBox* startBlock() const { return start_; }
  QComboBox* byteCount() const { return bytes_; }
  QComboBox* outputType() const { return output_; }

 protected:
  void LoadDefaults() override;

 private:
  QComboBox* dataType_;
  QComboBox* start_;
  QComboBox* bytes_;
  QComboBox* output_;
};

}  // namespace qm

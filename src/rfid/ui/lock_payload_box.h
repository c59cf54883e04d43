// "Lock-Command Payload": the 2 x 10 check boxes that make the three payload bytes.
#pragma once

#include <QGroupBox>
#include <array>

#include "rfid/rfid_commands.h"

class QCheckBox;

namespace qm {

class LockPayloadBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit LockPayloadBox(const QString& title, QWidget* parent = nullptr);

  // Box `index` of a row: area x 2, + 1 for the right one.
  QCheckBox* maskBox(int index) const { return mask_[static_cast<size_t>(index)]; }
  QCheckBox* actionBox(int index) const { return action_[static_cast<size_t>(index)]; }
  LockPayload payload() const;
  void SetBoxesEnabled(bool on);

 private:
  std::array<QCheckBox*, 10> mask_{};
  std::array<QCheckBox*, 10> action_{};
};

}  // namespace qm

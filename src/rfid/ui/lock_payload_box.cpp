#include "rfid/ui/lock_payload_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace qm {

LockPayloadBox::LockPayloadBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(4);
  const QString heads[kLockAreas] = {tr("Kill\nPass"), tr("Acess\nPass"), tr("EPC\nMemory"), tr("TID\nMemory"),
                                     tr("User\nMemory")};
  for (int a = 0; a < kLockAreas; ++a) {
    auto* head = new QLabel(heads[a]);
    head->setAlignment(Qt::AlignCenter);
    grid->addWidget(head, 0, 1 + a * 2, 1, 2);
  }
  grid->addWidget(new QLabel(tr("Mask")), 1, 0);
  grid->addWidget(new QLabel(tr("Action")), 2, 0);
  for (int i = 0; i < 10; ++i) {
    mask_[static_cast<size_t>(i)] = new QCheckBox;
    action_[static_cast<size_t>(i)] = new QCheckBox;
    const QString area = heads[i / 2].simplified();
    const QString side = i % 2 ? tr("right") : tr("left");
    mask_[static_cast<size_t>(i)]->setAccessibleName(tr("Mask %1 %2").arg(area, side));
    action_[static_cast<size_t>(i)]->setAccessibleName(tr("Action %1 %2").arg(area, side));
    grid->addWidget(mask_[static_cast<size_t>(i)], 1, 1 + i, Qt::AlignHCenter);
    grid->addWidget(action_[static_cast<size_t>(i)], 2, 1 + i, Qt::AlignHCenter);
  }
}

LockPayload LockPayloadBox::payload() const {
  LockPayload p;
  for (size_t i = 0; i < 10; ++i) {
    p.mask[i] = mask_[i]->isChecked();
    p.action[i] = action_[i]->isChecked();
  }
  return p;
}

void LockPayloadBox::SetBoxesEnabled(bool on) {
  for (size_t i = 0; i < 10; ++i) {
    mask_[i]->setEnabled(on);
    action_[i]->setEnabled(on);
  }
}

}  // namespace qm

#include "gui/ip_address_edit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

namespace qm {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (size_t i = 0; i < fields_.size(); ++i) {
    auto* edit = new QLineEdit;
    edit->setValidator(new QIntValidator(0, 255, edit));
    edit->setMaxLength(3);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
    edit->setAccessibleName(tr("IP address field %1").arg(i + 1));
    edit->installEventFilter(this);
    fields_[i] = edit;
    if (i > 0) layout->addWidget(new QLabel(QStringLiteral(".")));
    layout->addWidget(edit);
    // A full field moves on to the next, as operators type an address in one go.
    if (i + 1 < fields_.size()) {
      connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& t) {
        if (t.size() == 3) fields_[i + 1]->setFocus();
      });
    }
  }
  layout->addStretch();
}

QString IpAddressEdit::text() const {
  QStringList parts;
  for (const QLineEdit* f : fields_) parts << QString::number(f->text().toInt());
  return parts.join(QLatin1Char('.'));
}

bool IpAddressEdit::SetText(const QString& dotted) {
  const QStringList parts = dotted.split(QLatin1Char('.'));
  if (parts.size() != 4) return false;
  for (const QString& p : parts) {
    bool ok = false;
    const int v = p.toInt(&ok);
    if (!ok || v < 0 || v > 255) return false;
  }
  for (size_t i = 0; i < fields_.size(); ++i) {
    fields_[i]->setText(QString::number(parts[static_cast<int>(i)].toInt()));
  }
  return true;
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
  // A dot jumps to the next field.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Period) {
    for (size_t i = 0; i + 1 < fields_.size(); ++i) {
      if (watched == fields_[i]) {
        fields_[i + 1]->setFocus();
        fields_[i + 1]->selectAll();
        return true;
      }
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qm

#include "gui/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace qm {

void QtPrompter::Show(const Message& message) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if (message.icon == Icon::kInformation) icon = QMessageBox::Information;
  if (message.icon == Icon::kExclamation) icon = QMessageBox::Warning;
  const QString caption = message.caption.empty() ? QApplication::applicationDisplayName()
                                                  : QString::fromStdString(message.caption);
  QMessageBox box(icon, caption, QString::fromStdString(message.text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace qm

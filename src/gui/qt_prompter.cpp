#include "gui/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "gui/qt_strings.h"

namespace qm {

void QtPrompter::Show(const Message& message) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if (message.icon == Icon::kInformation) icon = QMessageBox::Information;
  if (message.icon == Icon::kExclamation) icon = QMessageBox::Warning;
  const QString caption =
      message.caption.empty()
          ? QString::fromLatin1(kProgramName)
          : QString::fromLatin1(message.caption.data(), static_cast<qsizetype>(message.caption.size()));
  QMessageBox box(icon, caption, ShownText(message), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace qm

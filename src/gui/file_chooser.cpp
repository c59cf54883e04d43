#include "gui/file_chooser.h"

#include <QFileDialog>
#include <QStringList>

namespace qm {

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const int paren = name.indexOf(QLatin1Char('('));
    if (paren > 0) name = name.left(paren).trimmed();
    QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // "*.*" would hide files without an extension here; all files means "*".
    if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
    out << QStringLiteral("%1 (%2)").arg(name, patterns);
  }
  return out.join(QStringLiteral(";;"));
}

std::optional<QString> DialogFileChooser::ChooseOpen(QWidget* parent, const QString& filter) {
  QFileDialog dialog(parent, QString(), QString(), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> DialogFileChooser::ChooseSave(QWidget* parent, const QString& proposedName,
                                                     const QString& filter) {
  QFileDialog dialog(parent, QString(), QString(), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace qm

// Choosing files to load and save; tests answer in place of the system's file dialogs.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qm {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // `filter` is in the printer tools' form: "Name(*.x)|*.x|...||". Empty when cancelled.
  virtual std::optional<QString> ChooseOpen(QWidget* parent, const QString& filter) = 0;
  virtual std::optional<QString> ChooseSave(QWidget* parent, const QString& proposedName,
                                            const QString& filter) = 0;
};

// The system's open and save dialogs.
class DialogFileChooser : public FileChooser {
 public:
  std::optional<QString> ChooseOpen(QWidget* parent, const QString& filter) override;
  std::optional<QString> ChooseSave(QWidget* parent, const QString& proposedName,
                                    const QString& filter) override;
};

// "All files(*.*)|*.*|Text files(*.txt)|*.txt||" as Qt writes it:
// "All files (*.*);;Text files (*.txt)".
QString QtFileFilter(const QString& filter);

}  // namespace qm

// "2 Byte Codepage": one label per block of a Korean, Chinese or Japanese code table.
#pragma once

#include <QDialog>

#include "commands/two_byte_codepage.h"
#include "gui/app_context.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm {

struct PiecesWritten;

class TwoByteCodepageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TwoByteCodepageDialog(AppContext& context, QWidget* parent = nullptr);

  // The fields as the controls hold them.
  TwoByteCodepageFields TakeFields() const;
  // "Print Characters": the blocks one label at a time, with progress and Cancel.
  void PrintCharacters();

  struct Controls {
    QComboBox* codeTable;
    QLineEdit* startBlock;
    QLineEdit* endBlock;
    QLabel* blockArea;
    QCheckBox* printAllBlocks;
    QRadioButton* bitmapFont;
    QRadioButton* vectorFont;
    QComboBox* bitmapFontName;
    QLineEdit* vectorFontWidth;
    QLineEdit* vectorFontHeight;
    QPushButton* print;
    QPushButton* close;
    // How much of the last print went out.
    QLabel* status;
  };
  const Controls& controls() const { return c_; }
  // The status line after a print: how many labels went out, failed, or were not tried.
  static QString Summary(const PiecesWritten& sent);

 private:
  void ShowFields(const TwoByteCodepageFields& fields);
  void EnableFields();

  AppContext& context_;
  QButtonGroup* fontKinds_;
  Controls c_;
};

}  // namespace qm

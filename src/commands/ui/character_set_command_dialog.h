// "Character Set Command": test labels of a code table and of the international sets.
#pragma once

#include <QDialog>

#include "commands/character_set_print.h"
#include "gui/app_context.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qm {

class RealNumberSpin;

class CharacterSetCommandDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CharacterSetCommandDialog(AppContext& context, QWidget* parent = nullptr);

  // The fields as the controls hold them.
  CharacterSetFields TakeFields() const;

  void PrintUnder80H();
  void PrintOver80H();
  // The sixteen sets one write each, with progress and Cancel.
  void PrintInternational();

  struct Controls {
    QComboBox* ics;
    QComboBox* codeTable;
    QRadioButton* bitmapFont;
    QRadioButton* vectorFont;
    RealNumberSpin* xPos;
    RealNumberSpin* yPos;
    QComboBox* font;
    QLabel* sizeOneLabel;
    QSpinBox* sizeOne;
    QLabel* sizeTwoLabel;
    QSpinBox* sizeTwo;
    QPushButton* under80H;
    QPushButton* international;
    QPushButton* over80H;
    QPushButton* close;
    // How much of the last international print went out.
    QLabel* status;
  };
  const Controls& controls() const { return c_; }

 private:
  void ShowFields(const CharacterSetFields& fields);
  void ChooseFont(FontKind kind);
  void Send(const std::vector<std::string>& writes);

  AppContext& context_;
  QButtonGroup* fontKinds_;
  Controls c_;
};

}  // namespace qm

// The fields and rows that the barcode, block and label/print setting builders share.
#pragma once

#include <QDoubleSpinBox>
#include <QString>
#include <initializer_list>
#include <string>
#include <utility>

#include "commands/command_framing.h"
#include "core/prompter.h"

class QBoxLayout;
class QButtonGroup;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qm {

struct AppContext;

// A real number as the builders show it: its shortest form in `digits` significant digits
// ("100", "812.8"). The arrows step by 1 within the spin's range, but a typed number may lie
// beyond it: a coordinate past 1000 dots is still a place on a long label.
class RealNumberSpin : public QDoubleSpinBox {
  Q_OBJECT

 public:
  RealNumberSpin(double spinMinimum, double spinMaximum, int digits, QWidget* parent = nullptr);

  // The number as the field shows it, which is what a command is built from.
  double shown() const;

  QString textFromValue(double value) const override;
  double valueFromText(const QString& text) const override;
  QValidator::State validate(QString& text, int& position) const override;
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  double spinMinimum_;
  double spinMaximum_;
  int digits_;
};

// A coordinate in printer dots: arrows from 0 to 1000.
RealNumberSpin* CoordinateSpin();
// A whole-number spin over the field's range.
QSpinBox* IntegerSpin(const FieldRange& range);

// Label and field pairs in a grid, `perRow` pairs a row, in reading order. A QLabel is
// made the buddy of its field; any other widget (a check box) stands as it is.
QGridLayout* FieldGrid(std::initializer_list<std::pair<QWidget*, QWidget*>> pairs, int perRow);

// The text data field between the quotes that frame it in the command.
QHBoxLayout* QuotedDataRow(QWidget* data);

// The dialog's buttons flush right; none of them takes Return.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

// Radio buttons `labels` added to `layout`, numbered from 0 in the order given; the group
// belongs to `owner`.
QButtonGroup* RadioButtons(QBoxLayout* layout, QObject* owner, std::initializer_list<QString> labels);

// The operator's text as command bytes, and command bytes as text to edit: Latin-1, line
// breaks as CR LF.
std::string DataBytes(const QString& text);
QString DataText(const std::string& bytes);
// Whether `text`, typed into `field` that the dialog names `name`, can go into a command;
// if not, the message names the characters and the field, and the field takes the focus.
bool DataCarried(QWidget* field, const QString& text, const QString& name, Prompter& prompter);

// A one-label test print in one write; its result is not examined.
void SendTestPrint(AppContext& context, const std::string& line);

}  // namespace qm

// Page "Printer Info": model name, model type, firmware version and head temperature.
#pragma once

#include <QWidget>

#include "gui/app_context.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm {

class PrinterInformationPage : public QWidget {
  Q_OBJECT

 public:
  explicit PrinterInformationPage(AppContext& context, QWidget* parent = nullptr);

  // Asks the printer for the four values, stepping the progress bar along.
  void Get();

  QLabel* modelName() const { return modelName_; }
  QLabel* modelType() const { return modelType_; }
  QLabel* firmwareVersion() const { return firmwareVersion_; }
  QLabel* temperature() const { return temperature_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* getButton() const { return get_; }

 private:
  void Advance();
  void ShowTexts(const QString& name, const QString& type, const QString& firmware, const QString& temperature);

  AppContext& context_;
  QLabel* modelName_;
  QLabel* modelType_;
  QLabel* firmwareVersion_;
  QLabel* temperature_;
  QProgressBar* progress_;
  QPushButton* get_;
};

}  // namespace qm

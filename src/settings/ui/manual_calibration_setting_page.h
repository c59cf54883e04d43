// Tab "F/W Ver. less than 1.39": the printer calibrates by itself, with a number of
// detections and a detect margin chosen from presets or freely.
#pragma once

#include <QWidget>
#include <array>

#include "gui/app_context.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qm {

class ManualCalibrationSettingPage : public QWidget {
  Q_OBJECT

 public:
  explicit ManualCalibrationSettingPage(AppContext& context, QWidget* parent = nullptr);

  // "Setting 1" to "Setting 8" (`preset` 0..7).
  void ApplyPreset(int preset);
  void ExecuteManualCalibration();
  void CancelCalibration();

  QComboBox* mediaTypeList() const { return mediaType_; }
  QLineEdit* labelLengthField() const { return labelLength_; }
  QComboBox* detectList() const { return detect_; }
  QComboBox* marginList() const { return margin_; }
  QPushButton* presetButton(int preset) const { return presets_[static_cast<size_t>(preset)]; }
  QPushButton* executeButton() const { return execute_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  AppContext& context_;
  QComboBox* mediaType_;
  QLineEdit* labelLength_;
  QComboBox* detect_;
  QComboBox* margin_;
  std::array<QPushButton*, 8> presets_{};
  QPushButton* execute_;
  QPushButton* cancel_;
};

}  // namespace qm

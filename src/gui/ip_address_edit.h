// An IPv4 address box: four fields of 0 to 255.
#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

namespace qm {

class IpAddressEdit : public QWidget {
  Q_OBJECT

 public:
  explicit IpAddressEdit(QWidget* parent = nullptr);

  // "%d.%d.%d.%d" of the four fields, first field first; an empty field counts as 0.
  QString text() const;
  // Sets the fields from dotted text; false (fields unchanged) when it is no IPv4 address.
  bool SetText(const QString& dotted);
  QLineEdit* field(int i) const { return fields_[static_cast<size_t>(i)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLineEdit*, 4> fields_{};
};

}  // namespace qm

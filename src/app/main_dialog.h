// The main window: choose the interface, connect, and open the tools.
#pragma once

#include <QDialog>
#include <array>

#include "gui/app_context.h"
#include "link/queue_diversion.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm {

class IpAddressEdit;

class MainDialog : public QDialog {
  Q_OBJECT

 public:
  // Interface choice indexes, as the radio buttons number them.
  enum Choice { kChoiceSerial = 0, kChoiceParallel = 1, kChoiceUsb = 2, kChoiceEthernet = 3 };
  // The fixed default printer address of the IP box.
  static constexpr const char* kDefaultAddress = "192.168.1.100";

  MainDialog(AppContext& context, QWidget* parent = nullptr);
  // Gives diverted print queues back, whatever the link's kind.
  ~MainDialog() override;

  void Connect();
  void Disconnect();
  void Exit();
  bool connected() const { return connected_; }
  int interfaceChoice() const { return choice_; }
  const QueueMap& queueMap() const { return queues_; }
  // Points Ethernet at `address`:`port` (the demo printer, or a test's).
  void SetEthernetTarget(const QString& address, int port);

  QRadioButton* radio(int choice) const { return radios_[static_cast<size_t>(choice)]; }
  QComboBox* lptBox() const { return lpt_; }
  QComboBox* comBox() const { return com_; }
  QComboBox* baudBox() const { return baud_; }
  QComboBox* dataBitsBox() const { return dataBits_; }
  QComboBox* parityBox() const { return parity_; }
  QComboBox* stopBitsBox() const { return stopBits_; }
  IpAddressEdit* ipBox() const { return ip_; }
  QLineEdit* portBox() const { return port_; }
  QPushButton* connectButton() const { return connect_; }
  QPushButton* disconnectButton() const { return disconnect_; }
  QPushButton* exitButton() const { return exit_; }
  QPushButton* testerButton() const { return tester_; }
  QPushButton* userSettingButton() const { return otherTools_[kUserSettingTool]; }
  QPushButton* calibrationButton() const { return otherTools_[kCalibrationTool]; }
  QPushButton* pcxDownloaderButton() const { return otherTools_[kPcxDownloaderTool]; }
  QPushButton* fileTransferButton() const { return otherTools_[kFileTransferTool]; }
  QPushButton* rfidConfigurationButton() const { return otherTools_[kRfidConfigurationTool]; }
  QPushButton* rfidWriteButton() const { return otherTools_[kRfidWriteTool]; }
  QLabel* statusLine() const { return status_; }

 public slots:
  // Esc and the system menu's Close leave the main window open.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnRadio(int choice);
  void ApplyRadioState(int choice);
  void SetConnected(bool on);
  void OpenTester();
  void OpenUserSettings();
  // Whether this version has the tool of button `tool` (an index into otherTools_).
  static bool ToolBuilt(size_t tool);
  void OpenCalibration();
  static constexpr size_t kUserSettingTool = 0;
  static constexpr size_t kCalibrationTool = 1;
  static constexpr size_t kPcxDownloaderTool = 2;
  static constexpr size_t kFileTransferTool = 3;
  static constexpr size_t kRfidConfigurationTool = 4;
  static constexpr size_t kRfidWriteTool = 5;
  void RestoreDivertedQueues();

  AppContext& context_;
  QueueMap queues_;
  int choice_ = kChoiceSerial;
  bool connected_ = false;
  bool exiting_ = false;

  std::array<QRadioButton*, 4> radios_{};
  QButtonGroup* radioGroup_;
  QComboBox* lpt_;
  QComboBox* com_;
  QComboBox* baud_;
  QComboBox* dataBits_;
  QComboBox* parity_;
  QComboBox* stopBits_;
  IpAddressEdit* ip_;
  QLineEdit* port_;
  QPushButton* connect_;
  QPushButton* disconnect_;
  QPushButton* exit_;
  QPushButton* tester_;
  std::array<QPushButton*, 6> otherTools_{};
  QLabel* status_;
};

}  // namespace qm

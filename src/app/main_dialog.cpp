#include "app/main_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/ui/qdrl_tester_dialog.h"
#include "downloads/ui/file_transfer_dialog.h"
#include "downloads/ui/pcx_file_downloader_dialog.h"
#include "gui/ip_address_edit.h"
#include "link/connect.h"
#include "gui/qt_strings.h"
#include "rfid/ui/rfid_configuration_dialog.h"
#include "rfid/ui/rfid_write_dialog.h"
#include "settings/ui/calibration_setting_manager_dialog.h"
#include "settings/ui/user_setting_manager_dialog.h"
#include "gui/long_work.h"

namespace qm {

namespace {

constexpr std::array<uint32_t, 5> kBaudRates{9600, 19200, 38400, 57600, 115200};
constexpr std::array<int32_t, 2> kDataBits{7, 8};
constexpr std::array<int32_t, 3> kStopBitCodes{0, 1, 2};

QComboBox* List(const QStringList& items, int initial) {
  auto* box = new QComboBox;
  box->addItems(items);
  box->setCurrentIndex(initial);
  return box;
}

// The status line's text, followed by what the spooler could not do with the print queues
// (said once: the spooler forgets it once taken).
QString WithSpoolerNotice(const QString& text, Spooler& spooler) {
  const std::string notice = spooler.TakeNotice();
  if (notice.empty()) return text;
  const QString said = QString::fromStdString(notice);
  return text.isEmpty() ? said : text + QLatin1Char('\n') + said;
}

}  // namespace

MainDialog::MainDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(QtStringTable().Translated(sid::kTitle));
  setWindowIcon(QIcon(QStringLiteral(":/quillmark.png")));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  // Interface choice.
  auto* interfaceBox = new QGroupBox(tr("Interface Type"));
  auto* interfaceLayout = new QVBoxLayout(interfaceBox);
  radioGroup_ = new QButtonGroup(this);
  const QStringList radioLabels{tr("Serial"), tr("Parallel"), tr("USB"), tr("Ethernet")};
  for (int i = 0; i < 4; ++i) {
    auto* r = new QRadioButton(radioLabels[i]);
    radios_[static_cast<size_t>(i)] = r;
    radioGroup_->addButton(r, i);
    interfaceLayout->addWidget(r);
  }
  radios_[0]->setChecked(true);
  connect(radioGroup_, &QButtonGroup::idClicked, this, &MainDialog::OnRadio);

  lpt_ = List({"LPT1:", "LPT2:", "LPT3:", "LPT4:"}, 0);
  auto* lptBox = new QGroupBox(tr("LPT Port"));
  (new QVBoxLayout(lptBox))->addWidget(lpt_);

  // Serial settings.
  com_ = List({"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "COM9:", "COM10:"}, 0);
  baud_ = List({"9600", "19200", "38400", "57600", "115200"}, 4);
  dataBits_ = List({"7", "8"}, 1);
  parity_ = List({"None", "Odd", "Even"}, 0);
  parity_->setEditable(true);
  stopBits_ = List({"1", "1.5", "2"}, 0);
  auto* commBox = new QGroupBox(tr("Comm Setting"));
  auto* commLayout = new QFormLayout(commBox);
  commLayout->addRow(tr("COM Port"), com_);
  commLayout->addRow(tr("Baud Rate"), baud_);
  commLayout->addRow(tr("Data Bits"), dataBits_);
  commLayout->addRow(tr("Parity"), parity_);
  commLayout->addRow(tr("Stop Bits"), stopBits_);

  // Ethernet settings.
  ip_ = new IpAddressEdit;
  ip_->SetText(QString::fromLatin1(kDefaultAddress));
  port_ = new QLineEdit(QStringLiteral("9100"));
  port_->setValidator(new QIntValidator(1, 65535, port_));
  port_->setMaximumWidth(80);
  auto* etherBox = new QGroupBox(tr("Ethernet"));
  auto* etherLayout = new QFormLayout(etherBox);
  etherLayout->addRow(tr("IP"), ip_);
  etherLayout->addRow(tr("Port"), port_);

  connect_ = new QPushButton(tr("Connect"));
  disconnect_ = new QPushButton(tr("Disconnect"));
  exit_ = new QPushButton(tr("Exit"));
  connect(connect_, &QPushButton::clicked, this, &MainDialog::Connect);
  connect(disconnect_, &QPushButton::clicked, this, &MainDialog::Disconnect);
  connect(exit_, &QPushButton::clicked, this, &MainDialog::Exit);
  auto* connectRow = new QHBoxLayout;
  connectRow->addWidget(connect_);
  connectRow->addWidget(disconnect_);
  connectRow->addStretch();
  connectRow->addWidget(exit_);

  // The tools, in their group boxes.
  auto* userBox = new QGroupBox(tr("User Setting"));
  auto* userLayout = new QVBoxLayout(userBox);
  otherTools_[0] = new QPushButton(tr("User Setting Manager"));
  otherTools_[1] = new QPushButton(tr("Calibration Setting Manager"));
  userLayout->addWidget(otherTools_[0]);
  userLayout->addWidget(otherTools_[1]);
  auto* downloaderBox = new QGroupBox(tr("Downloader"));
  otherTools_[2] = new QPushButton(tr("PCX File Downloader"));
  (new QVBoxLayout(downloaderBox))->addWidget(otherTools_[2]);
  auto* transferBox = new QGroupBox(tr("File Transfer"));
  otherTools_[3] = new QPushButton(tr("File Transfer Manager"));
  (new QVBoxLayout(transferBox))->addWidget(otherTools_[3]);
  auto* rfidBox = new QGroupBox(tr("RFID"));
  auto* rfidLayout = new QVBoxLayout(rfidBox);
  otherTools_[4] = new QPushButton(tr("Set Configuration"));
  otherTools_[5] = new QPushButton(tr("Write/Read"));
  rfidLayout->addWidget(otherTools_[4]);
  rfidLayout->addWidget(otherTools_[5]);
  tester_ = new QPushButton(tr("QDRL Tester"));
  tester_->setMinimumHeight(40);
  connect(tester_, &QPushButton::clicked, this, &MainDialog::OpenTester);
  connect(otherTools_[kUserSettingTool], &QPushButton::clicked, this, &MainDialog::OpenUserSettings);
  connect(otherTools_[kCalibrationTool], &QPushButton::clicked, this, &MainDialog::OpenCalibration);
  connect(otherTools_[kPcxDownloaderTool], &QPushButton::clicked, this, [this] {
    PcxFileDownloaderDialog dialog(context_, this);
    dialog.exec();
  });
  connect(otherTools_[kFileTransferTool], &QPushButton::clicked, this, [this] {
    FileTransferDialog dialog(context_, this);
    dialog.exec();
  });
  connect(otherTools_[kRfidConfigurationTool], &QPushButton::clicked, this, [this] {
    RfidConfigurationDialog dialog(context_, this);
    dialog.exec();
  });
  connect(otherTools_[kRfidWriteTool], &QPushButton::clicked, this, [this] {
    RfidWriteDialog dialog(context_, this);
    dialog.exec();
  });
  for (size_t i = 0; i < otherTools_.size(); ++i) {
    if (!ToolBuilt(i)) otherTools_[i]->setToolTip(tr("Not available yet"));
  }

  status_ = new QLabel;
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long reason or print-queue notice wraps instead of widening the window.
  status_->setWordWrap(true);

  auto* settings = new QGridLayout;
  settings->addWidget(interfaceBox, 0, 0);
  settings->addWidget(lptBox, 1, 0);
  settings->addWidget(commBox, 0, 1, 2, 1);
  settings->addWidget(etherBox, 2, 0, 1, 2);
  auto* toolsLayout = new QGridLayout;
  toolsLayout->addWidget(userBox, 0, 0);
  toolsLayout->addWidget(downloaderBox, 0, 1);
  toolsLayout->addWidget(transferBox, 1, 0);
  toolsLayout->addWidget(rfidBox, 1, 1);
  toolsLayout->addWidget(tester_, 2, 0, 1, 2);
  auto* top = new QHBoxLayout;
  top->addLayout(settings);
  top->addLayout(toolsLayout);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(connectRow);
  layout->addWidget(status_);

  // Enter presses the focused button; Enter anywhere else means Exit (see keyPressEvent).
  for (QPushButton* b : findChildren<QPushButton*>()) {
    b->setAutoDefault(true);
    b->setDefault(false);
  }
  ApplyRadioState(kChoiceSerial);
  SetConnected(false);
}

MainDialog::~MainDialog() { RestoreDivertedQueues(); }

void MainDialog::RestoreDivertedQueues() {
  // Whatever the link's kind: queues diverted by an earlier failed serial or parallel
  // Connect must not stay pointed away from their port.
  if (!queues_.empty()) RestoreQueues(queues_, context_.spooler);
}

void MainDialog::SetEthernetTarget(const QString& address, int port) {
  ip_->SetText(address);
  port_->setText(QString::number(port));
}

void MainDialog::OnRadio(int choice) {
  choice_ = choice;
  ApplyRadioState(choice);
}

void MainDialog::ApplyRadioState(int choice) {
  const bool serial = choice == kChoiceSerial;
  lpt_->setEnabled(choice == kChoiceParallel);
  for (QComboBox* b : {com_, baud_, dataBits_, parity_, stopBits_}) b->setEnabled(serial);
  ip_->setEnabled(choice == kChoiceEthernet);
  port_->setEnabled(choice == kChoiceEthernet);
}

void MainDialog::SetConnected(bool on) {
  connected_ = on;
  if (on) {
    for (QComboBox* b : {lpt_, com_, baud_, dataBits_, parity_, stopBits_}) b->setEnabled(false);
  } else if (choice_ != kChoiceEthernet) {
    ApplyRadioState(choice_);
  }
  for (QRadioButton* r : radios_) r->setEnabled(!on);
  connect_->setEnabled(!on);
  disconnect_->setEnabled(on);
  tester_->setEnabled(on);
  // Tools that have not been built into this version stay off either way.
  for (size_t i = 0; i < otherTools_.size(); ++i) otherTools_[i]->setEnabled(on && ToolBuilt(i));
  // On Ethernet the calibration button only says that calibration needs another interface.
  if (on && choice_ == kChoiceEthernet) otherTools_[kCalibrationTool]->setEnabled(true);
}

void MainDialog::Connect() {
  // Whatever an earlier Connect said is no longer so, even when this one stops short.
  status_->clear();
  choice_ = radioGroup_->checkedId();
  std::string portName;
  switch (choice_) {
    case kChoiceSerial:
      portName = com_->currentText().toStdString();
      break;
    case kChoiceParallel:
      portName = lpt_->currentText().toStdString();
      break;
    case kChoiceUsb:
      portName = "USB";
      break;
    default:
      portName = "ETHERNET";
      break;
  }

  // A typed parity must be one of the listed ones; anything else has no defined meaning.
  int parity = parity_->findText(parity_->currentText().trimmed(), Qt::MatchFixedString);
  if (choice_ == kChoiceSerial && parity < 0) {
    context_.prompter.Show(
        GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Parity must be None, Odd or Even."), Icon::kExclamation));
    return;
  }
  const int port = port_->text().toInt();
  if (choice_ == kChoiceEthernet && (port < 1 || port > 65535)) {
    context_.prompter.Show(
        GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Port must be a number from 1 to 65535."), Icon::kExclamation));
    return;
  }

  ConnectRequest request;
  request.portName = portName;
  request.address = ip_->text().toStdString();
  request.tcpPort = static_cast<uint32_t>(port);
  request.serial = SerialParameters{kBaudRates[static_cast<size_t>(baud_->currentIndex())], parity,
                                    kDataBits[static_cast<size_t>(dataBits_->currentIndex())],
                                    kStopBitCodes[static_cast<size_t>(stopBits_->currentIndex())]};
  PrinterLink& link = context_.link;
  // The status line tells this outcome before its message box is up, not after it. An
  // Ethernet connect may wait seconds for a printer that has gone: on the worker.
  if (RunLongWork(context_, this, [&](Work&) { return ConnectLink(link, &context_.spooler, queues_, request); })
          .value) {
    status_->setText(WithSpoolerNotice(tr("Connected: %1").arg(QString::fromStdString(portName)),
                                       context_.spooler));
    context_.prompter.Show(NumberedMessage(context_.strings, sid::kPortOpened, Icon::kInformation));
    SetConnected(true);
  } else {
    status_->setText(WithSpoolerNotice(QString::fromStdString(link.lastError()), context_.spooler));
    context_.prompter.Show(NumberedMessage(context_.strings, sid::kCannotOpenPort, Icon::kExclamation));
  }
}

void MainDialog::Disconnect() {
  PrinterLink& link = context_.link;
  const InterfaceKind kind = link.GetInterfaceKind();
  if (kind == kEthernet) link.Close();
  if (kind == kSerial || kind == kParallel) {
    link.Close();
    RestoreQueues(queues_, context_.spooler);
  }
  status_->setText(WithSpoolerNotice({}, context_.spooler));
  SetConnected(false);
}

void MainDialog::Exit() {
  exiting_ = true;
  accept();
}

bool MainDialog::ToolBuilt(size_t tool) {
  return tool == kUserSettingTool || tool == kCalibrationTool || tool == kPcxDownloaderTool ||
         tool == kFileTransferTool || tool == kRfidConfigurationTool || tool == kRfidWriteTool;
}

void MainDialog::OpenUserSettings() {
  UserSettingManagerDialog dialog(context_, this);
  dialog.exec();
}

void MainDialog::OpenCalibration() {
  if (choice_ == kChoiceEthernet) {
    context_.prompter.Show(NumberedMessage(context_.strings, sid::kNoCalibrationOnEthernet, Icon::kInformation));
    return;
  }
  CalibrationSettingManagerDialog dialog(context_, this);
  dialog.exec();
}

void MainDialog::OpenTester() {
  QdrlTesterDialog tester(context_, this);
  tester.exec();
}

void MainDialog::closeEvent(QCloseEvent* event) {
  // Only "Exit" ends the program; the close box and Alt+F4 do not.
  if (exiting_) {
    event->accept();
    return;
  }
  event->ignore();
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !qobject_cast<QPushButton*>(focusWidget())) {
    Exit();
    return;
  }
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

}  // namespace qm

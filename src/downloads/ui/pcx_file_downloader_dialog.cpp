#include "downloads/ui/pcx_file_downloader_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "downloads/image_commands.h"
#include "gui/printer_text.h"
#include "gui/long_work.h"

namespace qm {

namespace {

const QString kFilter = QStringLiteral("PCX files (*.pcx)|*.pcx||");

// Names and positions go to the printer as typed, in its 8-bit code page; a character it
// has no byte for is refused, naming the field by its accessible name.
std::optional<std::string> Typed(QLineEdit* edit, Prompter& prompter) {
  return FieldBytes(edit, edit->accessibleName(), prompter);
}

// The file's name less its last four characters, as ImageNameFromFileName has it, but by
// character: a name the code page cannot carry is shown as it is and refused when used.
QString ImageName(const QString& fileName) { return fileName.size() < 4 ? QString() : fileName.chopped(4); }

QLineEdit* NameEdit(const QString& accessibleName) {
  auto* edit = new QLineEdit;
  edit->setAccessibleName(accessibleName);
  edit->setMinimumWidth(160);
  return edit;
}

}  // namespace

PcxFileDownloaderDialog::PcxFileDownloaderDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), panel_(new DownloadPanel(context, this)) {
  setWindowTitle(tr("PCX File Downloader"));

  storeName_ = NameEdit(tr("Image name to store"));
  download_ = new QPushButton(tr("DownLoad"));
  auto* storeBox = new QGroupBox(tr("Image Store (IS)"));
  auto* storeGrid = new QGridLayout(storeBox);
  storeGrid->addWidget(new QLabel(tr("Image Name :")), 0, 0);
  storeGrid->addWidget(storeName_, 0, 1);
  storeGrid->addWidget(download_, 0, 2);
  storeGrid->addLayout(panel_->ProgressRows(), 1, 0, 1, 3);
  storeGrid->setColumnStretch(1, 1);

  deleteName_ = NameEdit(tr("Image name to delete"));
  delete_ = new QPushButton(tr("Delete Image"));
  deleteAll_ = new QPushButton(tr("Delete All Images"));
  auto* deleteBox = new QGroupBox(tr("Image Delete (ID)"));
  auto* deleteGrid = new QGridLayout(deleteBox);
  deleteGrid->addWidget(new QLabel(tr("Image Name :")), 0, 0);
  deleteGrid->addWidget(deleteName_, 0, 1);
  deleteGrid->addWidget(delete_, 0, 2);
  deleteGrid->addWidget(deleteAll_, 1, 2);
  deleteGrid->setColumnStretch(1, 1);

  recallName_ = NameEdit(tr("Image name to recall"));
  x_ = new QLineEdit(QStringLiteral("0"));
  y_ = new QLineEdit(QStringLiteral("0"));
  x_->setAccessibleName(tr("X position"));
  y_->setAccessibleName(tr("Y position"));
  recall_ = new QPushButton(tr("Image Recall"));
  auto* recallBox = new QGroupBox(tr("Image Recall (IR)"));
  auto* recallGrid = new QGridLayout(recallBox);
  recallGrid->addWidget(new QLabel(tr("Image Name :")), 0, 0);
  recallGrid->addWidget(recallName_, 0, 1, 1, 3);
  recallGrid->addWidget(recall_, 0, 4);
  recallGrid->addWidget(new QLabel(tr("X Position :")), 1, 0);
  recallGrid->addWidget(x_, 1, 1);
  recallGrid->addWidget(new QLabel(tr("Y Position :")), 1, 2);
  recallGrid->addWidget(y_, 1, 3);
  recallGrid->setColumnStretch(1, 1);
  recallGrid->setColumnStretch(3, 1);

  information_ = new QPushButton(tr("Image Information"));
  close_ = new QPushButton(tr("CLOSE"));
  for (QPushButton* b : {download_, delete_, deleteAll_, recall_, information_, close_}) b->setAutoDefault(false);
  connect(panel_->browseButton(), &QPushButton::clicked, this, &PcxFileDownloaderDialog::Browse);
  connect(download_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::Download);
  connect(delete_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::DeleteImage);
  connect(deleteAll_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::DeleteAllImages);
  connect(information_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::ImageInformation);
  connect(recall_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::ImageRecall);
  connect(close_, &QPushButton::clicked, this, &PcxFileDownloaderDialog::accept);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(information_);
  bottom->addStretch();
  bottom->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panel_->PathRow());
  layout->addWidget(panel_->InformationBox());
  layout->addWidget(storeBox);
  layout->addWidget(deleteBox);
  layout->addWidget(recallBox);
  layout->addLayout(bottom);
}

void PcxFileDownloaderDialog::Browse() {
  if (!panel_->Browse(kFilter)) return;
  // The name the printer will know it by: the file's name less ".pcx", in all three boxes.
  const QString name = ImageName(panel_->fileName());
  for (QLineEdit* edit : {storeName_, deleteName_, recallName_}) edit->setText(name);
}

void PcxFileDownloaderDialog::Download() {
  if (!panel_->chosen()) {
    context_.prompter.Show(NumberedMessage(context_.strings, sid::kSelectPcxFiles, Icon::kExclamation));
    return;
  }
  // An emptied name is filled again from the file's name, and shown.
  if (storeName_->text().isEmpty()) {
    storeName_->setText(ImageName(panel_->fileName()));
  }
  const std::optional<std::string> typed = Typed(storeName_, context_.prompter);
  if (!typed) return;
  const std::string path = panel_->path();
  const std::string name = *typed;
  panel_->Run(
      [&](const TransferOptions& options, Prompter& prompter) {
        return StoreImage(context_.link, prompter, context_.strings, path, name, options);
      },
      {download_, delete_, deleteAll_, recall_, information_, close_, storeName_});
}

// Even a single command may wait out a connect to a printer that has gone: on the worker.
void PcxFileDownloaderDialog::DeleteImage() {
  const std::optional<std::string> name = Typed(deleteName_, context_.prompter);
  if (!name) return;
  RunLongWork(context_, this, [&](Work& w) { qm::DeleteImage(context_.link, w.prompter, context_.strings, *name); });
}

void PcxFileDownloaderDialog::DeleteAllImages() {
  RunLongWork(context_, this, [&](Work&) { qm::DeleteAllImages(context_.link); });
}

void PcxFileDownloaderDialog::ImageInformation() {
  RunLongWork(context_, this, [&](Work&) { RequestImageInformation(context_.link); });
}

void PcxFileDownloaderDialog::ImageRecall() {
  const std::optional<std::string> name = Typed(recallName_, context_.prompter);
  if (!name) return;
  const std::optional<std::string> x = Typed(x_, context_.prompter);
  if (!x) return;
  const std::optional<std::string> y = Typed(y_, context_.prompter);
  if (!y) return;
  RunLongWork(context_, this,
              [&](Work& w) { RecallImage(context_.link, w.prompter, context_.strings, *x, *y, *name); });
}

void PcxFileDownloaderDialog::reject() {
  if (panel_->running()) {
    panel_->Cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace qm

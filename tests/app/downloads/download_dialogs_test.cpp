// The download dialogs: what browsing shows, the bytes and messages of each button, the
// bar during a transfer, Cancel, and the image store end to end in the virtual printer.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "../gui_support.h"
#include "downloads/ui/file_transfer_dialog.h"
#include "downloads/ui/pcx_file_downloader_dialog.h"
#include "printer/virtual_printer.h"
#include "scripted_printer.h"
#include "../uncarried_message.h"

namespace qm {

namespace {

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + 7) & 0xFF);
  return s;
}

// A link on COM1 to `path`, with every message recorded.
struct Bench {
  explicit Bench(const std::string& path)
      : link(clock, prompter, EnglishStrings(), test::ScriptedPrinterTiming(),
             test::ScriptedPrinterDevices(path, test::IsolatedDevices())),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {
    link.SetPortName("COM1:");
    link.Open();
  }
  QString File(const QString& name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
  }
  std::vector<int> ids() const { return prompter.ids(); }

  QTemporaryDir dir;
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  test::FakeSpooler spooler;
  test::FakeFileChooser files;
  PrinterLink link;
  AppContext context;
};

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// Waits (a little, on a loaded machine) until `done` holds.
template <typename Done>
bool Eventually(Done done) {
  for (int i = 0; i < 3000 && !done(); ++i) QTest::qWait(1);
  return done();
}

}  // namespace

class DownloadDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void FileTransferBrowseShowsTheFileAndCancelForgetsIt() {
    test::ScriptedPrinter printer;
    Bench b(printer.path());
    FileTransferDialog dialog(b.context);
    const QString path = b.File(QStringLiteral("data.bin"), Pattern(5000));
    b.files.nextOpen = path;
    QTest::mouseClick(dialog.panel()->browseButton(), Qt::LeftButton);
    QCOMPARE(b.files.lastFilter, QStringLiteral("All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||"));
    QCOMPARE(dialog.panel()->fileNameLabel()->text(), QStringLiteral("data.bin"));
    QCOMPARE(dialog.panel()->sizeLabel()->text(), QStringLiteral("5000 Bytes"));
    QCOMPARE(dialog.panel()->pathEdit()->text(), path);
    b.files.nextOpen.reset();
    QTest::mouseClick(dialog.panel()->browseButton(), Qt::LeftButton);
    QCOMPARE(dialog.panel()->fileNameLabel()->text(), QStringLiteral("None"));
    QCOMPARE(dialog.panel()->sizeLabel()->text(), QStringLiteral("0 Byte"));
    QVERIFY(dialog.panel()->pathEdit()->text().isEmpty());
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(b.ids(), std::vector<int>{sid::kSelectBinaryFile});
    QVERIFY(printer.received().empty());
  }

  // 5000 bytes go out as 2048, 2048 and 904, the bar following the bytes; a file gone
  // since it was chosen sends nothing.
  void FileTransferSendsWithTheBarFollowing() {
    test::ScriptedPrinter printer;
    Bench b(printer.path());
    FileTransferDialog dialog(b.context);
    const std::string data = Pattern(5000);
    b.files.nextOpen = b.File(QStringLiteral("data.bin"), data);
    dialog.Browse();
    std::vector<int> bar;
    std::vector<bool> closeEnabled;
    connect(dialog.panel(), &DownloadPanel::progressed, this, [&] {
      bar.push_back(dialog.panel()->bar()->value());
      closeEnabled.push_back(dialog.closeButton()->isEnabled());
    });
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(bar, (std::vector<int>{409, 819, 1000}));
    QCOMPARE(closeEnabled, (std::vector<bool>{false, false, false}));
    QCOMPARE(dialog.panel()->bar()->value(), 0);
    QVERIFY(dialog.closeButton()->isEnabled());
    QCOMPARE(b.ids(), std::vector<int>{sid::kBinaryDownloadDone});
    QCOMPARE(Bytes(printer.received(5000)), Bytes(data));
    QVERIFY(b.link.isOpen());

    b.prompter.messages.clear();
    QFile::remove(dialog.panel()->pathEdit()->text());
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(b.ids(), std::vector<int>{sid::kCantOpenFile});
  }

  // Cancel half way: nothing after the piece under way, and the count said.
  void FileTransferCancelHalfWay() {
    test::ScriptedPrinter printer;
    Bench b(printer.path());
    FileTransferDialog dialog(b.context);
    b.files.nextOpen = b.File(QStringLiteral("data.bin"), Pattern(10000));
    dialog.Browse();
    connect(dialog.panel(), &DownloadPanel::progressed, this, [&](quint64 sent) {
      if (sent >= 4096) QTest::mouseClick(dialog.panel()->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(b.prompter.messages.size(), size_t{1});
    QCOMPARE(b.prompter.messages[0].text, std::string("Binary file download was cancelled after 4096 of 10000 bytes were sent."));
    QCOMPARE(Bytes(printer.received(4096)), Bytes(Pattern(4096)));
    QVERIFY(!dialog.panel()->cancelButton()->isEnabled());
    QVERIFY(dialog.downloadButton()->isEnabled());
  }

  // LOGO.pcx through the virtual printer: the names filled from the file, the image
  // stored under the name in the box, and the check print recalling it.
  void PcxStoreEndToEnd_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("name from the file") << QString() << QStringLiteral("LOGO");
    QTest::newRow("typed over") << QStringLiteral("MINE") << QStringLiteral("MINE");
    QTest::newRow("emptied and refilled") << QStringLiteral("") << QStringLiteral("LOGO");
  }
  void PcxStoreEndToEnd() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    printer::PrinterOptions options;
    options.listen.reset();
    options.serial = true;
    printer::VirtualPrinter printer(options);
    std::string error;
    QVERIFY2(printer.Start(error), error.c_str());
    Bench b(printer.serialPath());
    PcxFileDownloaderDialog dialog(b.context);
    const std::string image = Pattern(1234);
    b.files.nextOpen = b.File(QStringLiteral("LOGO.pcx"), image);
    QTest::mouseClick(dialog.panel()->browseButton(), Qt::LeftButton);
    QCOMPARE(b.files.lastFilter, QStringLiteral("PCX files (*.pcx)|*.pcx||"));
    QCOMPARE(dialog.panel()->sizeLabel()->text(), QStringLiteral("1234 Bytes"));
    for (QLineEdit* name : {dialog.storeName(), dialog.deleteName(), dialog.recallName()}) {
      QCOMPARE(name->text(), QStringLiteral("LOGO"));
    }
    if (!typed.isNull()) dialog.storeName()->setText(typed);
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(dialog.storeName()->text(), stored);
    QCOMPARE(b.ids(), std::vector<int>{sid::kPcxDownloadDone});
    QVERIFY(Eventually([&] { return printer.labels().size() == 1; }));
    const auto labels = printer.labels();
    QCOMPARE(labels[0].commands.size(), size_t{1});
    QCOMPARE(QString::fromStdString(labels[0].commands[0].raw()), "IR100,100,'" + stored + "'");
    QVERIFY(labels[0].commands[0].image);
    QCOMPARE(Bytes(*labels[0].commands[0].image), Bytes(image));
    QCOMPARE(printer.images(), (std::map<std::string, size_t>{{stored.toStdString(), 1234}}));
    printer.Stop();
  }

  // Recall, delete and the information command on the wire; empty names are refused.
  void PcxCommandButtons() {
    test::ScriptedPrinter printer;
    Bench b(printer.path());
    PcxFileDownloaderDialog dialog(b.context);
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.recallButton(), Qt::LeftButton);
    QCOMPARE(b.ids(), (std::vector<int>{sid::kSelectPcxFiles, sid::kTypeImageName, sid::kTypeImageName}));
    QCOMPARE(dialog.xPosition()->text(), QStringLiteral("0"));
    QCOMPARE(dialog.yPosition()->text(), QStringLiteral("0"));
    dialog.recallName()->setText(QStringLiteral("LOGO"));
    QTest::mouseClick(dialog.recallButton(), Qt::LeftButton);
    dialog.deleteName()->setText(QStringLiteral("LOGO"));
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.deleteAllButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.informationButton(), Qt::LeftButton);
    const std::string wire = "IR0,0,'LOGO'\rP1\rID'LOGO'IIID*IIII";
    QCOMPARE(Bytes(printer.received(wire.size())), Bytes(wire));
    QCOMPARE(b.prompter.messages.size(), size_t{3});
  }

  // A name Latin-1 has no byte for is refused by each button, naming the characters and
  // the box; nothing goes out (the information command written last arrives alone).
  void PcxNamesTheCodePageCannotCarryAreRefused_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("field");
    QTest::newRow("recall") << 0 << "Image name to recall";
    QTest::newRow("delete") << 1 << "Image name to delete";
    QTest::newRow("store") << 2 << "Image name to store";
    QTest::newRow("recall's X") << 3 << "X position";
  }
  void PcxNamesTheCodePageCannotCarryAreRefused() {
    QFETCH(int, box);
    QFETCH(QString, field);
    test::ScriptedPrinter printer;
    Bench b(printer.path());
    PcxFileDownloaderDialog dialog(b.context);
    dialog.show();
    // Browsing shows the file's own name, not "??".
    b.files.nextOpen = b.File(QStringLiteral("\u5199\u771f.pcx"), Pattern(300));
    QTest::mouseClick(dialog.panel()->browseButton(), Qt::LeftButton);
    QCOMPARE(dialog.recallName()->text(), QStringLiteral("\u5199\u771f"));
    QCOMPARE(dialog.storeName()->text(), QStringLiteral("\u5199\u771f"));
    QString characters = QStringLiteral("\u5199\u771f");
    QLineEdit* edit = dialog.recallName();
    QPushButton* button = dialog.recallButton();
    if (box == 1) {
      edit = dialog.deleteName();
      button = dialog.deleteButton();
    } else if (box == 2) {
      edit = dialog.storeName();
      button = dialog.downloadButton();
    } else if (box == 3) {
      dialog.recallName()->setText(QStringLiteral("LOGO"));
      edit = dialog.xPosition();
      edit->setText(QStringLiteral("\uff11"));  // a full-width 1
      characters = QStringLiteral("\uff11");
    }
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(test::UncarriedProblem(b.prompter.messages, field, characters), QString());
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(edit));
    QTest::mouseClick(dialog.informationButton(), Qt::LeftButton);
    QCOMPARE(Bytes(printer.received(2)), QByteArray("II"));
  }
};

}  // namespace qm

QTEST_MAIN(qm::DownloadDialogsTest)
#include "download_dialogs_test.moc"

// The tool dialogs against Ethernet printers that fail: one that drops the connection in
// the middle of a download, one that takes a query and never answers. Each must end in the
// failure message within the link's time-out and leave the dialog ready for the next try.
#include <QPushButton>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <regex>

#include "downloads/ui/file_transfer_dialog.h"
#include "gui/number_field.h"
#include "../gui_support.h"
#include "hostile_peer.h"
#include "loopback_server.h"
#include "settings/ui/printer_page_setting_page.h"

namespace qm {

namespace {

using test::HostilePeer;
using test::PeerStep;

// Long enough to measure against a real wait, short enough for a unit test.
constexpr int kReadWaitMs = 600;
// A loaded machine running the sanitizers: seconds of slack.
constexpr int64_t kMarginMs = 5000;

// The dialogs' context with an Ethernet link whose read time-out is kReadWaitMs.
struct EthernetBench {
  EthernetBench()
      : link(clock, prompter, EnglishStrings(), Timing(), test::IsolatedDevices()),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {
    link.SetPortName("ETHERNET");
  }
  static LinkTiming Timing() {
    LinkTiming t = test::GuiContext::Timing();
    t.tcpReadWaitMs = kReadWaitMs;
    return t;
  }
  void PointAt(uint16_t port) {
    link.SetEthernetSettings("127.0.0.1", port);
    link.Open();
  }
  test::FakeClock clock;
  test::RecordingPrompter prompter;
  test::FakeSpooler spooler;
  test::FakeFileChooser files;
  PrinterLink link;
  AppContext context;
};

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + 17) & 0xFF);
  return s;
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

class GuiFaultsTest : public QObject {
  Q_OBJECT

 private slots:
  // The printer reads 8 KiB and closes: the transfer says how far it got, the file is as
  // it was, and the next DownLoad to a printer that takes everything completes.
  void FileTransferToAPrinterThatDropsTheConnection() {
    EthernetBench b;
    HostilePeer dropping({PeerStep::Read(8192), PeerStep::Close()});
    b.PointAt(dropping.port());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    const std::string data = Pattern(65536);
    {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(data.data(), static_cast<qint64>(data.size()));
    }
    FileTransferDialog dialog(b.context);
    dialog.show();
    b.files.nextOpen = path;
    dialog.Browse();
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);

    QCOMPARE(b.prompter.messages.size(), size_t{1});
    const Message& failed = b.prompter.messages[0];
    QCOMPARE(failed.icon, Icon::kExclamation);
    std::smatch m;
    QVERIFY2(std::regex_match(failed.text, m,
                              std::regex("Binary file download failed after (\\d+) of 65536 bytes were sent\\.\n"
                                         "the connection broke after \\1 bytes: (Connection reset by peer|Broken pipe)")),
             failed.text.c_str());
    const size_t said = std::stoul(m[1]);
    // The transfer's connection is the one that brought anything; the link's opening
    // connections brought nothing.
    std::string got;
    for (const std::string& one : dropping.received()) got = one.empty() ? got : one;
    QVERIFY(said >= got.size() && said < data.size());
    QCOMPARE(got.size(), size_t{8192});
    QVERIFY(got == data.substr(0, got.size()));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll() == QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    QVERIFY(dialog.downloadButton()->isEnabled());
    QVERIFY(dialog.closeButton()->isEnabled());
    QCOMPARE(dialog.panel()->bar()->value(), 0);

    test::LoopbackServer taking;
    b.PointAt(taking.port());
    b.prompter.messages.clear();
    QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
    QCOMPARE(b.prompter.ids(), std::vector<int>{sid::kBinaryDownloadDone});
    QVERIFY(taking.WaitForTotal(data.size()));
    QVERIFY(taking.connections().back() == data);
  }

  // The printer reads "Get"'s query and holds the connection without a word: the page
  // says the Get failed once the read time-out has passed, not sooner and not much later,
  // and the same button then works against a printer that answers.
  void GetFromAPrinterThatNeverAnswers() {
    EthernetBench b;
    HostilePeer silent({PeerStep::ReadUntil("\r\n"), PeerStep::Hold()});
    b.PointAt(silent.port());
    PrinterPageSettingPage page(b.context);
    page.show();
    QPushButton* get = page.getButton(NumericItem::kPaperWidth);
    const int64_t start = NowMs();
    QTest::mouseClick(get, Qt::LeftButton);
    const int64_t took = NowMs() - start;
    QVERIFY2(took >= kReadWaitMs && took <= kReadWaitMs + kMarginMs, std::to_string(took).c_str());
    QCOMPARE(silent.received().back(), std::string("^PI5,0\r\n"));
    QCOMPARE(b.prompter.messages.size(), size_t{1});
    QCOMPARE(b.prompter.messages[0].text, std::string("Getting paper width is failed"));
    QCOMPARE(b.prompter.messages[0].icon, Icon::kExclamation);
    QVERIFY(!page.setButton(NumericItem::kPaperWidth)->isEnabled());
    QVERIFY(get->isEnabled());

    test::LoopbackServer answering([](size_t, const std::string&) { return std::string("812\r\n"); });
    b.PointAt(answering.port());
    b.prompter.messages.clear();
    QTest::mouseClick(get, Qt::LeftButton);
    QCOMPARE(b.prompter.messages.size(), size_t{1});
    QCOMPARE(b.prompter.messages[0].text, std::string("Getting paper width is successful"));
    QCOMPARE(page.numberField(NumericItem::kPaperWidth)->text(), QStringLiteral("812"));
    QVERIFY(page.setButton(NumericItem::kPaperWidth)->isEnabled());
  }
};

}  // namespace qm

QTEST_MAIN(qm::GuiFaultsTest)
#include "gui_faults_test.moc"

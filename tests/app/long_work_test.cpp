// Long work in the GUI: the window stays alive while the link waits, Cancel ends a wait at
// once and nothing is written after it, and no message box is ever under a progress dialog.
#include <QApplication>
#include <QProgressDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <memory>
#include <mutex>

#include "commands/ui/qdrl_tester_dialog.h"
#include "core/progress.h"
#include "gui/long_work.h"
#include "gui/qt_clock.h"
#include "gui_support.h"
#include "loopback_listener.h"
#include "loopback_server.h"
#include "rfid/ui/rfid_configuration_dialog.h"

namespace qm {

namespace {

QProgressDialog* VisibleProgress() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* p = qobject_cast<QProgressDialog*>(w);
    if (p && p->objectName() == QLatin1String("longWorkProgress") && p->isVisible()) return p;
  }
  return nullptr;
}

// Records each message with whether a progress dialog was on screen when it came.
class WitnessPrompter : public Prompter {
 public:
  void Show(const Message& message) override {
    messages.push_back(message);
    underProgress.push_back(VisibleProgress() != nullptr);
  }
  std::vector<Message> messages;
  std::vector<bool> underProgress;
};

// The real clock and an Ethernet link to `port`, waits as the printer's own.
struct RealContext {
  explicit RealContext(uint16_t port, int readWaitMs = 3000)
      : link(clock, prompter, EnglishStrings(), Timing(readWaitMs), test::IsolatedDevices()),
        context{link, clock, prompter, EnglishStrings(), spooler, files} {
    link.SetPortName("ETHERNET");
    link.SetEthernetSettings("127.0.0.1", port);
    link.Open();
    prompter.messages.clear();
    prompter.underProgress.clear();
    link.SetTrace([this](PrinterLink::Direction d, std::string_view bytes) {
      if (d != PrinterLink::Direction::kWrite) return;
      std::lock_guard lock(mutex);
      writes.emplace_back(MonotonicMs(), std::string(bytes));
    });
  }
  static LinkTiming Timing(int readWaitMs) {
    LinkTiming t;
    t.tcpReadWaitMs = readWaitMs;
    t.tcpConnectWaitMs = 1000;
    return t;
  }
  std::vector<std::pair<int64_t, std::string>> Writes() {
    std::lock_guard lock(mutex);
    return writes;
  }
  QtClock clock;
  WitnessPrompter prompter;
  test::FakeSpooler spooler;
  test::FakeFileChooser files;
  PrinterLink link;
  AppContext context;
  std::mutex mutex;
  std::vector<std::pair<int64_t, std::string>> writes;
};

}  // namespace

class LongWorkTest : public QObject {
  Q_OBJECT

 private slots:
  // A printer that takes the connection and never answers: seven reads of 3 s each. The
  // window answers at once, the progress comes up after half a second, and its Cancel ends
  // the read under way with no query after it.
  void RfidGetAgainstASilentPrinterAnswersAndCancels() {
    // Listening, never accepting: the system completes each connection and nothing answers.
    uint16_t port = 0;
    const int silent = test::ListenOnLoopback(port);
    RealContext c(port);
    RfidConfigurationDialog dialog(c.context);
    dialog.show();
    QPushButton other(QStringLiteral("other"));
    other.show();
    int64_t clickedAt = 0;
    connect(&other, &QPushButton::clicked, [&] { clickedAt = MonotonicMs(); });

    const int64_t start = MonotonicMs();
    int64_t clickAsked = 0;
    QTimer::singleShot(100, [&] {
      clickAsked = MonotonicMs();
      QTest::mouseClick(&other, Qt::LeftButton);
    });
    int64_t progressShownAt = 0, cancelledAt = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      QProgressDialog* p = VisibleProgress();
      if (!p || cancelledAt) return;
      if (!progressShownAt) progressShownAt = MonotonicMs();
      if (MonotonicMs() - start < 900) return;
      cancelledAt = MonotonicMs();
      QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
    });
    watch.start(10);
    QTest::mouseClick(dialog.getButton(), Qt::LeftButton);
    const int64_t endedAt = MonotonicMs();
    watch.stop();

    QVERIFY(clickAsked > 0);
    QVERIFY2(clickedAt > 0 && clickedAt - (start + 100) < 100, "the click was answered late or not at all");
    QVERIFY(progressShownAt > 0);
    QVERIFY(progressShownAt - start >= kProgressAfterMs - 20);
    QVERIFY(cancelledAt > 0);
    QVERIFY2(endedAt - cancelledAt < 1000, std::to_string(endedAt - cancelledAt).c_str());
    QVERIFY(VisibleProgress() == nullptr);
    const auto writes = c.Writes();
    QVERIFY(!writes.empty());
    QVERIFY(writes.size() < 7);
    for (const auto& [at, bytes] : writes) QVERIFY2(at <= cancelledAt, bytes.c_str());
    for (const bool under : c.prompter.underProgress) QVERIFY(!under);
    ::close(silent);
  }

  // A short job shows no progress dialog at all.
  void ShortWorkShowsNoProgress() {
    test::LoopbackServer silent;
    RealContext c(silent.port());
    QWidget parent;
    parent.show();
    bool seen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] { seen = seen || VisibleProgress(); });
    watch.start(5);
    const auto r = RunLongWork(c.context, &parent, [&](Work&) {
      c.clock.Sleep(100);
      return 7;
    });
    QCOMPARE(r.value, 7);
    QVERIFY(!r.cancelled);
    QVERIFY(!seen);
  }

  // The worker's messages, the link's own and the operation's, come in the order raised,
  // once the work is over.
  void MessagesComeInOrderAfterTheWork() {
    RealContext c(test::ClosedLoopbackPort());
    QWidget parent;
    parent.show();
    size_t shownDuringWork = 99;
    RunLongWork(c.context, &parent, [&](Work& w) {
      w.prompter.Show(Message{"first", Icon::kNone, {}, 0});
      c.link.Write("P1\r");  // refused: the link says so
      w.prompter.Show(Message{"second", Icon::kNone, {}, 0});
      shownDuringWork = c.prompter.messages.size();
    });
    QCOMPARE(shownDuringWork, size_t{0});
    QCOMPARE(c.prompter.messages.size(), size_t{3});
    QCOMPARE(c.prompter.messages[0].text, std::string("first"));
    QCOMPARE(c.prompter.messages[1].stringId, sid::kConnectFailed);
    QCOMPARE(c.prompter.messages[2].text, std::string("second"));
    // The link's messages go to the program's prompter again afterwards.
    c.link.Write("P1\r");
    QCOMPARE(c.prompter.messages.size(), size_t{4});
  }

  // Multi Send to a printer that goes away while the progress is up: the connect failure
  // is shown, and only once the progress dialog has closed.
  void MultiSendToAPrinterThatHasGoneShowsItsErrorAfterTheProgress() {
    auto printer = std::make_unique<test::LoopbackServer>();
    RealContext c(printer->port(), 200);
    QdrlTesterDialog tester(c.context);
    tester.show();
    tester.SetCommandText("P1\r\n");
    tester.sendCount()->setValue(10000);
    bool progressSeen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (VisibleProgress() && !progressSeen) {
        progressSeen = true;
        // The printer goes while the progress is on screen.
        QTimer::singleShot(100, [&] { printer.reset(); });
      }
    });
    watch.start(10);
    QTest::mouseClick(tester.multiSendButton(), Qt::LeftButton);
    watch.stop();
    QVERIFY(progressSeen);
    QVERIFY(!printer);
    QCOMPARE(c.prompter.messages.size(), size_t{1});
    QCOMPARE(c.prompter.messages[0].stringId, sid::kConnectFailed);
    QCOMPARE(c.prompter.underProgress, std::vector<bool>{false});
    QVERIFY(tester.sentCounter()->text().isEmpty());
  }
};

}  // namespace qm

QTEST_MAIN(qm::LongWorkTest)
#include "long_work_test.moc"

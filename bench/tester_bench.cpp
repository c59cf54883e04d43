// The tester at size: load, insert and save of large scripts, and the preview and `render`
// of scripts with many labels. Offscreen; one line per size and one per label count.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "commands/script_file.h"
#include "commands/ui/label_preview_pane.h"
#include "commands/ui/qdrl_tester_dialog.h"
#include "gui_support.h"

namespace {

namespace fs = std::filesystem;

// Peak resident memory since the last reset, in MiB.
double PeakRssMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// The peak starts again from what is resident now.
void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A label of a few typical commands; `labels` of them, or as many as fill `bytes`.
std::string Script(size_t bytes, int labels) {
  const std::string label =
      "BD10,10,400,80,O\r\nT20,100,Z,1,1,0,0,N,N,'Quillmark 0042'\r\n"
      "B150,200,1,3,7,120,0,1,'QM-0042'\r\nV50,400,U,40,40,1,N,N,N,0,L,0,'Label'\r\nP1\r\n";
  std::string s;
  if (labels > 0) {
    for (int i = 0; i < labels; ++i) s += label;
    return s;
  }
  // Drawing lines without a print: the editor's work, not the renderer's.
  const std::string line = "T20,100,Z,1,1,0,0,N,N,'Quillmark 0042 large script line'\r\n";
  while (s.size() + line.size() <= bytes) s += line;
  return s;
}

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// A bare write of `bytes` to a new file and its fsync, as a save does, without the tester.
double WriteAndSyncMs(const fs::path& path, const std::string& bytes) {
  QElapsedTimer t;
  t.start();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd == -1) return -1;
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
  const double ms = Ms(t);
  fs::remove(path);
  return ms;
}

// Peak memory of `quillmark-cli render` drawing `script` into a fresh folder.
double RenderRssMb(const fs::path& script, const fs::path& out) {
  fs::create_directories(out);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only its memory is of interest, not the names it prints.
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    const std::string s = script.string(), o = out.string();
    ::execl(QUILLMARK_CLI_PATH, QUILLMARK_CLI_PATH, "render", s.c_str(), "-o", o.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  fs::remove_all(out);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path dir = fs::temp_directory_path() / ("quillmark-tester-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);

  for (const int mib : {1, 4, 15}) {
    const std::string bytes = Script(static_cast<size_t>(mib) << 20, 0);
    const fs::path in = dir / "in.txt";
    std::ofstream(in, std::ios::binary) << bytes;
    ResetPeakRss();
    qm::test::GuiContext g;
    double loadMs = 0, loadFullMs = 0, loadUiMs = 0, insertMs = 0, saveMs = 0;
    {
      qm::QdrlTesterDialog tester(g.context);
      tester.resize(1366, 768);
      tester.show();
      QApplication::processEvents();
      // The longest the GUI thread was kept from its events during the load: the widest gap
      // between two ticks of a 1 ms timer, from the press to the first paint after it.
      QElapsedTimer t;
      qint64 lastTickNs = 0, widestGapNs = 0;
      QTimer ticks;
      ticks.setTimerType(Qt::PreciseTimer);
      QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = t.nsecsElapsed();
        widestGapNs = std::max(widestGapNs, now - lastTickNs);
        lastTickNs = now;
      });
      ticks.start(1);
      t.start();
      g.files.nextOpen = QString::fromStdString(in.string());
      tester.Load();
      QApplication::processEvents();
      // Shown: the script's start is in the editor and the window answers.
      loadMs = Ms(t);
      // In: every line is in the editor, which takes keys again.
      while (tester.loading()) QApplication::processEvents();
      loadFullMs = Ms(t);
      ticks.stop();
      widestGapNs = std::max(widestGapNs, t.nsecsElapsed() - lastTickNs);
      loadUiMs = static_cast<double>(widestGapNs) / 1e6;
      const std::string line = "P1,1\r\n";
      t.start();
      for (int i = 0; i < 100; ++i) tester.InsertLines(line);
      insertMs = Ms(t) / 100;
      // A key typed in the middle of the script, for the record (the line gives no field for it).
      QTextCursor middle(tester.editor()->document());
      middle.setPosition(tester.editor()->document()->characterCount() / 2);
      tester.editor()->setTextCursor(middle);
      t.start();
      for (int i = 0; i < 20; ++i) QTest::keyClick(tester.editor(), Qt::Key_X);
      std::fprintf(stderr, "size_mib=%d key_ms=%.2f\n", mib, Ms(t) / 20);
      g.files.nextSave = QString::fromStdString((dir / "out.txt").string());
      t.start();
      tester.Save();
      saveMs = Ms(t);
    }
    // What the disk itself takes to make the same bytes durable, which a save must wait for.
    const double syncMs = WriteAndSyncMs(dir / "floor.bin", bytes);
    std::printf(
        "size_mib=%d load_ms=%.0f load_full_ms=%.0f load_ui_ms=%.0f insert_ms=%.2f save_ms=%.0f "
        "disk_sync_ms=%.0f rss_mb=%.0f\n",
        mib, loadMs, loadFullMs, loadUiMs, insertMs, saveMs, syncMs, PeakRssMb());
    std::fflush(stdout);
  }

  for (const int labels : {10, 100, 1000}) {
    const std::string script = Script(0, labels);
    const fs::path in = dir / "labels.txt";
    std::ofstream(in, std::ios::binary) << script;
    double firstMs = 0;
    ResetPeakRss();
    {
      qm::LabelPreviewPane pane;
      pane.resize(500, 700);
      pane.show();
      pane.SetDebounceMs(0);
      QEventLoop loop;
      QObject::connect(&pane, &qm::LabelPreviewPane::rendered, &loop, &QEventLoop::quit);
      QTimer::singleShot(120000, &loop, &QEventLoop::quit);
      QElapsedTimer t;
      t.start();
      pane.SetScript(script);
      loop.exec();
      firstMs = Ms(t);
    }
    const double previewRss = PeakRssMb();
    const double renderRss = RenderRssMb(in, dir / "render");
    std::printf("labels=%d preview_first_ms=%.0f preview_rss_mb=%.0f render_rss_mb=%.0f\n", labels, firstMs,
                previewRss, renderRss);
    std::fflush(stdout);
  }
  fs::remove_all(dir);
  return 0;
}

#include "commands/ui/line_preview.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>
#include <algorithm>

#include "core/prompter.h"
#include "gui/builder_dialog.h"

namespace qm {

namespace {

constexpr int kPaperAround = 8;  // dots of paper kept around the ink
constexpr QSize kPreviewSize(300, 110);

// The smallest rectangle holding every dark dot, or an empty one on a blank label.
QRect InkedRect(const QImage& image) {
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] >= 128) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

LinePreview::LinePreview(QWidget* parent) : QLabel(parent) {
  setFixedSize(kPreviewSize);
  setAlignment(Qt::AlignCenter);
  setFrameShape(QFrame::StyledPanel);
  setBackgroundRole(QPalette::Dark);
  setAutoFillBackground(true);
  setWordWrap(true);
  // The first label alone is shown.
  drawer_.SetReach(0);
  connect(&drawer_, &LabelDrawer::drawn, this, [this](const DrawnLabels& drawn) {
    const auto first = drawn.images.find(0);
    Show(first == drawn.images.end() ? std::vector<QImage>() : std::vector<QImage>{first->second}, drawn.warnings);
  });
}

void LinePreview::SetLines(const std::string& lines) { drawer_.SetScript(lines); }

void LinePreview::Show(const std::vector<QImage>& labels, const QStringList& warnings) {
  const QRect ink = labels.empty() ? QRect() : InkedRect(labels.front());
  if (labels.empty() || labels.front().isNull() || (ink.isNull() && !warnings.isEmpty())) {
    // Nothing to see: say why, in the renderer's words, rather than show blank paper.
    shown_ = QImage();
    setPixmap(QPixmap());
    setText(warnings.isEmpty() ? QString() : warnings.front());
  } else {
    const QImage& label = labels.front();
    shown_ = ink.isNull() ? label
                          : label.copy(ink.adjusted(-kPaperAround, -kPaperAround, kPaperAround, kPaperAround)
                                           .intersected(label.rect()));
    const QSize room = contentsRect().size() - QSize(4, 4);
    // A short line is shown dot for dot; a long one shrinks to fit.
    const bool fits = shown_.width() <= room.width() && shown_.height() <= room.height();
    const QSize size = fits ? shown_.size() : shown_.size().scaled(room, Qt::KeepAspectRatio);
    setPixmap(QPixmap::fromImage(shown_.scaled(size.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                                               Qt::SmoothTransformation)));
  }
  emit rendered();
}

LinePreview* AttachLinePreview(BuilderDialog& dialog, QBoxLayout& layout) {
  auto* preview = new LinePreview;
  layout.insertWidget(std::max(layout.count() - 1, 0), preview, 0, Qt::AlignHCenter);
  const auto refresh = [&dialog, preview] {
    // Taken once the change has been handled: a field's change often brings others along
    // (a new type brings its defaults), and the dialog's own handler may run after this one.
    QMetaObject::invokeMethod(
        preview,
        [&dialog, preview] {
          // Fields that cannot make a command yet draw nothing; the operator hears why on insert.
          SilentPrompter silent;
          const std::optional<std::string> lines = dialog.TakeLines(silent);
          preview->SetLines(lines.value_or(std::string()));
        },
        Qt::QueuedConnection);
  };
  // A spin box's own line edit is quiet when the value is set from code, so spin boxes are
  // followed by their value; the other line edits (editable lists too) by their text.
  for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
    if (!qobject_cast<QAbstractSpinBox*>(edit->parent())) QObject::connect(edit, &QLineEdit::textChanged, preview, refresh);
  }
  for (QSpinBox* spin : dialog.findChildren<QSpinBox*>()) QObject::connect(spin, &QSpinBox::valueChanged, preview, refresh);
  for (QDoubleSpinBox* spin : dialog.findChildren<QDoubleSpinBox*>()) {
    QObject::connect(spin, &QDoubleSpinBox::valueChanged, preview, refresh);
  }
  for (QComboBox* list : dialog.findChildren<QComboBox*>()) {
    QObject::connect(list, &QComboBox::currentIndexChanged, preview, refresh);
  }
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
    if (b->isCheckable()) QObject::connect(b, &QAbstractButton::toggled, preview, refresh);
  }
  for (QPlainTextEdit* e : dialog.findChildren<QPlainTextEdit*>()) {
    QObject::connect(e, &QPlainTextEdit::textChanged, preview, refresh);
  }
  for (QTextEdit* e : dialog.findChildren<QTextEdit*>()) QObject::connect(e, &QTextEdit::textChanged, preview, refresh);
  refresh();
  return preview;
}

}  // namespace qm

// One status command's tab page of "Check Printer Status": the boxes of its reply and its
// test button. The four pages differ only in their command.
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "gui/app_context.h"
#include "settings/printer_status.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qm {

// One command's page: its boxes, its test button and a line that says when no status came.
class StatusCommandPage : public QWidget {
  Q_OBJECT

 public:
  StatusCommandPage(AppContext& context, StatusCommand command, QWidget* parent = nullptr);

  // Asks the printer and ticks the boxes of its answer.
  void Test();

  StatusCommand command() const { return command_; }
  const std::vector<QCheckBox*>& boxes() const { return boxes_; }
  // The texts of the ticked boxes, in layout order.
  QStringList tickedTexts() const;
  QPushButton* testButton() const { return test_; }
  QLabel* noteLabel() const { return note_; }

 private:
  AppContext& context_;
  StatusCommand command_;
  std::vector<QCheckBox*> boxes_;
  QPushButton* test_;
  QLabel* note_;
};

class CpCommandPage : public StatusCommandPage {
  Q_OBJECT
 public:
  explicit CpCommandPage(AppContext& context, QWidget* parent = nullptr)
      : StatusCommandPage(context, StatusCommand::kCp, parent) {}
};

class CuCommandPage : public StatusCommandPage {
  Q_OBJECT
 public:
  explicit CuCommandPage(AppContext& context, QWidget* parent = nullptr)
      : StatusCommandPage(context, StatusCommand::kCu, parent) {}
};

class EeCommandPage : public StatusCommandPage {
  Q_OBJECT
 public:
  explicit EeCommandPage(AppContext& context, QWidget* parent = nullptr)
      : StatusCommandPage(context, StatusCommand::kEe, parent) {}
};

class CpsCommandPage : public StatusCommandPage {
  Q_OBJECT
 public:
  explicit CpsCommandPage(AppContext& context, QWidget* parent = nullptr)
      : StatusCommandPage(context, StatusCommand::kCps, parent) {}
};

}  // namespace qm

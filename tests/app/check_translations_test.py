#!/usr/bin/env python3
"""The translation check itself: each case is a one-file source tree that it must pass or fail."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-translations.py"

TS = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context><name>qm::Page</name>
  <message><source>Get</source><translation>取得</translation></message>
  <message><source>Empty</source><translation></translation></message>
  <message><source>Export…</source><translation>エクスポート…</translation></message>
</context>
<context><name>GuiMessages</name>
  <message><source>Port is wrong.</source><translation>ポートが違います。</translation></message>
</context>
</TS>
"""

# (name, folder, body of Page::Page(), whether the check must pass)
CASES = [
    ("translated text", "settings/ui", 'b->setText(tr("Get"));', True),
    ("text missing from the table", "settings/ui", 'b->setText(tr("Set"));', False),
    ("translated text with an ellipsis character", "settings/ui", 'b->setText(tr("Export…"));', True),
    ("text with an ellipsis character, not translated", "settings/ui", 'b->setText(tr("Import…"));', False),
    ("empty translation", "settings/ui", 'b->setText(tr("Empty"));', False),
    ("tooltip without tr", "app", 'b->setToolTip(QStringLiteral("Not available yet"));', False),
    ("status text built from a literal", "app", 'l->setText(QStringLiteral("Connected: %1").arg(p));', False),
    ("label made from a literal", "settings/ui", 'auto* l = new QLabel(QStringLiteral("Model"));', False),
    ("button made from a plain literal", "commands/ui", 'auto* b = new QPushButton("Close");', False),
    ("window title over two lines", "app", 'setWindowTitle(\n    QString("Tester"));', False),
    ("digits and signs need no translation", "settings/ui", 'f->setText(QStringLiteral("0")); new QCheckBox("(-)");', True),
    ("tab label that stays English", "settings/ui", 'addTab(w, QStringLiteral("Print&&Page"));', True),
    ("literal in a comment", "app", '// b->setToolTip(QStringLiteral("Not available yet"));', True),
    ("GUI message without translation", "app", 'p.Show(Message{"Port is wrong.", Icon::kExclamation, {}, 0});', False),
    ("GUI message marked and translated", "app",
     'p.Show(GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Port is wrong."), Icon::kExclamation));', True),
    ("GUI message marked, not translated", "app",
     'p.Show(GuiMessage(QT_TRANSLATE_NOOP("GuiMessages", "Parity is wrong."), Icon::kExclamation));', False),
    ("operation message outside the dialogs", "settings",
     'p.Show(Message{"Get printer information is failed", Icon::kExclamation, "Warnning", 0});', True),
]


class CheckTranslationsTest(unittest.TestCase):
    def test_cases(self):
        for name, folder, body, passes in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as d:
                root = pathlib.Path(d)
                (root / "resources").mkdir()
                (root / "resources" / "quillmark_ja.ts").write_text(TS, encoding="utf-8")
                src = root / "src" / folder
                src.mkdir(parents=True)
                (src / "page.cpp").write_text(
                    "#include <QLabel>\nnamespace qm {\nPage::Page() {\n  " + body + "\n}\n}  // namespace qm\n",
                    encoding="utf-8")
                run = subprocess.run([sys.executable, str(SCRIPT), str(root)], capture_output=True, text=True)
                self.assertEqual(run.returncode == 0, passes, run.stdout + run.stderr)


if __name__ == "__main__":
    unittest.main()

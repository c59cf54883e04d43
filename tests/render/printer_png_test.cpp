// The virtual printer's picture of a printed label: its own paper, and each command drawn
// with the character set it met.
#include <gtest/gtest.h>

#include "printer/label_png.h"
#include "render_support.h"

namespace qm::render::test {
namespace {

printer::LabelCommand Cmd(const std::string& text, uint32_t settingsIndex = 0) {
  printer::LabelCommand c = *printer::ParseLabelCommand(text);
  c.settingsIndex = settingsIndex;
  return c;
}

TEST(PrinterPng, ALabelIsDrawnOnItsPaperWithItsCharacterSets) {
  printer::PrintedLabel label;
  label.settings.paperWidth = 300;
  label.settings.paperLength = 200;
  label.settings.horizontalMargin = 10;
  label.settings.verticalMargin = 20;
  printer::MediaSettings pc437 = label.settings, pc850 = label.settings;
  pc850.codePage = 1;
  label.settingsInForce = {pc437, pc850};
  label.commands = {Cmd("BD0,0,20,10,O"), Cmd("T0,50,4,1,1,0,0,N,N,'\x9B'", 0), Cmd("T100,50,4,1,1,0,0,N,N,'\x9B'", 1),
                    Cmd("T0,0,Z,1,1,0,0,N,N,'x'")};
  LabelRenderer renderer;
  std::vector<Warning> warnings;
  const Bitmap b = printer::DrawLabel(renderer, label, warnings);
  EXPECT_EQ(b.width(), 300);
  EXPECT_EQ(b.height(), 200);
  EXPECT_EQ(b.InkCount({10, 20, 20, 10}), 200);
  // The same byte, two tables: a cent sign, then an o with a stroke.
  const Box cell{10, 70, 20, 35};
  EXPECT_NE(b.InkCount(cell), b.InkCount({110, 70, 20, 35}));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].line, 4);
  // Bottom first turns the picture.
  label.settings.topFirst = false;
  EXPECT_EQ(printer::DrawLabel(renderer, label, warnings).InkCount({300 - 30, 200 - 30, 20, 10}), 200);
  EXPECT_EQ(printer::LabelPngName("out/label-000007.txt"), "out/label-000007.png");
}

}  // namespace
}  // namespace qm::render::test

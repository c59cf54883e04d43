// Label commands taken apart, and the record written for a printed label.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/label.h"

namespace qm::printer {
namespace {

TEST(PrinterLabelCommand, TakesEachWordApartOrRefusesIt) {
  struct Case {
    std::string text;
    bool ok;
    std::string word;
    size_t fields;
    std::string data;
  };
  const std::vector<Case> cases = {
      {"T20,20,3,1,1,0,0,N,N,'VORMAND Label Printer'", true, "T", 9, "VORMAND Label Printer"},
      {"T20,20,3,1,1,0,0,N,N,'it's'", true, "T", 9, "it's"},
      {"T20,20,3,1,1,0,0,N,N,''", true, "T", 9, ""},
      {"V20,20,U,35,35,-5,B,N,N,0,C,1,'VORMAND Label Printer'", true, "V", 12, "VORMAND Label Printer"},
      {"B1100,100,0,2,7,100,0,1,'123456789'", true, "B1", 8, "123456789"},
      {"B1100,100,0,2,7,100,0,1,12,'123456789'", true, "B1", 9, "123456789"},
      {"B2100,100,M,0,'999,840'", true, "B2", 4, "999,840"},
      {"B2100,100,P,30,5,0,0,1,1,3,10,0,'a\r\nb'", true, "B2", 12, "a\r\nb"},
      {"BD100,100,800,120,O", true, "BD", 5, ""},
      {"BD150,500,495,750,B,15", true, "BD", 6, ""},
      {"CS0,10", true, "CS", 2, ""},
      {"SL1219,24,G", true, "SL", 3, ""},
      {"SOT", true, "SOT", 0, ""},
      {"P1,1", true, "P", 2, ""},
      {"P", true, "P", 0, ""},
      {"IR100,100,'LOGO'", true, "IR", 2, "LOGO"},
      {"T20,20,'x'", false, "", 0, ""},                      // too few fields
      {"T20,20,3,1,1,0,0,N,N,'open", false, "", 0, ""},      // data never closed
      {"T20,20,3,1,1,0,0,N,N,'x'y", false, "", 0, ""},       // bytes after the data
      {"T20,20,3,1,1,0,0,N,N'x'", false, "", 0, ""},         // no comma before the data
      {"BD1,1,2,2,O,'x'", false, "", 0, ""},                 // data where none belongs
      {"SOTX", false, "", 0, ""},
      {"Q1,2", false, "", 0, ""},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseLabelCommand(c.text);
    ASSERT_EQ(parsed.has_value(), c.ok) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->word(), c.word) << c.text;
    EXPECT_EQ(parsed->fieldCount(), c.fields) << c.text;
    EXPECT_EQ(parsed->data(), c.data) << c.text;
    EXPECT_EQ(parsed->raw(), c.text);
  }
}

TEST(PrinterLabelRecord, IsReadableWithRawBytesEscaped) {
  PrintedLabel label;
  label.sequence = 7;
  label.quantity = 2;
  label.copies = 3;
  label.commands.push_back(*ParseLabelCommand("T20,20,3,1,1,0,0,N,N,'\xB0\xA1\\x'"));
  label.commands.push_back(*ParseLabelCommand("IR1,2,'LOGO'"));
  label.commands.back().image = std::make_shared<const std::string>(1234, 'x');
  const std::string record = FormatLabelRecord(label);
  EXPECT_NE(record.find("label 7 (label)\n"), std::string::npos) << record;
  EXPECT_NE(record.find("quantity 2, copies 3\n"), std::string::npos) << record;
  EXPECT_NE(record.find("paper 812 x 1219 dots, gap 24, gap media\n"), std::string::npos) << record;
  EXPECT_NE(record.find("  T20,20,3,1,1,0,0,N,N,'\\xB0\\xA1\\\\x'\n"), std::string::npos) << record;
  EXPECT_NE(record.find("  IR1,2,'LOGO'  (image of 1234 bytes)\n"), std::string::npos) << record;
  EXPECT_EQ(LabelFileName(7), "label-000007.txt");
  EXPECT_EQ(LabelFileName(1234567), "label-1234567.txt");
}

}  // namespace
}  // namespace qm::printer

// The command line of quillmark-printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/printer_options.h"

namespace qm::printer {
namespace {

TEST(PrinterOptions, ReadsEveryOption) {
  PrinterOptions o;
  bool help = true;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--listen", "0.0.0.0:0", "--serial", "--parallel", "/tmp/lpt1", "--usb=/tmp/u",
                            "--model", "4", "--state", "s.json", "--out", "labels", "--forward", "desk", "--fault",
                            "cover-open,ee=12", "--silent", "--delay", "25", "--split", "--split-pause=7",
                            "--log"},
                           o, help, error))
      << error;
  EXPECT_FALSE(help);
  EXPECT_EQ(o.listen, "0.0.0.0:0");
  EXPECT_TRUE(o.serial);
  EXPECT_EQ(o.serialLink, "") << "the next argument is an option, not a link";
  EXPECT_TRUE(o.parallel);
  EXPECT_EQ(o.parallelLink, "/tmp/lpt1");
  EXPECT_EQ(o.usbDir, "/tmp/u");
  EXPECT_EQ(o.model, 4);
  EXPECT_EQ(o.stateFile, "s.json");
  EXPECT_EQ(o.outDir, "labels");
  EXPECT_EQ(o.forwardQueue, "desk");
  EXPECT_TRUE(o.faults.coverOpen);
  EXPECT_EQ(o.faults.errorCode, "12");
  EXPECT_TRUE(o.silent);
  EXPECT_EQ(o.delayMs, 25);
  EXPECT_TRUE(o.split);
  EXPECT_EQ(o.splitPauseMs, 7);
  EXPECT_TRUE(o.log);
}

TEST(PrinterOptions, DefaultsServeLoopbackOnly) {
  PrinterOptions o;
  bool help = false;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, o, help, error));
  EXPECT_EQ(o.listen, "127.0.0.1:9100");
  ASSERT_TRUE(ParseOptions({"--listen", "none", "--serial", "/tmp/com1"}, o, help, error));
  EXPECT_FALSE(o.listen.has_value());
  EXPECT_EQ(o.serialLink, "/tmp/com1");
  EXPECT_TRUE(ParseOptions({"--usb", "/tmp/u", "--listen", "none"}, o, help, error)) << error;
  ASSERT_TRUE(ParseOptions({"--help"}, o, help, error));
  EXPECT_TRUE(help);
}

TEST(PrinterOptions, VersionServesNothing) {
  PrinterOptions o;
  bool help = false;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--listen", "none", "--version"}, o, help, error)) << error;
  EXPECT_TRUE(o.version);
  EXPECT_FALSE(help);
  o = PrinterOptions{};
  ASSERT_TRUE(ParseOptions({"--serial"}, o, help, error));
  EXPECT_FALSE(o.version);
  EXPECT_NE(Usage().find("--version"), std::string::npos);
}

TEST(PrinterOptions, RefusesWhatItCannotUse) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--model", "8"}, "--model 8: expected a number from 0 to 7"},
      {{"--model"}, "--model needs a value"},
      {{"--delay", "-1"}, "--delay -1"},
      {{"--delay", "10ms"}, "--delay 10ms"},
      {{"--fault", "on-fire"}, "unknown fault \"on-fire\""},
      {{"--fault", "ee=1"}, "two characters"},
      {{"--fault", "cps=G0"}, "two hexadecimal digits"},
      {{"--fault", "cps=1"}, "two hexadecimal digits"},
      {{"--silent=yes"}, "--silent takes no value"},
      {{"--usb", ""}, "--usb needs a folder"},
      {{"--forward", ""}, "--forward needs a queue name"},
      {{"--forward"}, "--forward needs a value"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--listen", "127.0.0.1:99999"}, "port 99999 is out of range (0 to 65535)"},
      {{"--listen", "127.0.0.1:184467440737095516160"}, "is out of range"},
      {{"--listen=localhost"}, "expected ADDRESS:PORT"},
      {{"--listen", "none"}, "--listen none leaves no port to serve"},
  };
  for (const Case& c : cases) {
    PrinterOptions o;
    o.delayMs = 3;
    bool help = false;
    std::string error;
    EXPECT_FALSE(ParseOptions(c.args, o, help, error)) << c.args[0];
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(o.delayMs, 3) << "a refused command line changes nothing";
  }
}

}  // namespace
}  // namespace qm::printer

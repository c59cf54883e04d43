// The settings commands on a serial line: the exact bytes each one sends, the pauses it
// takes, what it prints and the printer's messages it passes on.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;

struct WireCase {
  const char* label;
  std::vector<std::string> args;
  std::vector<std::pair<std::string, std::string>> answers;  // query, reply
  std::string sent;
  std::string out;
  std::vector<int> sleeps;
  std::string err;  // the printer's messages, one a line
};

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

std::string Messages(std::initializer_list<const char*> texts) {
  std::string out;
  for (const char* t : texts) out += std::string("quillmark-cli: ") + t + "\n";
  return out;
}

void RunWireCases(const std::vector<WireCase>& cases) {
  for (const WireCase& c : cases) {
    qm::test::ScriptedPrinter printer;
    for (const auto& [query, reply] : c.answers) printer.Answer(query, reply);
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << c.label << ": " << run.err;
    EXPECT_EQ(printer.received(), c.sent) << c.label;
    EXPECT_EQ(run.out, c.out) << c.label;
    EXPECT_EQ(cli.clock.sleeps, c.sleeps) << c.label;
    EXPECT_EQ(run.err, c.err) << c.label;
  }
}

TEST(SettingsWire, InfoAndThePrintAndPageItems) {
  RunWireCases({
      {"info: replies kept but for the line end, temperature with or without one",
       {"info"},
       {{"^PI0", "LMX-C410\r\n"}, {"^PI1", "TT 203dpi"}, {"^PI2", "V1.39\r\n"}, {"^PI4,0", "31"}},
       "^PI0^PI1^PI2^PI4,0",
       "Model Name : LMX-C410\nModel Type : TT 203dpi\nFirmware Version : V1.39\nTPH Temperature : 31 Celsius\n",
       {10, 10, 10, 10},
       Messages({"Get printer information is successful."})},
      {"get paper-width", {"get", "paper-width"}, {{"^PI5,0\r\n", "104\r\n"}}, "^PI5,0\r\n",
       "Paper Width: 104\n", {10}, Messages({"Getting paper width is successful"})},
      {"get density: a bare line end reads as 0", {"get", "density"}, {{"^PI4,1\r\n", "\r\n"}}, "^PI4,1\r\n",
       "Print Density: 0\n", {10}, Messages({"Getting print density is successful"})},
      {"get offset: minus and 005", {"get", "offset"}, {{"^SA\r\n", "-005\r\n"}}, "^SA\r\n", "Print Offset: -5\n",
       {10}, Messages({"Getting offset is successful"})},
      {"get tear-off: plus and 100", {"get", "tear-off"}, {{"^PI4,2\r\n", "+100\r\n"}}, "^PI4,2\r\n",
       "Tear-off/Cutting: 100\n", {10}, Messages({"Getting tear-off/cutting position is successful"})},
      {"get speed: 0x45 is 4ips", {"get", "speed"}, {{"^MBR3,1", Byte(0x45)}}, "^MBR3,1", "Print Speed: 4ips\n",
       {10}, Messages({"Getting speed is successful"})},
      {"get strobe: 0x60 is 3 beside gap upper", {"get", "strobe"}, {{"^MBR4,1", Byte(0x60)}}, "^MBR4,1",
       "Print Strobe: 3\n", {10}, Messages({"Getting strobe is successful"})},
      {"get strobe: 0xC0 is no strobe", {"get", "strobe"}, {{"^MBR4,1", Byte(0xC0)}}, "^MBR4,1",
       "Print Strobe: none\n", {10}, Messages({"Getting strobe is successful"})},
      {"get gap-detect: 0x60 is upper beside strobe 3", {"get", "gap-detect"}, {{"^MBR4,1", Byte(0x60)}},
       "^MBR4,1", "Gap Detect Position: Upper Position of Gap\n", {10},
       Messages({"Getting gap detect position is successful"})},
      {"get gap-detect: 0x20 is upper", {"get", "gap-detect"}, {{"^MBR4,1", Byte(0x20)}}, "^MBR4,1",
       "Gap Detect Position: Upper Position of Gap\n", {10}, Messages({"Getting gap detect position is successful"})},
      {"set paper-width", {"set", "paper-width", "600"}, {}, "^MBU0,600\r", "Paper Width: 600\n", {},
       Messages({"Setting paper width is successful"})},
      {"set paper-length at its top", {"set", "paper-length", "2432"}, {}, "^MBU2,2432\r", "Paper Length: 2432\n",
       {}, Messages({"Setting paper length is successful"})},
      {"set gap-length takes a negative number", {"set", "gap-length", "-3"}, {}, "^MBU5,-3\r",
       "Gap Length: -3\n", {}, Messages({"Setting gap length is successful"})},
      {"set h-margin with leading zeros", {"set", "h-margin", "0016"}, {}, "^MBU3,16\r",
       "Paper Horizontal Margin: 16\n", {}, Messages({"Setting paper horizontal margin is successful"})},
      {"set offset negative", {"set", "offset", "-12"}, {}, "SA-12\r\n", "Print Offset: -12\n", {},
       Messages({"Setting offset is successful"})},
      {"set tear-off positive", {"set", "tear-off", "7"}, {}, "TA+7\r\n", "Tear-off/Cutting: 7\n", {},
       Messages({"Setting Tear-Off/Cutting position is successful"})},
      {"set tear-off -100", {"set", "tear-off", "-100"}, {}, "TA-100\r\n", "Tear-off/Cutting: -100\n", {},
       Messages({"Setting Tear-Off/Cutting position is successful"})},
      {"set speed 5ips: long form, ICS Japan kept", {"set", "speed", "5ips"}, {{"^MBR3,1", Byte(0x0B)}},
       "^MBR3,1^MBS3," + Byte(0x6B) + "\r^MBA" + Byte(3) + "\r", "Print Speed: 5ips\n", {10},
       Messages({"Setting speed is successful"})},
      {"set speed default over 8ips", {"set", "speed", "DEFAULT"}, {{"^MBR3,1", Byte(0xCB)}},
       "^MBR3,1^MBS3," + Byte(0x0B) + "\r^MBA" + Byte(3) + "\r", "Print Speed: Default\n", {10},
       Messages({"Setting speed is successful"})},
      {"set strobe 3 beside gap upper", {"set", "strobe", "3"}, {{"^MBR4,1", Byte(0x20)}},
       "^MBR4,1^MBS4," + Byte(0x60) + "\r^MBA" + Byte(4) + "\r", "Print Strobe: 3\n", {10},
       Messages({"Setting strobe is successful"})},
      {"set gap-detect upper beside strobe 4", {"set", "gap-detect", "upper"}, {{"^MBR4,1", Byte(0x80)}},
       "^MBR4,1^MBS4," + Byte(0xA0) + "\r^MBA" + Byte(4) + "\r", "Gap Detect Position: Upper Position of Gap\n",
       {10}, Messages({"Setting gap detect position is successful"})},
      {"set gap-detect by its entry, switch 4 silent", {"set", "gap-detect", "Lower Position of Gap"}, {},
       "^MBR4,1^MBS4," + Byte(0) + "\r^MBA" + Byte(4) + "\r", "Gap Detect Position: Lower Position of Gap\n", {10},
       Messages({"Setting gap detect position is successful",
                 "Memory switch 4 could not be read first, so the print strobe it also holds was cleared."})},
      {"set check-label-length enable: no message", {"set", "check-label-length", "enable"}, {}, "^MBL1",
       "Check Label Length : Enable\n", {}, ""},
      {"set check-label-length disable", {"set", "check-label-length", "Disable"}, {}, "^MBL0",
       "Check Label Length : Disable\n", {}, ""},
      {"init-user-settings", {"init-user-settings"}, {}, "^MBU\x0F,99\r", "", {},
       Messages({"Initialize all user setting data is successful"})},
  });
}

std::string SerialLines(const char* handShake, const char* stopBit, const char* dataLength, const char* parityCheck,
                        const char* parity, const char* baud) {
  return std::string("Hand Shake : ") + handShake + "\nStop Bit : " + stopBit + "\nData Length : " + dataLength +
         "\nParity Check : " + parityCheck + "\nParity Selection : " + parity + "\nBaudrate : " + baud + "\n";
}

const std::string kSerialSetMessages = Messages({"Set serial communication status is successful",
                                                 "Please, turn off the printer and turn on the printer",
                                                 "Please, close application and re-connect printer"});

TEST(SettingsWire, SerialReadsSwitchTwoAndWritesOnlyTheFieldsGiven) {
  RunWireCases({
      {"serial get 0x35", {"serial", "get"}, {{"^MBR2,1", Byte(0x35)}}, "^MBR2,1",
       SerialLines("Software", "1 Stop Bit", "7", "No Parity", "Odd", "38400"), {10},
       Messages({"Get serial communication status is successful"})},
      {"serial get 0x40: bit 6 alone is the DIP switch", {"serial", "get"}, {{"^MBR2,1", Byte(0x40)}}, "^MBR2,1",
       SerialLines("Hardware", "1 Stop Bit", "8", "No Parity", "Even", "By Dip Switch"), {10},
       Messages({"Get serial communication status is successful"})},
      // The settings are read for the fields not given, and the write reads switch 2 once
      // more to keep bit 7.
      {"serial set --baud keeps the rest", {"serial", "set", "--baud", "57600"}, {{"^MBR2,1", Byte(0x00)}},
       "^MBR2,1^MBR2,1^MBS2," + Byte(0x60) + "^MBA" + Byte(2) + "\r",
       SerialLines("Hardware", "1 Stop Bit", "8", "No Parity", "Even", "57600"), {10, 10}, kSerialSetMessages},
      {"serial set every field", {"serial", "set", "--handshake", "software", "--stop-bits", "2", "--data-length", "7",
       "--parity-check", "on", "--parity", "odd", "--baud", "57600"},
       {{"^MBR2,1", Byte(0x00)}}, "^MBR2,1^MBR2,1^MBS2," + Byte(0x7F) + "^MBA" + Byte(2) + "\r",
       SerialLines("Software", "2 Stop Bit", "7", "Parity", "Odd", "57600"), {10, 10}, kSerialSetMessages},
      {"serial set on 0xFF: bit 7 stays as read", {"serial", "set", "--handshake", "Hardware"},
       {{"^MBR2,1", Byte(0xFF)}}, "^MBR2,1^MBR2,1^MBS2," + Byte(0xFE) + "^MBA" + Byte(2) + "\r",
       SerialLines("Hardware", "2 Stop Bit", "7", "Parity", "Odd", "57600"), {10, 10}, kSerialSetMessages},
      {"serial set --baud dip on 0xE8", {"serial", "set", "--baud", "dip", "--parity-check", "No Parity"},
       {{"^MBR2,1", Byte(0xE8)}}, "^MBR2,1^MBR2,1^MBS2," + Byte(0x80) + "^MBA" + Byte(2) + "\r",
       SerialLines("Hardware", "1 Stop Bit", "8", "No Parity", "Even", "By Dip Switch"), {10, 10}, kSerialSetMessages},
  });
}

TEST(SettingsWire, LanguageReadsBothSwitchesAndWritesBoth) {
  const std::string got = Messages({"Get default codepage && ICS is successful."});
  const std::string set = Messages({"Set default codepage && ICS is successful."});
  RunWireCases({
      {"language get: 23 is PC858, 0x45 holds ICS 5 below speed 4ips", {"language", "get"},
       {{"^MBR1,1", Byte(23)}, {"^MBR3,1", Byte(0x45)}}, "^MBR1,1^MBR3,1",
       "Default CodePage  : PC858 - Latin 1 + Euro\nDefault International Character Set(ICS) : Denmark I\n", {50, 50},
       got},
      {"language get: code page 24 is none", {"language", "get"}, {{"^MBR1,1", Byte(24)}, {"^MBR3,1", Byte(16)}},
       "^MBR1,1^MBR3,1", "Default CodePage  : none\nDefault International Character Set(ICS) : China\n", {50, 50},
       got},
      // The write reads switch 3 once more, to keep the print speed it also holds.
      {"language set both, by entry and by index", {"language", "set", "--codepage", "wpc1252 - latin i", "--ics", "11"},
       {{"^MBR1,1", Byte(0)}, {"^MBR3,1", Byte(0)}},
       "^MBR1,1^MBR3,1^MBS1," + Byte(7) + "^MBA" + Byte(1) + "\r^MBR3,1^MBS3," + Byte(11) + "^MBA" + Byte(3) + "\r",
       "Default CodePage  : WPC1252 - Latin I\nDefault International Character Set(ICS) : Japan\n", {50, 50, 50},
       set},
      {"language set --ics keeps the code page read", {"language", "set", "--ics", "Japan"},
       {{"^MBR1,1", Byte(23)}, {"^MBR3,1", Byte(2)}},
       "^MBR1,1^MBR3,1^MBS1," + Byte(23) + "^MBA" + Byte(1) + "\r^MBR3,1^MBS3," + Byte(11) + "^MBA" + Byte(3) + "\r",
       "Default CodePage  : PC858 - Latin 1 + Euro\nDefault International Character Set(ICS) : Japan\n",
       {50, 50, 50}, set},
      {"language set: blanks and case do not matter", {"language", "set", "--codepage", "pc928 - greek"},
       {{"^MBR1,1", Byte(0)}, {"^MBR3,1", Byte(4)}},
       "^MBR1,1^MBR3,1^MBS1," + Byte(19) + "^MBA" + Byte(1) + "\r^MBR3,1^MBS3," + Byte(4) + "^MBA" + Byte(3) + "\r",
       "Default CodePage  : PC928 -  Greek\nDefault International Character Set(ICS) : U.K\n", {50, 50, 50}, set},
  });
}

TEST(SettingsWire, HardwareInformationWaitsForThePrinterAfterEachWrite) {
  RunWireCases({
      {"hwinfo get version", {"hwinfo", "get", "version"}, {{"^MBX0\r", "A1.2\r\n"}}, "^MBX0\r", "Version: A1.2\n",
       {100}, Messages({"H/W version is A1.2."})},
      {"hwinfo get serial waits a second", {"hwinfo", "get", "serial"}, {{"^MBX1\r", "QM0042\r\n"}}, "^MBX1\r",
       "Number: QM0042\n", {1000}, Messages({"Serial Number is QM0042."})},
      {"hwinfo get id: Latin-1 shown as UTF-8", {"hwinfo", "get", "id"}, {{"^MBX2\r", "N\xB0" "7\r\n"}}, "^MBX2\r",
       "ID: N\xC2\xB0" "7\n", {100}, Messages({"Printer ID is N\xC2\xB0" "7."})},
      {"hwinfo set serial", {"hwinfo", "set", "serial", "SN0001"}, {}, "^MBY1,SN0001\r\n", "Number: SN0001\n", {5700},
       Messages({"Set serial number is successful"})},
      {"hwinfo set id to its longest", {"hwinfo", "set", "id", "PRN-007"}, {}, "^MBY2,PRN-007\r\n", "ID: PRN-007\n",
       {5700}, Messages({"Set printer ID is successful"})},
      {"hwinfo set id empty", {"hwinfo", "set", "id", ""}, {}, "^MBY2,\r\n", "ID: \n", {5700},
       Messages({"Set printer ID is successful"})},
      {"hwinfo set version: UTF-8 in, Latin-1 out", {"hwinfo", "set", "version", "C\xC3\xA9" "1"}, {},
       "^MBY0,C\xE9" "1\r\n", "Version: C\xC3\xA9" "1\n", {5700}, Messages({"Set hardware version is successful"})},
      {"hwinfo init id", {"hwinfo", "init", "id"}, {}, "^MBY\x0F,2\r\n", "", {5700},
       Messages({"Initialize printer ID is successful"})},
  });
}

TEST(SettingsWire, RawSwitches) {
  RunWireCases({
      {"switch read", {"switch", "read", "2"}, {{"^MBR2,1", Byte(0x35)}}, "^MBR2,1", "Switch 2: 0x35 (53)\n", {10}, ""},
      {"switch read a zero byte", {"switch", "read", "1"}, {{"^MBR1,1", Byte(0)}}, "^MBR1,1", "Switch 1: 0x00 (0)\n",
       {10}, ""},
      {"switch write: long form by default", {"switch", "write", "2", "0x35"}, {},
       "^MBS2," + Byte(0x35) + "\r^MBA" + Byte(2) + "\r", "Switch 2: 0x35 (53)\n", {}, ""},
      {"switch write --short", {"switch", "write", "--short", "1", "0"}, {}, "^MBS1," + Byte(0) + "^MBA" + Byte(1) + "\r",
       "Switch 1: 0x00 (0)\n", {}, ""},
      {"switch write decimal 255", {"switch", "write", "4", "255"}, {}, "^MBS4," + Byte(0xFF) + "\r^MBA" + Byte(4) + "\r",
       "Switch 4: 0xFF (255)\n", {}, ""},
      {"switch write a carriage return", {"switch", "write", "3", "0x0d"}, {},
       "^MBS3,\r\r^MBA" + Byte(3) + "\r", "Switch 3: 0x0D (13)\n", {}, ""},
  });
}

TEST(SettingsWire, JsonIsOneObjectWithTheValueAndTheMessages) {
  struct Case {
    std::string command;
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> answers;
    std::string tail;  // what follows "port"
  };
  const Case cases[] = {
      {"get", {"--json", "get", "offset"}, {{"^SA\r\n", "-005\r\n"}},
       R"("item":"offset","value":-5,"messages":["Getting offset is successful"]})"},
      {"serial get", {"serial", "get", "--json"}, {{"^MBR2,1", Byte(0x35)}},
       R"("handShake":"Software","stopBit":"1 Stop Bit","dataLength":"7","parityCheck":"No Parity",)"
       R"("paritySelection":"Odd","baudrate":"38400","messages":["Get serial communication status is successful"]})"},
      {"info", {"--json", "info"}, {{"^PI0", "LMX-C410\r\n"}, {"^PI1", "TT"}, {"^PI2", "V1"}, {"^PI4,0", "31\r\n"}},
       R"("modelName":"LMX-C410\r\n","modelType":"TT","firmwareVersion":"V1","temperature":"31 Celsius","temperatureIsNumber":true,)"
       R"("messages":["Get printer information is successful."]})"},
      {"switch write", {"--json", "switch", "write", "4", "0x80"}, {}, R"("switch":4,"form":"long","value":128})"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter printer;
    for (const auto& [query, reply] : c.answers) printer.Answer(query, reply);
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, R"({"command":")" + c.command + R"(","ok":true,"exit":0,"port":"COM1: ()" + printer.path() +
                           ")\"," + c.tail + "\n");
  }
}

}  // namespace
}  // namespace qm::cli

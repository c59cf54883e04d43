// The settings commands when something is wrong: values refused before anything is sent,
// printers that stay silent or answer nonsense, and writes the line will not take.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli_harness.h"
#include "core/strings.h"
#include "pty_pair.h"
#include "scripted_printer.h"

namespace qm::cli {
namespace {

using test::CliHarness;
using test::Count;

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

// A silent printer costs one read wait per query; keep it short.
void ShortReadWait(CliHarness& cli) {
  cli.env.timing.serialDefaults.readTotalConstantMs = 5;
  cli.env.timing.serialDefaults.readTotalMultiplierMs = 0;
}

TEST(SettingsRefused, BadValuesAreUsageErrorsAndNothingIsSent) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"set", "paper-width", "833"}, "paper-width: 833 is out of range 0..832"},
      {{"set", "paper-width", "-1"}, "paper-width: -1 is out of range 0..832"},
      {{"set", "density", "21"}, "density: 21 is out of range 0..20"},
      {{"set", "offset", "101"}, "offset: 101 is out of range -100..100"},
      {{"set", "tear-off", "-101"}, "tear-off: -101 is out of range -100..100"},
      {{"set", "gap-length", "2147483648"}, "gap-length: \"2147483648\" is not any whole number"},
      {{"set", "paper-width", "12abc"}, "paper-width: \"12abc\" is not 0..832"},
      {{"set", "offset", "+-5"}, "offset: \"+-5\" is not -100..100"},
      {{"set", "strobe", "5"}, "strobe: \"5\" is not 2|3|4"},
      {{"set", "speed", "9ips"}, "speed: \"9ips\" is not default|3ips"},
      {{"set", "gap-detect", "middle"}, "gap-detect: \"middle\" is not lower|upper"},
      {{"set", "check-label-length", "yes"}, "check-label-length: \"yes\" is not enable|disable"},
      {{"set", "colour", "1"}, "ITEM: \"colour\" is none of paper-width, paper-length"},
      {{"get", "check-label-length"}, "check-label-length cannot be read"},
      {{"serial", "set"}, "serial set: give at least one of --handshake"},
      {{"serial", "set", "--baud", "9600"}, "--baud: \"9600\" is not dip|38400|57600"},
      {{"serial", "set", "--parity", "none"}, "--parity: \"none\" is not even|odd"},
      {{"language", "set"}, "language set: give --codepage, --ics or both"},
      {{"language", "set", "--codepage", "24"}, "--codepage: 24 is out of range 0..23"},
      {{"language", "set", "--ics", "17"}, "--ics: 17 is out of range 0..16"},
      {{"language", "set", "--ics", "Atlantis"}, "--ics: \"Atlantis\" is neither an index 0..16 nor an entry"},
      {{"hwinfo", "set", "version", "ABCDE"}, "Hardware version string can't be more than 4 characters."},
      {{"hwinfo", "set", "serial", "SN0123456789ABCDE"}, "Serial number string can't be more than 16 characters."},
      {{"hwinfo", "set", "id", "PRN-0007"}, "Printer ID string can't be more than 7 character."},
      {{"hwinfo", "set", "id", "A\r\nB"}, "TEXT: control characters cannot be stored"},
      {{"hwinfo", "set", "id", "\xE2\x82\xAC" "5"}, "TEXT: only characters of Latin-1 can be stored"},
      {{"hwinfo", "get", "model"}, "ITEM: \"model\" is none of version, serial, id"},
      {{"hwinfo", "set", "id"}, "TEXT is required"},
      {{"switch", "read", "5"}, "N: \"5\" is not a switch 1..4"},
      {{"switch", "write", "0", "1"}, "N: \"0\" is not a switch 1..4"},
      {{"switch", "write", "2", "256"}, "BYTE: \"256\" is not 0..255"},
      {{"switch", "write", "2", "0x1G"}, "BYTE: \"0x1G\" is not 0..255"},
      {{"switch", "write", "2", "-1"}, "BYTE: \"-1\" is not 0..255"},
  };
  qm::test::ScriptedPrinter printer;
  for (const auto& c : cases) {
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 2) << c.error;
    EXPECT_EQ(run.out, "") << c.error;
    EXPECT_NE(run.err.find("quillmark-cli: " + c.error), std::string::npos) << run.err;
    EXPECT_TRUE(cli.clock.sleeps.empty()) << c.error;
  }
  EXPECT_EQ(printer.received(), "");
}

TEST(SettingsSilentPrinter, EachCommandShowsItsFailureMessageAndExitsOne) {
  struct Case {
    std::vector<std::string> args;
    std::string sent;  // a write that needs a read first stops at the read
    std::vector<std::string> messages;
    std::string error;
  };
  const Case cases[] = {
      {{"info"}, "^PI0^PI1^PI2^PI4,0",
       {"Get printer information is failed", "Get printer information is failed."},
       "no reply to the model name, model type, firmware version and temperature queries"},
      {{"get", "paper-width"}, "^PI5,0\r\n", {"Getting paper width is failed"}, "no reply"},
      {{"get", "offset"}, "^SA\r\n", {"Getting offset is failed"}, "no reply, or not a sign and three digits"},
      {{"get", "speed"}, "^MBR3,1", {"Getting speed is failed"}, "no reply"},
      {{"serial", "get"}, "^MBR2,1", {"Get serial communication status is faied"}, "no reply"},
      {{"serial", "set", "--baud", "38400"}, "^MBR2,1", {"Get serial communication status is faied"},
       "no reply to the read of switch 2; nothing was written"},
      {{"language", "set", "--ics", "1"}, "^MBR1,1^MBR3,1", {"Get default codepage && ICS is failed."},
       "no reply to the read of switches 1 and 3; nothing was written"},
      {{"hwinfo", "get", "id"}, "^MBX2\r", {"Printer ID is NULL"}, "no reply"},
      {{"switch", "read", "3"}, "^MBR3,1", {}, "no reply"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter printer;
    CliHarness cli;
    ShortReadWait(cli);
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 1) << c.error;
    EXPECT_EQ(run.out, "") << c.error;
    EXPECT_EQ(printer.received(), c.sent) << c.error;
    std::string err;
    for (const auto& m : c.messages) err += "quillmark-cli: " + m + "\n";
    EXPECT_EQ(run.err, err + "quillmark-cli: " + c.error + "\n");
  }
}

// What info says names the queries that really went unanswered, and a temperature that is
// no number is shown as it came but flagged.
TEST(InfoReplies, TheMessageNamesWhatWasUnansweredAndFlagsATemperatureThatIsNoNumber) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> answers;
    int status;
    std::string out;
    std::string error;  // the last line of stderr
  };
  const Case cases[] = {
      {"only the temperature is silent", {{"^PI0", "LRX"}, {"^PI1", "T"}, {"^PI2", "V1"}}, 1, "",
       "quillmark-cli: no reply to the temperature query"},
      {"model name and temperature silent", {{"^PI1", "T"}, {"^PI2", "V1"}}, 1, "",
       "quillmark-cli: no reply to the model name and temperature queries"},
      {"a number", {{"^PI0", "LRX"}, {"^PI4,0", "-3.5\r\n"}}, 0,
       "Model Name : LRX\nModel Type : \nFirmware Version : \nTPH Temperature : -3.5 Celsius\n",
       "quillmark-cli: Get printer information is successful."},
      {"garbage", {{"^PI0", "LRX"}, {"^PI4,0", "#?\r\n"}}, 0,
       "Model Name : LRX\nModel Type : \nFirmware Version : \nTPH Temperature : #? Celsius  (not a number)\n",
       "quillmark-cli: Get printer information is successful."},
  };
  for (const Case& c : cases) {
    qm::test::ScriptedPrinter printer;
    for (const auto& [query, reply] : c.answers) printer.Answer(query, reply);
    CliHarness cli;
    ShortReadWait(cli);
    const auto run = cli.Run({"--port", printer.path(), "info"});
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_NE(run.err.find(c.error + "\n"), std::string::npos) << c.name << ": " << run.err;
  }
  qm::test::ScriptedPrinter printer;
  printer.Answer("^PI4,0", "x\r\n");
  CliHarness cli;
  ShortReadWait(cli);
  const auto run = cli.Run({"--port", printer.path(), "--json", "info"});
  EXPECT_NE(run.out.find("\"temperature\":\"x Celsius\",\"temperatureIsNumber\":false"), std::string::npos) << run.out;
}

TEST(SettingsBadReplies, AReplyThatIsNoValueFails) {
  struct Case {
    std::vector<std::string> args;
    std::pair<std::string, std::string> answer;
    std::string message;
    std::string error;
  };
  const Case cases[] = {
      // Refused, so the Get failed: its failure message alone, never its success.
      {{"get", "h-margin"}, {"^PI5,3\r\n", "abc\r\n"}, "Getting paper horizontal margin is failed",
       "the reply \"abc\" is not a whole number"},
      {{"get", "gap-length"}, {"^PI5,2\r\n", "99999999999\r\n"}, "Getting gap length is failed",
       "the reply \"99999999999\" is not a whole number"},
      {{"get", "offset"}, {"^SA\r\n", "12\r\n"}, "Getting offset is failed", "no reply, or not a sign and three digits"},
      {{"get", "tear-off"}, {"^PI4,2\r\n", "+1a5"}, "Getting tear-off/cutting position is failed",
       "no reply, or not a sign and three digits"},
  };
  for (const auto& c : cases) {
    qm::test::ScriptedPrinter printer;
    printer.Answer(c.answer.first, c.answer.second);
    CliHarness cli;
    std::vector<std::string> args{"--port", printer.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = cli.Run(args);
    EXPECT_EQ(run.status, 1) << c.error;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quillmark-cli: " + c.message + "\nquillmark-cli: " + c.error + "\n");
  }
}

TEST(SettingsHangUp, InfoStopsAtTheQueryThatFailedAndNamesIt) {
  qm::test::PtyPair pty;
  CliHarness cli;
  std::string heard;
  cli.clock.onSleep = [&](int) {
    heard += pty.Receive(4, 200);
    // The printer takes the first query and hangs up before it answers.
    pty.CloseMaster();
  };
  const auto run = cli.Run({"--port", pty.path(), "info"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(heard, "^PI0");
  EXPECT_EQ(cli.clock.sleeps, std::vector<int>{10}) << "no query after the failed one";
  EXPECT_EQ(Count(run.err, "Port error!"), 1u) << run.err;
  EXPECT_EQ(Count(run.err, "quillmark-cli: Get printer information is failed\n"), 1u) << run.err;
  EXPECT_NE(run.err.find("quillmark-cli: the model name query failed"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("temperature"), std::string::npos) << run.err;
}

TEST(SettingsBadReplies, LanguageSetWillNotGuessACodePageOutsideTheList) {
  qm::test::ScriptedPrinter printer;
  printer.Answer("^MBR1,1", Byte(24));
  printer.Answer("^MBR3,1", Byte(2));
  CliHarness cli;
  const auto run = cli.Run({"--port", printer.path(), "--json", "language", "set", "--ics", "Japan"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(printer.received(), "^MBR1,1^MBR3,1");
  EXPECT_NE(run.err.find("give --codepage as well; nothing was written"), std::string::npos) << run.err;
  // The read's own success message is not shown: the command did not succeed.
  EXPECT_EQ(run.err.find("is successful"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("\"command\":\"language set\",\"ok\":false,\"exit\":1"), std::string::npos) << run.out;
}

// Fills what the line holds towards the printer, which reads nothing, so the next write
// cannot go out.
void FillLine(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  // The line moves what it holds on to the printer's side in the background, which makes
  // room again, later on a busy machine; fill until three pauses in a row free none.
  const std::string block(4096, 'x');
  for (int idle = 0; idle < 3;) {
    bool wrote = false;
    for (size_t size : {block.size(), size_t{1}}) {
      while (::write(fd, block.data(), size) > 0) wrote = true;
    }
    idle = wrote ? 0 : idle + 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::close(fd);
}

TEST(SettingsWriteFails, SerialSetReportsTheFailedWriteAfterAGoodRead) {
  qm::test::PtyPair pty;
  CliHarness cli;
  cli.env.timing.serialDefaults.writeTotalConstantMs = 2;
  std::string heard;
  int reads = 0;
  cli.clock.onSleep = [&](int) {
    if (reads == 2) return;  // the link's retry pauses
    // The command's read, then the write's own read of the switch, just before it.
    heard += pty.Receive(7, 200);
    pty.Send(Byte(0x35));
    if (++reads == 2) FillLine(pty.path());
  };
  const auto run = cli.Run({"--port", pty.path(), "serial", "set", "--baud", "57600"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(heard, "^MBR2,1^MBR2,1");
  EXPECT_EQ(run.out, "");
  // Each of the two writes gives up after the link's retries, and then the page's message.
  EXPECT_EQ(Count(run.err, std::string(EnglishText(sid::kPortWriteError))), 2u) << run.err;
  EXPECT_NE(run.err.find("quillmark-cli: Set serial communication status is faied\n"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("Please, turn off"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the write failed: write incomplete: 0 of 6 bytes sent"), std::string::npos) << run.err;
  EXPECT_EQ(cli.clock.sleeps, (std::vector<int>{10, 10, 10, 10, 10, 10, 10, 10}));
}

TEST(SettingsOptions, TheLinksLineSettingsComeBeforeTheCommandThePrintersAfterIt) {
  qm::test::ScriptedPrinter printer;
  printer.Answer("^MBR2,1", Byte(0x12));  // two stop bits, odd parity, by DIP switch
  CliHarness cli;
  termios line{};
  cli.clock.onSleep = [&](int) {
    const int fd = ::open(printer.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ::tcgetattr(fd, &line);
    ::close(fd);
  };
  const auto run = cli.Run({"--port", printer.path(), "--baud", "9600", "--parity", "odd", "--stop-bits", "2",
                            "serial", "set", "--baud", "57600", "--parity", "even", "--stop-bits", "1"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(printer.received(), "^MBR2,1^MBR2,1^MBS2," + Byte(0x60) + "^MBA" + Byte(2) + "\r");
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(line.c_cflag & PARODD, static_cast<tcflag_t>(PARODD));
  EXPECT_EQ(line.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
}

TEST(SettingsOptions, EveryCommandHasHelp) {
  const std::vector<std::string> commands[] = {
      {"info"},          {"get"},         {"set"},          {"init-user-settings"}, {"serial"},
      {"serial", "get"}, {"serial", "set"}, {"language"},   {"language", "get"},    {"language", "set"},
      {"hwinfo"},        {"hwinfo", "get"}, {"hwinfo", "set"}, {"hwinfo", "init"},  {"switch"},
      {"switch", "read"}, {"switch", "write"},
  };
  for (const auto& command : commands) {
    CliHarness cli;
    std::vector<std::string> args = command;
    args.push_back("--help");
    const auto run = cli.Run(args);
    std::string name;
    for (const auto& word : command) name += " " + word;
    EXPECT_EQ(run.status, 0) << name;
    EXPECT_NE(run.out.find("Usage: quillmark-cli" + name + " "), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace qm::cli

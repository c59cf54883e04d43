// `rfid`: the RFID encoder's settings, tag data both ways, passwords, lock, unlock and kill.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "cli/stream_prompter.h"
#include "rfid/rfid_operations.h"

namespace qm::cli {

namespace {

constexpr std::string_view kAreaNames[kLockAreas] = {"kill", "access", "epc", "tid", "user"};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A number within [lo, hi], or a usage error naming the option.
std::string TakeNumber(const std::string& option, const std::string& text, int lo, int hi, int& value) {
  const std::optional<int> v = ParseInt(text);
  if (!v || *v < lo || *v > hi) {
    return option + ": " + text + " is out of range " + std::to_string(lo) + ".." + std::to_string(hi);
  }
  value = *v;
  return {};
}

// "80,20,00" or "802000": the three payload bytes, the last four bits zero.
std::optional<LockPayload> ParsePayloadBytes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  if (text.size() != 6 || !IsHexText(text)) return std::nullopt;
  const uint32_t bits = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
  if (bits & 0x0F) return std::nullopt;
  LockPayload p;
  for (int i = 0; i < 10; ++i) {
    p.mask[static_cast<size_t>(i)] = bits & (1u << (23 - i));
    p.action[static_cast<size_t>(i)] = bits & (1u << (13 - i));
  }
  return p;
}

// "mask-epc-left,action-epc-left": the boxes of the payload to check.
std::optional<LockPayload> ParsePayloadBoxes(const std::string& list, std::string& bad) {
  LockPayload p;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string item = Lower(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    start = comma == std::string::npos ? list.size() + 1 : comma + 1;
    bool found = false;
    for (int a = 0; a < kLockAreas && !found; ++a) {
      for (const bool right : {false, true}) {
        const std::string area = std::string(kAreaNames[a]) + (right ? "-right" : "-left");
        const int index = LockPayload::Index(static_cast<LockArea>(a), right);
        if (item == "mask-" + area) p.mask[static_cast<size_t>(index)] = found = true;
        if (item == "action-" + area) p.action[static_cast<size_t>(index)] = found = true;
      }
    }
    if (!found) {
      bad = item;
      return std::nullopt;
    }
  }
  return p;
}

// Printable Latin-1 that a quoted field can carry: no control byte, no quote.
bool Quotable(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return ((b >= 0x20 && b <= 0x7E) || b >= 0xA0) && c != '\'';
  });
}

class RfidCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("rfid", "Configure the RFID encoder; write, read, protect and kill tags");
    sub->require_subcommand(1);

    config_ = sub->add_subcommand("config", "The encoder's settings and label counters");
    config_->require_subcommand(1);
    get_ = config_->add_subcommand("get", "Read the seven settings and counters (100 ms after each query)");
    set_ = config_->add_subcommand("set", "Change the settings given; the others are read first and kept (nothing is read when all five are given)");
    set_->add_option("--tag", tag_, "gen2 or iso-b")->type_name("TYPE");
    set_->add_option("--power", powerText_, "writing power 1..31 (the dialog lists power 8 as \"7\")")
        ->type_name("N");
    set_->add_option("--position", position_, "transponder position, sent as given")->type_name("TEXT");
    set_->add_option("--retries", retriesText_, "number of retries 0..10")->type_name("N");
    set_->add_option("--labels", labelsText_, "number of labels 0..5")->type_name("N");
    resetCounters_ = config_->add_subcommand("reset-counters", "Set the valid and void label counters to 0");
    calibrate_ = config_->add_subcommand("calibrate", "Start the encoder's automatic calibration");

    password_ = sub->add_subcommand("password", "Give the tag new access and kill passwords");
    password_->add_option("ACCESS", access_, "8 characters, dots allowed (9C.4D.E1.37)")
        ->required()
        ->type_name("");
    password_->add_option("KILL", kill_, "8 characters, dots allowed")->required()->type_name("");

    write_ = sub->add_subcommand("write", "Write data to the tag, with an unlock before and a lock after");
    read_ = sub->add_subcommand("read", "Read tag data, or have the printer print it");
    for (CLI::App* a : {write_, read_}) {
      a->add_flag("--metal", metal_, "the metal-tag form: lower-case command, no label printed");
      a->add_flag("--user", user_, "user memory instead of EPC memory");
      a->add_flag("--ascii", ascii_, "one character a byte instead of two hexadecimal digits");
      a->add_option("--start", startText_, "start block 0..16 (default 4)")->type_name("N");
    }
    write_->add_option("DATA", data_, "hexadecimal digits, or text with --ascii; 2..64 bytes")->type_name("");
    write_->add_flag("--unlock", unlock_, "send the unlock command first");
    auto* lock = write_->add_option("--lock", lockBytes_, "lock with the three payload bytes, e.g. 80,20,00")
                     ->type_name("PAYLOAD");
    auto* boxes = write_->add_option("--lock-boxes", lockBoxes_,
                                     "lock with the payload of these boxes: ROW-AREA-SIDE, comma-separated, ROW mask "
                                     "or action, AREA kill, access, epc, tid or user, SIDE left or right")
                      ->type_name("LIST");
    lock->excludes(boxes);
    write_->footer("The number of bytes follows from DATA. Without --metal the label is printed after the "
                   "commands, which is when the printer processes them.");
    read_->add_option("--bytes", bytesText_, "number of bytes 2..64 (default 12)")->type_name("N");
    read_->add_flag("--print", print_, "have the printer print the data instead of sending it back");
    read_->footer("The printer may take up to 4 seconds to reach the tag; a reply that is complete "
                  "sooner is taken at once.");

    lock_ = sub->add_subcommand("lock", "Lock the tag's memory (the plain lock)");
    unlockTag_ = sub->add_subcommand("unlock", "Unlock the tag (the plain unlock)");
    killTag_ = sub->add_subcommand("kill", "Kill the tag: it answers nothing afterwards");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (set_->parsed()) return PrepareSet();
    if (password_->parsed()) {
      // The printer takes any 8 characters (the dialogs send them as typed); only a
      // character its code page lacks, or one that would end the command, is refused.
      for (const auto& [name, text] : {std::pair{"ACCESS", &access_}, std::pair{"KILL", &kill_}}) {
        const std::optional<std::string> latin1 = Utf8ToLatin1(*text);
        const bool printable = latin1 && std::none_of(latin1->begin(), latin1->end(), [](char c) {
          const auto b = static_cast<unsigned char>(c);
          return b < 0x20 || b == 0x7F;
        });
        if (!printable) return std::string(name) + ": only printable Latin-1 characters can be sent";
        if (StripDots(*latin1).size() != 8) return std::string(name) + ": \"" + *text + "\" is not 8 characters";
        *text = *latin1;
      }
      return {};
    }
    if (write_->parsed() || read_->parsed()) {
      range_.carrier = metal_ ? TagCarrier::kMetal : TagCarrier::kLabel;
      range_.memory = user_ ? TagMemory::kUser : TagMemory::kEpc;
      range_.dataType = ascii_ ? TagDataType::kAscii : TagDataType::kHex;
      if (!startText_.empty()) {
        if (std::string e = TakeNumber("--start", startText_, 0, 16, range_.start); !e.empty()) return e;
      }
    }
    if (write_->parsed()) return PrepareWrite();
    if (read_->parsed()) {
      if (!bytesText_.empty()) {
        if (std::string e = TakeNumber("--bytes", bytesText_, 2, 64, range_.bytes); !e.empty()) return e;
      }
      // Print hands any range to the printer, as the dialog's Print does.
      if (!print_ && !TagRangeFits(range_.start, range_.bytes)) return "--start " + std::to_string(range_.start) + " with --bytes " + std::to_string(range_.bytes) + " passes block 67";
    }
    return {};
  }

  Outcome Run(Session& s) override {
    if (get_->parsed()) return RunGet(s);
    if (set_->parsed()) return RunSet(s);
    if (resetCounters_->parsed()) {
      RfidSettings ignored;
      return ResetRfidCounters(s.link, s.prompter, ignored) ? Outcome::Done({}) : Outcome::PrinterFailed(WriteFailure(s.link));
    }
    if (calibrate_->parsed()) {
      return CalibrateRfid(s.link, s.prompter) ? Outcome::Done({}) : Outcome::PrinterFailed(WriteFailure(s.link));
    }
    if (password_->parsed()) {
      return SendRfidPasswords(s.link, s.prompter, access_, kill_) ? Outcome::Done({})
                                                                   : Outcome::PrinterFailed(WriteFailure(s.link));
    }
    if (write_->parsed()) {
      const TagWriteResult r = WriteTag(s.link, s.prompter, request_);
      return r.anyFailed ? Outcome::PrinterFailed(WriteFailure(s.link)) : Outcome::Done({});
    }
    if (read_->parsed()) return RunRead(s);
    const std::string_view plain = lock_->parsed() ? kRfidLock : unlockTag_->parsed() ? kRfidUnlock : kRfidKill;
    if (!WroteAll(s.link, s.link.Write(plain), plain.size())) return Outcome::PrinterFailed(WriteFailure(s.link));
    return Outcome::Done({});
  }

 private:
  std::string PrepareSet() {
    if (!tag_.empty()) {
      const std::string t = Lower(tag_);
      if (t != "gen2" && t != "iso-b") return "--tag: \"" + tag_ + "\" is neither gen2 nor iso-b";
      tagType_ = t == "gen2" ? 0 : 1;
    }
    if (!powerText_.empty()) {
      if (std::string e = TakeNumber("--power", powerText_, 1, kRfidPowerEntries, power_); !e.empty()) return e;
    }
    if (!retriesText_.empty()) {
      if (std::string e = TakeNumber("--retries", retriesText_, 0, kRfidMaxRetries, retries_); !e.empty()) return e;
    }
    if (!labelsText_.empty()) {
      if (std::string e = TakeNumber("--labels", labelsText_, 0, kRfidMaxLabels, labels_); !e.empty()) return e;
    }
    if (set_->count("--position")) {
      const std::optional<std::string> bytes = Utf8ToLatin1(position_);
      // A carriage return would end the command early.
      if (!bytes || !Quotable(*bytes)) return "--position: only printable Latin-1 characters can be sent";
      positionBytes_ = *bytes;
    }
    return {};
  }

  std::string PrepareWrite() {
    request_.range = range_;
    request_.unlock = unlock_;
    if (!lockBytes_.empty()) {
      const std::optional<LockPayload> p = ParsePayloadBytes(lockBytes_);
      if (!p) return "--lock: \"" + lockBytes_ + "\" is not three payload bytes such as 80,20,00";
      request_.lock = true;
      request_.payload = *p;
    }
    if (!lockBoxes_.empty()) {
      std::string bad;
      const std::optional<LockPayload> p = ParsePayloadBoxes(lockBoxes_, bad);
      if (!p) return "--lock-boxes: \"" + bad + "\" is no box (mask-epc-left, action-user-right, ...)";
      request_.lock = true;
      request_.payload = *p;
    }
    if (write_->count("DATA")) {
      std::string bytes;
      if (ascii_) {
        const std::optional<std::string> latin1 = Utf8ToLatin1(data_);
        if (!latin1 || !Quotable(*latin1)) return "DATA: only printable Latin-1 characters without a quote can be written";
        bytes = *latin1;
        range_.bytes = static_cast<int>(bytes.size());
      } else {
        if (data_.size() % 2 != 0 || !IsHexText(data_)) return "DATA: \"" + data_ + "\" is not pairs of hexadecimal digits";
        bytes = data_;
        for (char& c : bytes) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        range_.bytes = static_cast<int>(bytes.size() / 2);
      }
      if (range_.bytes < 2 || range_.bytes > 64) return "DATA: " + std::to_string(range_.bytes) + " bytes is out of range 2..64";
      if (!TagRangeFits(range_.start, range_.bytes)) {
        return "DATA: " + std::to_string(range_.bytes) + " bytes from block " + std::to_string(range_.start) + " pass block 67";
      }
      request_.range = range_;
      request_.data = true;
      request_.cells = bytes;
    }
    if (!request_.data && !request_.unlock && !request_.lock) return "give DATA, --unlock or a lock to write";
    return {};
  }

  Outcome RunGet(Session& s) {
    RfidSettings r;
    if (!GetRfidSettings(s.link, s.clock, s.prompter, r)) return Outcome::PrinterFailed(NoReply(s.link));
    JsonObject fields;
    const auto add = [&](const char* key, int chosen, int value) {
      if (chosen < 0) {
        fields.Add(key, "none");
      } else {
        fields.Add(key, value);
      }
    };
    fields.Add("tag", r.tagType < 0 ? "none" : r.tagType == 0 ? "GEN2" : "ISO-B");
    add("power", r.power, r.power + 1);
    fields.Add("position", Latin1ToUtf8(r.position));
    add("retries", r.retries, r.retries);
    add("labels", r.labels, r.labels);
    fields.Add("valid", Latin1ToUtf8(r.validCounter));
    fields.Add("void", Latin1ToUtf8(r.voidCounter));
    const auto shown = [](int chosen, int value) { return chosen < 0 ? std::string("none") : std::to_string(value); };
    std::string text;
    text += Labelled("Tag Type :", r.tagType < 0 ? "none" : r.tagType == 0 ? "GEN2" : "ISO-B") + "\n";
    text += Labelled("Writing Power :", shown(r.power, r.power + 1)) + "\n";
    text += Labelled("Transponder Position :", OneLine(r.position)) + "\n";
    text += Labelled("Number of retry :", shown(r.retries, r.retries)) + "\n";
    text += Labelled("Number of Label :", shown(r.labels, r.labels)) + "\n";
    text += Labelled("RFID Valid :", OneLine(r.validCounter)) + "\n";
    text += Labelled("RFID Void :", OneLine(r.voidCounter));
    return Outcome::Done(text, fields);
  }

  Outcome RunSet(Session& s) {
    // The settings not given are kept as the printer has them; with every one given there
    // is nothing to read, and a printer whose queries fail can still be set.
    const bool allGiven =
        tagType_ >= 0 && power_ > 0 && set_->count("--position") && retries_ >= 0 && labels_ >= 0;
    HeldPrompter held;
    RfidSettings r;
    if (!allGiven && !GetRfidSettings(s.link, s.clock, held, r)) {
      held.ReleaseTo(s.prompter);
      return Outcome::PrinterFailed(NoReply(s.link, "the current settings could not be read"));
    }
    if (tagType_ >= 0) r.tagType = tagType_;
    if (power_ > 0) r.power = power_ - 1;
    if (set_->count("--position")) r.position = positionBytes_;
    if (retries_ >= 0) r.retries = retries_;
    if (labels_ >= 0) r.labels = labels_;
    if (!SetRfidSettings(s.link, s.prompter, r)) return Outcome::PrinterFailed(WriteFailure(s.link));
    return Outcome::Done({});
  }

  Outcome RunRead(Session& s) {
    JsonObject fields;
    fields.Add("start", range_.start);
    fields.Add("bytes", range_.bytes);
    if (print_) {
      if (!PrintTag(s.link, range_)) return Outcome::PrinterFailed(WriteFailure(s.link));
      return Outcome::Done({}, fields);
    }
    const TagReadResult r = ReadTag(s.link, s.clock, s.prompter, range_);
    const std::string data = ascii_ ? Latin1ToUtf8(r.chars) : r.chars;
    fields.Add("data", data);
    if (r.status == TagReadStatus::kNoReply) return Outcome::PrinterFailed(NoReply(s.link, "the tag did not answer"));
    if (r.status == TagReadStatus::kIncomplete) {
      return Outcome::PrinterFailed("the reply was incomplete: " + std::to_string(r.chars.size()) + " of " +
                                        std::to_string(r.expected) + " characters came",
                                    fields);
    }
    return Outcome::Done(ascii_ ? OneLine(r.chars) : data, fields);
  }

  CLI::App* config_ = nullptr;
  CLI::App* get_ = nullptr;
  CLI::App* set_ = nullptr;
  CLI::App* resetCounters_ = nullptr;
  CLI::App* calibrate_ = nullptr;
  CLI::App* password_ = nullptr;
  CLI::App* write_ = nullptr;
  CLI::App* read_ = nullptr;
  CLI::App* lock_ = nullptr;
  CLI::App* unlockTag_ = nullptr;
  CLI::App* killTag_ = nullptr;

  std::string tag_, powerText_, position_, retriesText_, labelsText_;
  int tagType_ = -1;
  int power_ = 0;
  int retries_ = -1;
  int labels_ = -1;
  std::string positionBytes_;
  std::string access_, kill_;
  bool metal_ = false, user_ = false, ascii_ = false, unlock_ = false, print_ = false;
  std::string startText_, bytesText_, data_, lockBytes_, lockBoxes_;
  TagRange range_{TagCarrier::kLabel, TagMemory::kEpc, TagDataType::kHex, 4, 12};
  TagWriteRequest request_;
};

}  // namespace

std::unique_ptr<Command> MakeRfidCommand() { return std::make_unique<RfidCommand>(); }

}  // namespace qm::cli

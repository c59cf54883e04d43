// `get`, `set` and `init-user-settings`: the paper and print settings, one item a run.
#include <CLI/CLI.hpp>
#include <cstdlib>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "cli/stream_prompter.h"
#include "settings/memory_switch.h"
#include "link/query.h"
#include "settings/user_settings.h"

namespace qm::cli {

namespace {

enum class Kind { kNumeric, kSigned, kStrobe, kSpeed, kGapDetect, kCheckLabelLength };

struct PageItem {
  std::string_view name;
  std::string_view label;  // as the Print&Page page labels it
  Kind kind;
  NumericItem numeric = NumericItem::kPaperWidth;
  SignedItem signedItem = SignedItem::kOffset;
};

constexpr PageItem kItems[] = {
    {"paper-width", "Paper Width:", Kind::kNumeric, NumericItem::kPaperWidth},
    {"paper-length", "Paper Length:", Kind::kNumeric, NumericItem::kPaperLength},
    {"gap-length", "Gap Length:", Kind::kNumeric, NumericItem::kGapLength},
    {"h-margin", "Paper Horizontal Margin:", Kind::kNumeric, NumericItem::kHorizontalMargin},
    {"v-margin", "Paper Vertical Margin:", Kind::kNumeric, NumericItem::kVerticalMargin},
    {"density", "Print Density:", Kind::kNumeric, NumericItem::kDensity},
    {"strobe", "Print Strobe:", Kind::kStrobe},
    {"speed", "Print Speed:", Kind::kSpeed},
    {"offset", "Print Offset:", Kind::kSigned, NumericItem::kPaperWidth, SignedItem::kOffset},
    {"tear-off", "Tear-off/Cutting:", Kind::kSigned, NumericItem::kPaperWidth, SignedItem::kTearOff},
    {"gap-detect", "Gap Detect Position: ", Kind::kGapDetect},
    {"check-label-length", "Check Label Length :", Kind::kCheckLabelLength},
};

constexpr const char* kNoLabelLengthQuery = "check-label-length cannot be read; the printer has no query for it";

// The page's number field holds 0 to 100 and the "(-)" box gives the sign.
constexpr int kSignedLimit = 100;

// Short words for the list entries; the entries themselves are taken as well.
constexpr std::string_view kGapWords[] = {"lower", "upper"};
constexpr std::string_view kCheckLabelLengthNames[] = {"Disable", "Enable"};

const PageItem* FindItem(std::string_view name) {
  for (const PageItem& item : kItems) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

// What `set` takes for an item, for --help and for the refusal of a bad value.
std::string Accepted(const PageItem& item) {
  switch (item.kind) {
    case Kind::kNumeric: {
      const NumericItemSpec& numeric = SpecOf(item.numeric);
      if (!numeric.ranged) return "any whole number";
      return std::to_string(numeric.minimum) + ".." + std::to_string(numeric.maximum);
    }
    case Kind::kSigned: return "-100..100";
    case Kind::kStrobe: return "2|3|4";
    case Kind::kSpeed: return "default|3ips|4ips|5ips|6ips|7ips|8ips";
    case Kind::kGapDetect: return "lower|upper";
    case Kind::kCheckLabelLength: return "enable|disable (set only; it cannot be read back)";
  }
  return {};
}

std::string ItemTable() {
  std::string out = "ITEM and the VALUE set takes:\n";
  for (const PageItem& item : kItems) {
    out += "  " + std::string(item.name) + std::string(20 - item.name.size(), ' ') + Accepted(item) + "\n";
  }
  return out;
}

std::string UnknownItem(const std::string& name) {
  std::string names;
  for (const PageItem& item : kItems) names += (names.empty() ? "" : ", ") + std::string(item.name);
  return "ITEM: \"" + name + "\" is none of " + names;
}

// The list index or number that VALUE names; an error text when it names none.
std::string ParseValue(const PageItem& item, const std::string& text, int& value) {
  const std::string refusal = std::string(item.name) + ": \"" + text + "\" is not " + Accepted(item);
  std::optional<int> parsed;
  switch (item.kind) {
    case Kind::kNumeric: {
      parsed = ParseInt(text);
      const NumericItemSpec& numeric = SpecOf(item.numeric);
      if (parsed && numeric.ranged && (*parsed < numeric.minimum || *parsed > numeric.maximum)) {
        return std::string(item.name) + ": " + text + " is out of range " + Accepted(item);
      }
      break;
    }
    case Kind::kSigned:
      parsed = ParseInt(text);
      if (parsed && (*parsed < -kSignedLimit || *parsed > kSignedLimit)) {
        return std::string(item.name) + ": " + text + " is out of range " + Accepted(item);
      }
      break;
    case Kind::kStrobe: parsed = FindEntry(kStrobeNames, text); break;
    case Kind::kSpeed: parsed = FindEntry(kSpeedNames, text); break;
    case Kind::kGapDetect:
      parsed = FindEntry(kGapWords, text);
      if (!parsed) parsed = FindEntry(kGapPositionNames, text);
      break;
    case Kind::kCheckLabelLength: parsed = FindEntry(kCheckLabelLengthNames, text); break;
  }
  if (!parsed) return refusal;
  value = *parsed;
  return {};
}

// `value` as the page would show it once set: the number, or the list entry.
std::string Shown(const PageItem& item, int value) {
  switch (item.kind) {
    case Kind::kNumeric:
    case Kind::kSigned: return std::to_string(value);
    case Kind::kStrobe: return EntryOrNone(kStrobeNames, value);
    case Kind::kSpeed: return EntryOrNone(kSpeedNames, value);
    case Kind::kGapDetect: return EntryOrNone(kGapPositionNames, value);
    case Kind::kCheckLabelLength: return EntryOrNone(kCheckLabelLengthNames, value);
  }
  return {};
}

Outcome ShowChoice(const PageItem& item, const ChoiceRead& read, EntryList names, const PrinterLink& link) {
  JsonObject fields;
  fields.Add("item", std::string(item.name));
  if (!read.ok) return Outcome::PrinterFailed(NoReply(link), fields);
  const std::string entry = EntryOrNone(names, read.index);
  fields.Add("value", entry);
  return Outcome::Done(Labelled(item.label, entry), fields);
}

Outcome GetItem(const PageItem& item, Session& s) {
  JsonObject fields;
  fields.Add("item", std::string(item.name));
  switch (item.kind) {
    case Kind::kNumeric: {
      // The page would only notice a reply that is no number when its values are next
      // taken over; here there is no later, so the Get fails now, and its success message
      // is never shown.
      HeldPrompter held;
      const std::optional<std::string> text = GetNumericItem(s.link, s.clock, held, item.numeric);
      if (!text) {
        held.ReleaseTo(s.prompter);
        return Outcome::PrinterFailed(NoReply(s.link), fields);
      }
      const std::optional<int> value = ParseInt(*text);
      if (!value) {
        qm::Report(s.prompter, false, "Getting " + std::string(SpecOf(item.numeric).noun));
        fields.Add("reply", Latin1ToUtf8(*text));
        return Outcome::PrinterFailed("the reply \"" + OneLine(*text) + "\" is not a whole number", fields);
      }
      held.ReleaseTo(s.prompter);
      fields.Add("value", *value);
      return Outcome::Done(Labelled(item.label, std::to_string(*value)), fields);
    }
    case Kind::kSigned: {
      const std::optional<SignedValue> read = GetSignedItem(s.link, s.clock, s.prompter, item.signedItem);
      if (!read) return Outcome::PrinterFailed("no reply, or not a sign and three digits", fields);
      const int value = read->negative ? -read->value : read->value;
      fields.Add("value", value);
      return Outcome::Done(Labelled(item.label, std::to_string(value)), fields);
    }
    case Kind::kStrobe: return ShowChoice(item, GetStrobe(s.link, s.clock, s.prompter), kStrobeNames, s.link);
    case Kind::kSpeed: return ShowChoice(item, GetSpeed(s.link, s.clock, s.prompter), kSpeedNames, s.link);
    case Kind::kGapDetect:
      return ShowChoice(item, GetGapPosition(s.link, s.clock, s.prompter), kGapPositionNames, s.link);
    case Kind::kCheckLabelLength: break;  // refused before the link opened
  }
  return Outcome::Usage(kNoLabelLengthQuery);
}

bool SetItem(const PageItem& item, int value, Session& s) {
  switch (item.kind) {
    case Kind::kNumeric: return SetNumericItem(s.link, s.prompter, item.numeric, value);
    case Kind::kSigned:
      // The page sends the sign from its check box and the digits from its field.
      return SetSignedItem(s.link, s.prompter, item.signedItem, value < 0, std::to_string(std::abs(value)));
    case Kind::kStrobe: return SetStrobe(s.link, s.clock, s.prompter, value);
    case Kind::kSpeed: return SetSpeed(s.link, s.clock, s.prompter, value);
    case Kind::kGapDetect: return SetGapPosition(s.link, s.clock, s.prompter, value);
    case Kind::kCheckLabelLength: {
      const int result = SetCheckLabelLength(s.link, value == 1);
      return WroteAll(s.link, result, 5);
    }
  }
  return false;
}

class GetCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("get", "Read one paper or print setting and print it");
    sub->add_option("ITEM", name_, "the setting; see below")->required()->type_name("");
    sub->footer(ItemTable());
    return sub;
  }

  std::string Prepare(std::istream&) override {
    item_ = FindItem(name_);
    if (!item_) return UnknownItem(name_);
    if (item_->kind == Kind::kCheckLabelLength) {
      return kNoLabelLengthQuery;
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("item", name_);
    return fields;
  }

  Outcome Run(Session& session) override { return GetItem(*item_, session); }

 private:
  std::string name_;
  const PageItem* item_ = nullptr;
};

class SetCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("set", "Write one paper or print setting");
    sub->add_option("ITEM", name_, "the setting; see below")->required()->type_name("");
    sub->add_option("VALUE", text_, "its new value; a negative number is written as it is (set offset -12)")
        ->required()
        ->type_name("");
    sub->footer(ItemTable() + "A value out of range is refused before anything is sent.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    item_ = FindItem(name_);
    if (!item_) return UnknownItem(name_);
    return ParseValue(*item_, text_, value_);
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("item", name_);
    if (item_ && (item_->kind == Kind::kNumeric || item_->kind == Kind::kSigned)) {
      fields.Add("value", value_);
    } else if (item_) {
      fields.Add("value", Shown(*item_, value_));
    }
    return fields;
  }

  Outcome Run(Session& session) override {
    if (!SetItem(*item_, value_, session)) return Outcome::PrinterFailed(WriteFailure(session.link));
    return Outcome::Done(Labelled(item_->label, Shown(*item_, value_)));
  }

 private:
  std::string name_;
  std::string text_;
  const PageItem* item_ = nullptr;
  int value_ = 0;
};

class InitUserSettingsCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    return parent.add_subcommand("init-user-settings",
                                 "Reset every paper and print setting of the printer to its default");
  }
  std::string Prepare(std::istream&) override { return {}; }
  Outcome Run(Session& session) override {
    if (!InitializeUserSettings(session.link, session.prompter)) {
      return Outcome::PrinterFailed(WriteFailure(session.link));
    }
    return Outcome::Done({});
  }
};

}  // namespace

std::unique_ptr<Command> MakeGetCommand() { return std::make_unique<GetCommand>(); }
std::unique_ptr<Command> MakeSetCommand() { return std::make_unique<SetCommand>(); }
std::unique_ptr<Command> MakeInitUserSettingsCommand() { return std::make_unique<InitUserSettingsCommand>(); }

}  // namespace qm::cli

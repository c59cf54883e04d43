// `hwinfo get|set|init`: the hardware version, serial number and printer ID the printer
// stores.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "settings/hardware_info.h"

namespace qm::cli {

namespace {

struct HardwareName {
  std::string_view name;
  std::string_view label;  // as the Hardware Info page labels its field
  HardwareItem item;
};

constexpr HardwareName kNames[] = {
    {"version", "Version:", HardwareItem::kVersion},
    {"serial", "Number:", HardwareItem::kSerialNumber},
    {"id", "ID:", HardwareItem::kPrinterId},
};

const HardwareName* FindName(std::string_view name) {
  for (const HardwareName& n : kNames) {
    if (n.name == name) return &n;
  }
  return nullptr;
}

// The bytes the printer stores: printable Latin-1, as the page's fields take.
bool Storable(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x20 && b <= 0x7E) || b >= 0xA0;
  });
}

class HwinfoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "hwinfo", "Read, write or reset the hardware version, serial number or printer ID");
    sub->require_subcommand(1);
    get_ = sub->add_subcommand("get", "Read the item the printer stores");
    set_ = sub->add_subcommand("set", "Store TEXT as the item, then wait 5.7 s for the printer");
    init_ = sub->add_subcommand("init", "Reset the item to the printer's own, then wait 5.7 s for the printer");
    for (CLI::App* action : {get_, set_, init_}) {
      action->add_option("ITEM", name_, "version (at most 4 characters), serial (16) or id (7)")
          ->required()
          ->type_name("");
    }
    set_->add_option("TEXT", text_, "the new text, printable Latin-1 characters only; \"\" stores an empty one, and a text "
                    "that begins with - goes after --")
        ->required()
        ->type_name("");
    sub->footer("The printer needs 5.7 seconds after a write or reset before it reports; the "
                "command waits for it.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    item_ = FindName(name_);
    if (!item_) return "ITEM: \"" + name_ + "\" is none of version, serial, id";
    if (!set_->parsed()) return {};
    const std::optional<std::string> bytes = Utf8ToLatin1(text_);
    if (!bytes) return "TEXT: only characters of Latin-1 can be stored";
    if (bytes->size() > SpecOf(item_->item).maxLength) return std::string(SpecOf(item_->item).lengthMessage);
    // A line end or other control byte would end the command early or corrupt what follows.
    if (!Storable(*bytes)) return "TEXT: control characters cannot be stored";
    bytes_ = *bytes;
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("item", name_);
    return fields;
  }

  Outcome Run(Session& session) override {
    const HardwareItem item = item_->item;
    if (get_->parsed()) {
      const std::optional<std::string> value = GetHardwareItem(session.link, session.clock, session.prompter, item);
      if (!value) return Outcome::PrinterFailed(NoReply(session.link));
      JsonObject fields;
      fields.Add("value", Latin1ToUtf8(*value));
      return Outcome::Done(Labelled(item_->label, OneLine(*value)), fields);
    }
    if (set_->parsed()) {
      if (!SetHardwareItem(session.link, session.clock, session.prompter, item, bytes_)) {
        return Outcome::PrinterFailed(WriteFailure(session.link));
      }
      JsonObject fields;
      fields.Add("value", Latin1ToUtf8(bytes_));
      return Outcome::Done(Labelled(item_->label, OneLine(bytes_)), fields);
    }
    if (!InitializeHardwareItem(session.link, session.clock, session.prompter, item)) {
      return Outcome::PrinterFailed(WriteFailure(session.link));
    }
    return Outcome::Done({});
  }

 private:
  CLI::App* get_ = nullptr;
  CLI::App* set_ = nullptr;
  CLI::App* init_ = nullptr;
  std::string name_;
  std::string text_;
  const HardwareName* item_ = nullptr;
  std::string bytes_;
};

}  // namespace

std::unique_ptr<Command> MakeHwinfoCommand() { return std::make_unique<HwinfoCommand>(); }

}  // namespace qm::cli

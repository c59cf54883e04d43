#include "settings/profile.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <span>

#include "core/latin1.h"
#include "rfid/rfid_commands.h"
#include "rfid/rfid_operations.h"
#include "settings/hardware_info.h"
#include "settings/memory_switch.h"
#include "settings/serial_language.h"
#include "settings/user_settings.h"

namespace qm {

namespace {

using Json = nlohmann::ordered_json;
using Names = std::span<const std::string_view>;

// How an item is read and written; items of one group share one read and one write.
enum class Group { kNumeric, kSigned, kStrobe, kSpeed, kGap, kSerial, kLanguage, kRfid };

struct Item {
  std::string_view name;
  Group group;
  bool number;  // a JSON number; else a string
  NumericItem numeric = NumericItem::kPaperWidth;
  SignedItem signedItem = SignedItem::kOffset;
  int SerialSwitch::*serialField = nullptr;
  int minimum = 0, maximum = 0;  // of a number, where `ranged`
  bool ranged = false;
};

Names NamesOf(std::string_view name);

const std::vector<Item>& Items() {
  static const std::vector<Item> items = [] {
    std::vector<Item> out;
    const auto numeric = [&](std::string_view name, NumericItem item) {
      const NumericItemSpec& row = SpecOf(item);
      out.push_back({name, Group::kNumeric, true, item, SignedItem::kOffset, nullptr, row.minimum, row.maximum,
                     row.ranged});
    };
    numeric("paper-width", NumericItem::kPaperWidth);
    numeric("paper-length", NumericItem::kPaperLength);
    numeric("gap-length", NumericItem::kGapLength);
    numeric("h-margin", NumericItem::kHorizontalMargin);
    numeric("v-margin", NumericItem::kVerticalMargin);
    numeric("density", NumericItem::kDensity);
    out.push_back({"strobe", Group::kStrobe, false});
    out.push_back({"speed", Group::kSpeed, false});
    // The page's number field holds 0 to 100 and its "(-)" box gives the sign.
    out.push_back({"offset", Group::kSigned, true, NumericItem::kPaperWidth, SignedItem::kOffset, nullptr, -100, 100, true});
    out.push_back({"tear-off", Group::kSigned, true, NumericItem::kPaperWidth, SignedItem::kTearOff, nullptr, -100, 100, true});
    out.push_back({"gap-detect", Group::kGap, false});
    const auto serial = [&](std::string_view name, int SerialSwitch::*field) {
      out.push_back({name, Group::kSerial, false, NumericItem::kPaperWidth, SignedItem::kOffset, field});
    };
    serial("handshake", &SerialSwitch::handShake);
    serial("stop-bits", &SerialSwitch::stopBits);
    serial("data-length", &SerialSwitch::dataLength);
    serial("parity-check", &SerialSwitch::parityCheck);
    serial("parity", &SerialSwitch::paritySelection);
    serial("baud", &SerialSwitch::baudRate);
    out.push_back({"codepage", Group::kLanguage, false});
    out.push_back({"ics", Group::kLanguage, false});
    out.push_back({"rfid-tag", Group::kRfid, false});
    out.push_back({"rfid-power", Group::kRfid, true, NumericItem::kPaperWidth, SignedItem::kOffset, nullptr, 1,
                   kRfidPowerEntries, true});
    out.push_back({"rfid-position", Group::kRfid, false});
    out.push_back({"rfid-retries", Group::kRfid, true, NumericItem::kPaperWidth, SignedItem::kOffset, nullptr, 0,
                   kRfidMaxRetries, true});
    out.push_back({"rfid-labels", Group::kRfid, true, NumericItem::kPaperWidth, SignedItem::kOffset, nullptr, 0,
                   kRfidMaxLabels, true});
    return out;
  }();
  return items;
}

constexpr std::string_view kTagNames[] = {"GEN2", "ISO-B"};

Names NamesOf(std::string_view name) {
  if (name == "strobe") return kStrobeNames;
  if (name == "speed") return kSpeedNames;
  if (name == "gap-detect") return kGapPositionNames;
  if (name == "handshake") return kHandShakeNames;
  if (name == "stop-bits") return kStopBitNames;
  if (name == "data-length") return kDataLengthNames;
  if (name == "parity-check") return kParityCheckNames;
  if (name == "parity") return kParitySelectionNames;
  if (name == "baud") return kBaudRateNames;
  if (name == "codepage") return kCodePageNames;
  if (name == "ics") return kIcsNames;
  if (name == "rfid-tag") return kTagNames;
  return {};
}

const Item* FindItem(std::string_view name) {
  for (const Item& item : Items()) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

struct IdentityItem {
  std::string_view name;
  HardwareItem item;
};
constexpr IdentityItem kIdentity[] = {
    {"hardware-version", HardwareItem::kVersion},
    {"serial-number", HardwareItem::kSerialNumber},
    {"printer-id", HardwareItem::kPrinterId},
};

// Printable Latin-1 only: a control byte would end or corrupt the command it is sent in.
bool Printable(std::string_view bytes) {
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || (b >= 0x7F && b < 0xA0)) return false;
  }
  return true;
}

std::string WithoutLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

std::optional<int> ParseWhole(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<int> IndexOf(Names names, std::string_view text) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The refusal of `value` for `item`, empty when it is good; `text` gets it as the map holds it.
std::string TakeValue(const Item& item, const Json& value, std::string& text) {
  const std::string key = "settings." + std::string(item.name);
  if (item.number) {
    if (!value.is_number_integer()) return key + ": not a whole number";
    const auto number = value.get<int64_t>();
    if (item.ranged && (number < item.minimum || number > item.maximum)) {
      return key + ": " + std::to_string(number) + " is out of range " + std::to_string(item.minimum) + ".." +
             std::to_string(item.maximum);
    }
    if (number < INT32_MIN || number > INT32_MAX) return key + ": " + std::to_string(number) + " is out of range";
    text = std::to_string(number);
    return {};
  }
  if (!value.is_string()) return key + ": not a string";
  const auto& given = value.get_ref<const std::string&>();
  if (item.name == "rfid-position") {
    const std::optional<std::string> bytes = Utf8ToLatin1(given);
    if (!bytes || !Printable(*bytes)) return key + ": only printable Latin-1 characters can be sent";
    text = *bytes;
    return {};
  }
  const Names names = NamesOf(item.name);
  if (!IndexOf(names, given)) {
    std::string entries;
    for (std::string_view n : names) entries += (entries.empty() ? "" : ", ") + Quoted(n);
    return key + ": " + Quoted(given) + " is none of " + entries;
  }
  text = given;
  return {};
}

std::string TakeIdentity(std::string_view name, HardwareItem hw, const Json& value, std::string& text) {
  const std::string key = "identity." + std::string(name);
  if (!value.is_string()) return key + ": not a string";
  const std::optional<std::string> bytes = Utf8ToLatin1(value.get_ref<const std::string&>());
  if (!bytes || !Printable(*bytes)) return key + ": only printable Latin-1 characters can be stored";
  if (bytes->size() > SpecOf(hw).maxLength) {
    return key + ": longer than " + std::to_string(SpecOf(hw).maxLength) + " characters";
  }
  text = *bytes;
  return {};
}

std::string RefuseUnknown(const Json& object, std::string_view where, std::initializer_list<std::string_view> known) {
  for (const auto& [key, value] : object.items()) {
    bool found = false;
    for (std::string_view k : known) found = found || k == key;
    if (!found) return "unknown key " + Quoted(std::string(where) + key);
  }
  return {};
}

// What the printer holds now, in the map's text, with the structures a group write starts
// from so the fields the profile does not name stay as read.
struct Current {
  std::map<std::string, std::string> values;
  std::optional<SerialSwitch> serial;
  std::optional<LanguageSettings> language;
  std::optional<RfidSettings> rfid;
};

void PutEntry(Current& current, std::string_view name, int index) {
  const Names names = NamesOf(name);
  if (index >= 0 && static_cast<size_t>(index) < names.size()) {
    current.values[std::string(name)] = std::string(names[static_cast<size_t>(index)]);
  }
}

void ReadGroup(PrinterLink& link, Clock& clock, Prompter& prompter, const Item& item, Current& current) {
  const std::string name(item.name);
  switch (item.group) {
    case Group::kNumeric: {
      const std::optional<std::string> text = GetNumericItem(link, clock, prompter, item.numeric);
      if (text && ParseWhole(*text)) current.values[name] = std::to_string(*ParseWhole(*text));
      return;
    }
    case Group::kSigned: {
      const std::optional<SignedValue> read = GetSignedItem(link, clock, prompter, item.signedItem);
      if (read) current.values[name] = std::to_string(read->negative ? -read->value : read->value);
      return;
    }
    case Group::kStrobe:
    case Group::kSpeed:
    case Group::kGap: {
      const ChoiceRead read = item.group == Group::kStrobe ? GetStrobe(link, clock, prompter)
                              : item.group == Group::kSpeed ? GetSpeed(link, clock, prompter)
                                                            : GetGapPosition(link, clock, prompter);
      if (read.ok && read.index) PutEntry(current, item.name, *read.index);
      return;
    }
    case Group::kSerial: {
      current.serial = GetSerialSettings(link, clock, prompter);
      if (!current.serial) return;
      for (const Item& i : Items()) {
        if (i.group == Group::kSerial) PutEntry(current, i.name, (*current.serial).*i.serialField);
      }
      return;
    }
    case Group::kLanguage:
      current.language = GetLanguageSettings(link, clock, prompter);
      if (!current.language) return;
      PutEntry(current, "codepage", current.language->codePage);
      PutEntry(current, "ics", current.language->ics);
      return;
    case Group::kRfid: {
      RfidSettings r;
      if (!GetRfidSettings(link, clock, prompter, r)) {
        current.rfid.reset();
        return;
      }
      current.rfid = r;
      PutEntry(current, "rfid-tag", r.tagType);
      if (r.power >= 0) current.values["rfid-power"] = std::to_string(r.power + 1);
      current.values["rfid-position"] = r.position;
      if (r.retries >= 0) current.values["rfid-retries"] = std::to_string(r.retries);
      if (r.labels >= 0) current.values["rfid-labels"] = std::to_string(r.labels);
      return;
    }
  }
}

bool SharesRead(const Item& a, const Item& b) {
  return a.group == b.group && (a.group == Group::kSerial || a.group == Group::kLanguage || a.group == Group::kRfid);
}

// Reads every group that holds one of `wanted` (all when empty), each once.
Current ReadCurrent(PrinterLink& link, Clock& clock, Prompter& prompter, const std::map<std::string, std::string>* wanted) {
  Current current;
  std::vector<const Item*> done;
  for (const Item& item : Items()) {
    if (wanted && !wanted->contains(std::string(item.name))) continue;
    bool read = false;
    for (const Item* d : done) read = read || SharesRead(*d, item);
    if (read) continue;
    ReadGroup(link, clock, prompter, item, current);
    done.push_back(&item);
  }
  return current;
}

int Index(std::string_view name, const std::string& text) { return IndexOf(NamesOf(name), text).value_or(-1); }

// Writes the group of `item` with the values of `want`, keeping what it does not name as read.
bool WriteGroup(PrinterLink& link, Clock& clock, Prompter& prompter, const Item& item, const Current& current,
                const std::map<std::string, std::string>& want) {
  const auto valueOf = [&](std::string_view name) -> const std::string* {
    const auto it = want.find(std::string(name));
    return it == want.end() ? nullptr : &it->second;
  };
  const std::string& value = *valueOf(item.name);
  switch (item.group) {
    case Group::kNumeric: return SetNumericItem(link, prompter, item.numeric, std::atoi(value.c_str()));
    case Group::kSigned: {
      const int number = std::atoi(value.c_str());
      return SetSignedItem(link, prompter, item.signedItem, number < 0, std::to_string(std::abs(number)));
    }
    case Group::kStrobe: return SetStrobe(link, clock, prompter, Index(item.name, value));
    case Group::kSpeed: return SetSpeed(link, clock, prompter, Index(item.name, value));
    case Group::kGap: return SetGapPosition(link, clock, prompter, Index(item.name, value));
    case Group::kSerial: {
      SerialSwitch settings = *current.serial;
      for (const Item& i : Items()) {
        if (i.group == Group::kSerial && valueOf(i.name)) settings.*i.serialField = Index(i.name, *valueOf(i.name));
      }
      return SetSerialSettings(link, clock, prompter, settings);
    }
    case Group::kLanguage: {
      LanguageSettings settings = *current.language;
      if (valueOf("codepage")) settings.codePage = Index("codepage", *valueOf("codepage"));
      if (valueOf("ics")) settings.ics = Index("ics", *valueOf("ics"));
      return SetLanguageSettings(link, clock, prompter, settings);
    }
    case Group::kRfid: {
      RfidSettings r = *current.rfid;
      if (valueOf("rfid-tag")) r.tagType = Index("rfid-tag", *valueOf("rfid-tag"));
      if (valueOf("rfid-power")) r.power = std::atoi(valueOf("rfid-power")->c_str()) - 1;
      if (valueOf("rfid-position")) r.position = *valueOf("rfid-position");
      if (valueOf("rfid-retries")) r.retries = std::atoi(valueOf("rfid-retries")->c_str());
      if (valueOf("rfid-labels")) r.labels = std::atoi(valueOf("rfid-labels")->c_str());
      return SetRfidSettings(link, prompter, r);
    }
  }
  return false;
}

}  // namespace

ProfileParse ParseProfile(std::string_view text) {
  const Json document = Json::parse(text, nullptr, false);
  if (document.is_discarded()) return {std::nullopt, "not a JSON document"};
  if (!document.is_object()) return {std::nullopt, "not a JSON object"};
  if (std::string e = RefuseUnknown(document, "", {"format", "version", "printer", "settings", "identity"});
      !e.empty()) {
    return {std::nullopt, e};
  }
  const auto format = document.find("format");
  if (format == document.end() || !format->is_string() || format->get<std::string>() != kProfileFormat) {
    return {std::nullopt, "format: not a " + std::string(kProfileFormat) + " document"};
  }
  const auto version = document.find("version");
  if (version == document.end() || !version->is_number_integer()) return {std::nullopt, "version: not a whole number"};
  if (version->get<int64_t>() > kProfileVersion) {
    return {std::nullopt, "version: " + std::to_string(version->get<int64_t>()) + " is newer than this program reads (" +
                              std::to_string(kProfileVersion) + ")"};
  }
  if (version->get<int64_t>() < 1) return {std::nullopt, "version: " + std::to_string(version->get<int64_t>()) + " is no version"};
  SettingsProfile profile;
  if (const auto printer = document.find("printer"); printer != document.end()) {
    if (!printer->is_object()) return {std::nullopt, "printer: not an object"};
    if (std::string e = RefuseUnknown(*printer, "printer.", {"model", "firmware"}); !e.empty()) return {std::nullopt, e};
    for (const auto& [key, target] : {std::pair{"model", &profile.model}, std::pair{"firmware", &profile.firmware}}) {
      const auto field = printer->find(key);
      if (field == printer->end()) continue;
      if (!field->is_string()) return {std::nullopt, std::string("printer.") + key + ": not a string"};
      *target = field->get<std::string>();
    }
  }
  if (const auto settings = document.find("settings"); settings != document.end()) {
    if (!settings->is_object()) return {std::nullopt, "settings: not an object"};
    for (const auto& [key, value] : settings->items()) {
      const Item* item = FindItem(key);
      if (!item) return {std::nullopt, "unknown key " + Quoted("settings." + key)};
      std::string taken;
      if (std::string e = TakeValue(*item, value, taken); !e.empty()) return {std::nullopt, e};
      profile.settings[key] = taken;
    }
  }
  if (const auto identity = document.find("identity"); identity != document.end()) {
    if (!identity->is_object()) return {std::nullopt, "identity: not an object"};
    for (const auto& [key, value] : identity->items()) {
      const IdentityItem* found = nullptr;
      for (const IdentityItem& i : kIdentity) found = i.name == key ? &i : found;
      if (!found) return {std::nullopt, "unknown key " + Quoted("identity." + key)};
      std::string taken;
      if (std::string e = TakeIdentity(found->name, found->item, value, taken); !e.empty()) return {std::nullopt, e};
      profile.identity[key] = taken;
    }
  }
  return {profile, {}};
}

std::string WriteProfile(const SettingsProfile& profile, int indent) {
  Json document;
  document["format"] = kProfileFormat;
  document["version"] = kProfileVersion;
  document["printer"] = {{"model", Latin1ToUtf8(profile.model)}, {"firmware", Latin1ToUtf8(profile.firmware)}};
  Json settings = Json::object();
  for (const Item& item : Items()) {
    const auto it = profile.settings.find(std::string(item.name));
    if (it == profile.settings.end()) continue;
    if (item.number) {
      settings[std::string(item.name)] = std::atoi(it->second.c_str());
    } else {
      settings[std::string(item.name)] = Latin1ToUtf8(it->second);
    }
  }
  document["settings"] = settings;
  Json identity = Json::object();
  for (const IdentityItem& i : kIdentity) {
    const auto it = profile.identity.find(std::string(i.name));
    if (it != profile.identity.end()) identity[std::string(i.name)] = Latin1ToUtf8(it->second);
  }
  document["identity"] = identity;
  return document.dump(indent) + "\n";
}

SettingsProfile ReadProfile(PrinterLink& link, Clock& clock, Prompter& prompter) {
  SettingsProfile profile;
  const PrinterInformation info = GetPrinterInformation(link, clock, prompter);
  profile.model = WithoutLineEnd(info.modelName);
  profile.firmware = WithoutLineEnd(info.firmwareVersion);
  profile.settings = ReadCurrent(link, clock, prompter, nullptr).values;
  for (const IdentityItem& i : kIdentity) {
    if (std::optional<std::string> text = GetHardwareItem(link, clock, prompter, i.item)) {
      profile.identity[std::string(i.name)] = *text;
    }
  }
  return profile;
}

SettingsProfile KeepOnly(const SettingsProfile& profile, const std::set<std::string>& names) {
  SettingsProfile kept;
  kept.model = profile.model;
  kept.firmware = profile.firmware;
  for (const auto& [name, value] : profile.settings) {
    if (names.contains(name)) kept.settings[name] = value;
  }
  for (const auto& [name, value] : profile.identity) {
    if (names.contains(name)) kept.identity[name] = value;
  }
  return kept;
}

ProfileValues ValuesOf(const SettingsProfile& profile) {
  ProfileValues values;
  for (const auto& [name, text] : profile.settings) {
    const Item* item = FindItem(name);
    if (!item) continue;
    const std::optional<int> number = ParseWhole(text);
    const int index = Index(name, text);
    switch (item->group) {
      case Group::kNumeric: values.numeric[static_cast<size_t>(item->numeric)] = number; break;
      case Group::kSigned: values.signedItem[static_cast<size_t>(item->signedItem)] = number; break;
      case Group::kStrobe: values.strobe = index >= 0 ? std::optional(index) : std::nullopt; break;
      case Group::kSpeed: values.speed = index >= 0 ? std::optional(index) : std::nullopt; break;
      case Group::kGap: values.gapDetect = index >= 0 ? std::optional(index) : std::nullopt; break;
      case Group::kSerial: values.serial.*item->serialField = index; break;
      case Group::kLanguage: (name == "codepage" ? values.language.codePage : values.language.ics) = index; break;
      case Group::kRfid: break;
    }
  }
  for (const IdentityItem& i : kIdentity) {
    const auto it = profile.identity.find(std::string(i.name));
    if (it != profile.identity.end()) values.identity[static_cast<size_t>(i.item)] = it->second;
  }
  return values;
}

bool IsIdentityItem(std::string_view name) {
  for (const IdentityItem& i : kIdentity) {
    if (i.name == name) return true;
  }
  return false;
}

ApplyResult ApplyProfile(PrinterLink& link, Clock& clock, Prompter& prompter, const SettingsProfile& profile,
                         const ApplyOptions& options) {
  ApplyResult result;
  NoProgress quiet;
  Progress& progress = options.progress ? *options.progress : quiet;
  const uint64_t total = profile.settings.size() + (options.withIdentity ? profile.identity.size() : 0);
  const auto settled = [&] {
    progress.Report(result.changed.size() + result.unchanged.size() + result.failed.size(), total);
  };
  const char* const kNotWritten = "not written: stopped";
  const Current current = ReadCurrent(link, clock, prompter, &profile.settings);
  // The items to write, each group written once with all its differing items.
  std::vector<const Item*> differing;
  for (const Item& item : Items()) {
    const auto want = profile.settings.find(std::string(item.name));
    if (want == profile.settings.end()) continue;
    const auto now = current.values.find(want->first);
    if (now == current.values.end()) {
      result.failed.push_back({want->first, "the printer's value could not be read"});
    } else if (now->second == want->second) {
      result.unchanged.push_back(want->first);
    } else {
      differing.push_back(&item);
    }
  }
  settled();
  const auto fromOf = [&](const std::string& name) { return Latin1ToUtf8(current.values.at(name)); };
  const auto toOf = [&](const std::string& name) { return Latin1ToUtf8(profile.settings.at(name)); };
  if (options.dryRun) {
    for (const Item* item : differing) {
      const std::string name(item->name);
      result.changed.push_back({name, fromOf(name), toOf(name)});
    }
  } else {
    std::vector<const Item*> written;
    for (const Item* item : differing) {
      bool groupDone = false;
      for (const Item* w : written) groupDone = groupDone || SharesRead(*w, *item);
      if (groupDone) continue;
      // Only the differing items of the group are given; the rest stay as read.
      std::map<std::string, std::string> want;
      for (const Item* d : differing) {
        if (d == item || SharesRead(*d, *item)) want[std::string(d->name)] = profile.settings.at(std::string(d->name));
      }
      written.push_back(item);
      if (progress.Cancelled()) {
        for (const auto& [name, value] : want) result.failed.push_back({name, kNotWritten});
        settled();
        continue;
      }
      const bool ok = WriteGroup(link, clock, prompter, *item, current, want);
      Current back;
      if (ok) ReadGroup(link, clock, prompter, *item, back);
      for (const auto& [name, value] : want) {
        const auto read = back.values.find(name);
        if (!ok) {
          result.failed.push_back({name, "the write failed"});
        } else if (read == back.values.end()) {
          result.failed.push_back({name, "no reply when read back"});
        } else if (read->second != value) {
          result.failed.push_back({name, "read back " + Quoted(Latin1ToUtf8(read->second))});
        } else {
          result.changed.push_back({name, fromOf(name), toOf(name)});
        }
      }
      settled();
    }
  }
  if (!options.withIdentity) return result;
  // Each identity item ends in one entry of the result.
  const auto applyIdentity = [&](const IdentityItem& i, const std::string& wanted) {
    const std::string name(i.name);
    if (!options.dryRun && progress.Cancelled()) {
      result.failed.push_back({name, kNotWritten});
      return;
    }
    const std::optional<std::string> now = GetHardwareItem(link, clock, prompter, i.item);
    if (!now) {
      result.failed.push_back({name, "the printer's value could not be read"});
      return;
    }
    if (*now == wanted) {
      result.unchanged.push_back(name);
      return;
    }
    if (!options.dryRun) {
      if (!SetHardwareItem(link, clock, prompter, i.item, wanted)) {
        result.failed.push_back({name, "the write failed"});
        return;
      }
      const std::optional<std::string> back = GetHardwareItem(link, clock, prompter, i.item);
      if (!back || *back != wanted) {
        result.failed.push_back({name, back ? "read back " + Quoted(Latin1ToUtf8(*back)) : "no reply when read back"});
        return;
      }
    }
    result.changed.push_back({name, Latin1ToUtf8(*now), Latin1ToUtf8(wanted)});
  };
  for (const IdentityItem& i : kIdentity) {
    const auto want = profile.identity.find(std::string(i.name));
    if (want == profile.identity.end()) continue;
    applyIdentity(i, want->second);
    settled();
  }
  return result;
}

}  // namespace qm

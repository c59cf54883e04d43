// `calibrate`: the media sensor's distribution as a text chart with the proposed level, the
// threshold stored, and the printer's own calibration started or cancelled.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/command.h"
#include "cli/setting_text.h"
#include "settings/calibration.h"

namespace qm::cli {

namespace {

constexpr int kBarWidth = 40;

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// "048 : 0900 |#########  peak", one line a level.
std::string Chart(const SensingCounts& counts, const SensingAnalysis& a, std::optional<int> proposedLevel) {
  const int top = *std::max_element(counts.begin(), counts.end());
  std::string out;
  for (int k = 0; k < kSensingLevels; ++k) {
    const int count = counts[static_cast<size_t>(k)];
    int width = top > 0 ? count * kBarWidth / top : 0;
    if (count > 0) width = std::max(width, 1);
    std::string line = LevelLabel(k) + " " + CountText(count) + " |" + std::string(static_cast<size_t>(width), '#');
    std::string notes;
    if (k == a.lo || k == a.hi) notes += " peak";
    if (k >= a.firstEnabled && k <= a.lastEnabled) notes += " offered";
    if (proposedLevel && *proposedLevel == k) notes += " <- proposed";
    if (!notes.empty()) line = Padded(line, 12 + kBarWidth + 1) + notes.substr(1);
    out += line + "\n";
  }
  return out;
}

std::string Three(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%3.3d", value);
  return text;
}

class CalibrateCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("calibrate", "Calibrate the media sensor");
    sub->require_subcommand(1);
    check_ = sub->add_subcommand(
        "check", "Read the sensing distribution, chart it and propose a level; --save stores it");
    check_->add_option("--type", typeText_, "gap or black (mark); default gap")->type_name("gap|black");
    check_->add_option("--length", length_, "label length in mm; default 150")->type_name("MM");
    check_->add_flag("--save", save_, "store the proposed middle gap value");
    check_->add_option("--count", gapCount_, "gap count stored with --save, 4..10; default 7")->type_name("N");
    check_->footer(
        "Sends ^MXd with the length in dots (mm x 8) and G or B, then waits for the label to pass "
        "(4 ms a dot on serial, 6 on parallel and USB) while taking the 64-byte reply as soon as it is "
        "in. Clusters within three levels get the finer levels of the extra choice, the fifth proposed.");
    storeCmd_ = sub->add_subcommand("save", "Store a middle gap value and gap count (^MXs)");
    storeCmd_->add_option("MIDDLE_GAP_VALUE", storeValue_, "the threshold level, e.g. 144")->required();
    storeCmd_->add_option("GAP_COUNT", storeCount_, "4..10")->required();
    cancel_ = sub->add_subcommand("cancel", "Cancel a sensing calibration (^MXc)");
    manual_ = sub->add_subcommand("manual", "Let the printer calibrate by itself (^MA)");
    manual_->add_option("--detect", detect_, "number of detections, 4..15; default 8")->type_name("N");
    manual_->add_option("--margin", margin_, "detect margin, 4..40 in steps of 2; default 16")->type_name("N");
    manual_->add_option("--length", manualLength_, "label length as the printer takes it; default 1500")
        ->type_name("N");
    manualCancel_ = sub->add_subcommand("manual-cancel", "Cancel the printer's own calibration (^MAC)");
    sub->footer("Calibration is not offered on an Ethernet connection.");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (check_->parsed()) {
      if (typeText_ != "gap" && typeText_ != "black") return "--type: \"" + typeText_ + "\" is not gap or black";
      if (length_ < 1 || length_ > 9999) return "--length: " + std::to_string(length_) + " is not 1..9999 mm";
      if (gapCount_ < 4 || gapCount_ > 10) return "--count: " + std::to_string(gapCount_) + " is not 4..10";
    } else if (storeCmd_->parsed()) {
      if (storeValue_ < 0) return "MIDDLE_GAP_VALUE: " + std::to_string(storeValue_) + " is negative";
      if (storeCount_ < 4 || storeCount_ > 10) return "GAP_COUNT: " + std::to_string(storeCount_) + " is not 4..10";
    } else if (manual_->parsed()) {
      if (detect_ < 4 || detect_ > 15) return "--detect: " + std::to_string(detect_) + " is not 4..15";
      if (margin_ < 4 || margin_ > 40 || margin_ % 2 != 0) {
        return "--margin: " + std::to_string(margin_) + " is not 4..40 in steps of 2";
      }
      if (manualLength_.empty() || manualLength_.find_first_not_of("0123456789") != std::string::npos) {
        return "--length: \"" + manualLength_ + "\" is not a whole number";
      }
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    if (check_->parsed()) {
      fields.Add("type", typeText_);
      fields.Add("length", length_);
    }
    return fields;
  }

  Outcome Run(Session& session) override {
    PrinterLink& link = session.link;
    if (link.GetInterfaceKind() == kEthernet) {
      return Outcome::PrinterFailed(std::string(EnglishText(sid::kNoCalibrationOnEthernet)));
    }
    if (check_->parsed()) return Check(session);
    if (storeCmd_->parsed()) return Store(link, storeValue_, storeCount_, {});
    if (cancel_->parsed()) return Sent(link, BuildCancelSensing(), CancelSensing(link), "Sensing calibration cancelled");
    if (manual_->parsed()) {
      const std::string detect = std::to_string(detect_);
      const std::string margin = std::to_string(margin_);
      return Sent(link, BuildManualCalibration(detect, margin, manualLength_),
                  RunManualCalibration(link, detect, margin, manualLength_),
                  "Manual calibration started: " + detect + " detections, margin " + margin + ", label length " +
                      manualLength_);
    }
    return Sent(link, BuildCancelManualCalibration(), CancelManualCalibration(link), "Manual calibration cancelled");
  }

 private:
  static Outcome Sent(const PrinterLink& link, const std::string& command, int result, std::string text) {
    if (!WroteAll(link, result, command.size())) return Outcome::PrinterFailed(WriteFailure(link));
    return Outcome::Done(std::move(text));
  }

  static Outcome Store(PrinterLink& link, int value, int count, Outcome shown) {
    const int result = StoreThreshold(link, value, count);
    shown.fields.Add("saved", WroteAll(link, result, BuildStoreThreshold(value, count).size()));
    if (!WroteAll(link, result, BuildStoreThreshold(value, count).size())) {
      shown.status = ExitStatus::kPrinterFailed;
      shown.error = WriteFailure(link);
      return shown;
    }
    shown.fields.Add("middle_gap_value", value);
    shown.fields.Add("gap_count", count);
    shown.text += "Stored middle gap value " + std::to_string(value) + " with gap count " + std::to_string(count) + "\n";
    return shown;
  }

  Outcome Check(Session& session) {
    const SensingType type = typeText_ == "black" ? SensingType::kBlackMark : SensingType::kGap;
    const DistributionRead read = ReadSensingDistribution(session.link, session.clock, session.prompter, length_, type);
    if (!read.ok) {
      return Outcome::PrinterFailed(NoReply(session.link, "the distribution did not come whole (" +
                                                              std::to_string(read.firstTotal) + " of 64 bytes)"));
    }
    const SensingAnalysis a = AnalyseSensing(read.counts, type);
    // Close clusters take the extra choice's fifth level, as the page's extra dialog starts.
    std::optional<int> proposed = a.middleGapValue;
    std::vector<std::string> finer;
    if (a.needsExtra()) {
      proposed = ExtraLevel(type, a.lo, a.hi, 4);
      for (int i = 0; i < 8; ++i) {
        if (const std::optional<int> level = ExtraLevel(type, a.lo, a.hi, i)) finer.push_back(Three(*level));
      }
    }
    Outcome shown = Outcome::Done({});
    std::string& text = shown.text;
    text = std::string("Sensing value distribution (") + (type == SensingType::kGap ? "gap" : "black mark") + ", " +
           std::to_string(length_) + " mm):\n";
    text += Chart(read.counts, a, a.needsExtra() ? std::nullopt : std::optional<int>(a.selected));
    text += "Peaks: " + Three(SensingLevel(a.lo)) + " (" + CountText(read.counts[static_cast<size_t>(a.lo)]) +
            ") and " + Three(SensingLevel(a.hi)) + " (" + CountText(read.counts[static_cast<size_t>(a.hi)]) + ")\n";
    if (a.firstEnabled <= a.lastEnabled) {
      text += "Levels offered: " + Three(SensingLevel(a.firstEnabled)) + " to " + Three(SensingLevel(a.lastEnabled)) +
              "\n";
    }
    if (!finer.empty()) {
      std::string list;
      for (const std::string& level : finer) list += (list.empty() ? "" : " ") + level;
      text += "Clusters " + std::to_string(a.distance()) + " level(s) apart; finer levels: " + list + "\n";
    }
    std::vector<std::string> counts;
    for (const uint16_t c : read.counts) counts.push_back(std::to_string(c));
    shown.fields.Add("counts", counts);
    shown.fields.Add("lower_peak", SensingLevel(a.lo));
    shown.fields.Add("upper_peak", SensingLevel(a.hi));
    if (!finer.empty()) shown.fields.Add("finer_levels", finer);
    if (!proposed) {
      // One cluster, or two on top of each other: nothing lies between label and gap.
      text += "No level between the clusters: check the media and the length\n";
      shown.fields.Add("saved", false);
      if (!save_) return shown;
      shown.status = ExitStatus::kPrinterFailed;
      shown.error = "nothing to save: the distribution shows no second cluster";
      return shown;
    }
    text += "Proposed middle gap value: " + std::to_string(*proposed) + "\n";
    shown.fields.Add("proposed", *proposed);
    if (!save_) return shown;
    return Store(session.link, *proposed, gapCount_, std::move(shown));
  }

  CLI::App* check_ = nullptr;
  CLI::App* storeCmd_ = nullptr;
  CLI::App* cancel_ = nullptr;
  CLI::App* manual_ = nullptr;
  CLI::App* manualCancel_ = nullptr;
  std::string typeText_ = "gap";
  int length_ = 150;
  bool save_ = false;
  int gapCount_ = 7;
  int storeValue_ = 0;
  int storeCount_ = 0;
  int detect_ = 8;
  int margin_ = 16;
  std::string manualLength_ = "1500";
};

}  // namespace

std::unique_ptr<Command> MakeCalibrateCommand() { return std::make_unique<CalibrateCommand>(); }

}  // namespace qm::cli

// `pcx store|recall|delete|info`: the printer's image store.
#include <CLI/CLI.hpp>

#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/setting_text.h"
#include "cli/transfer_progress.h"
#include "downloads/image_commands.h"
#include "render/draw_commands.h"
#include "settings/printer_status.h"
#include "core/tool_texts.h"

namespace qm::cli {

namespace {

// The file's name less its last four characters, as the dialog names an image: "photo"
// for photo.pcx and for photo.bmp alike.
std::string DefaultImageName(const std::string& path) {
  return ImageNameFromFileName(std::filesystem::path(path).filename().string());
}

// The image is read whole to be checked, so it is held to the limit of the other inputs;
// the printer's own store takes no more either.
constexpr uint64_t kMaxImageBytes = uint64_t{16} << 20;

// Why `path` is no image to store, or empty: it must be a regular file holding a picture
// the PCX reader can draw, or the printer would be sent bytes it cannot print (a device
// such as /dev/zero would even be sent as an empty image).
std::string CheckImageFile(const std::string& path) {
  std::string why;
  std::optional<FileSource> file = FileSource::Open(path, &why);
  if (!file) return path + ": " + why;
  if (file->size().value_or(0) > kMaxImageBytes) return path + ": larger than 16 MiB";
  std::string bytes;
  char buffer[65536];
  for (size_t got = sizeof buffer; got == sizeof buffer && bytes.size() <= kMaxImageBytes;) {
    got = file->Read(buffer, sizeof buffer);
    bytes.append(buffer, got);
  }
  if (file->failed()) return path + ": cannot be read";
  if (bytes.size() > kMaxImageBytes) return path + ": larger than 16 MiB";
  std::string error;
  if (render::DecodePcx(bytes, error)) return {};
  if (error == "not a PCX file") return path + ": not a PCX file";
  return path + ": not a PCX image it can print (" + error + ")";
}

// Whether the printer kept the image it was just sent. Only a serial printer answers
// "^ee"; elsewhere nothing can be asked, and silence says nothing either way. A memory
// error right after the image means the printer dropped it.
std::string RefusedImage(Session& session, Prompter& silent, const std::string& name) {
  if (session.link.GetInterfaceKind() != kSerial) return {};
  const StatusRead read = CheckPrinterStatus(session.link, session.clock, silent, StatusCommand::kEe);
  if (!read.ok) return {};
  const std::vector<std::string_view>& boxes = StatusBoxes(StatusCommand::kEe);
  for (const int box : read.ticked) {
    const std::string_view said = boxes[static_cast<size_t>(box)];
    if (said == texts::kInsufficantMem || said == "Memory Error") {
      return "the printer did not store the image '" + name + "': " + std::string(said);
    }
  }
  return {};
}

class PcxCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("pcx", "Store, recall, delete and list the printer's PCX images");
    sub->require_subcommand(1);
    store_ = sub->add_subcommand("store", "Image Store: the file under NAME, then a check print at 100,100");
    store_->add_option("FILE", file_, "the PCX file")->required()->type_name("");
    store_->add_option("--name", name_, "the image's name (default: the file's name less its last four characters)")->type_name("NAME");
    AddPaceOption(store_, paceMs_);
    store_->footer(
        "Writes \"IS\" COUNT \",'\" NAME \"'\" and the file's bytes right after it, then CR CR "
        "\"IR100,100,'\" NAME \"'\" CR \"P1\" CR. COUNT is the file's length as it is sent. The file "
        "must be a PCX image of at most 16 MiB. On a serial link \"^ee\" CR is asked before the check "
        "print: a memory error there means the printer did not keep the image, and the store fails.");
    recall_ = sub->add_subcommand("recall", "Image Recall: print the stored image NAME at X,Y");
    recall_->add_option("NAME", name_, "the stored image")->required()->type_name("");
    recall_->add_option("--x", x_, "X position, sent as given (default 0)")->type_name("N");
    recall_->add_option("--y", y_, "Y position, sent as given (default 0)")->type_name("N");
    delete_ = sub->add_subcommand("delete", "Image Delete: one image or all, then the information command");
    delete_->add_option("NAME", name_, "the image to delete")->type_name("");
    delete_->add_flag("--all", all_, "delete every stored image");
    info_ = sub->add_subcommand("info", "Image Information: the printer reports its stored images itself");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (store_->parsed()) {
      if (std::string error = CheckImageFile(file_); !error.empty()) return error;
      if (name_.empty()) name_ = DefaultImageName(file_);
      if (name_.empty()) return "--name: the image needs a name";
    } else if (recall_->parsed()) {
      if (name_.empty()) return "NAME: the image needs a name";
    } else if (delete_->parsed()) {
      if (all_ == !name_.empty()) return "give either NAME or --all";
    }
    // The name goes out as the dialog sends the same typed name: in Latin-1, not UTF-8.
    const char* option = store_->parsed() ? "--name" : "NAME";
    if (std::string error = TakeLatin1(option, name_, nameBytes_); !error.empty()) return error;
    if (recall_->parsed()) {
      if (std::string error = TakeLatin1("--x", x_, xBytes_); !error.empty()) return error;
      if (std::string error = TakeLatin1("--y", y_, yBytes_); !error.empty()) return error;
    }
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    if (store_->parsed()) fields.Add("file", file_);
    if (!name_.empty()) fields.Add("name", name_);
    return fields;
  }

  Outcome Run(Session& session) override {
    PrinterLink& link = session.link;
    if (store_->parsed()) {
      SilentPrompter silent;  // the outcome says it all
      std::string refused;
      const TransferRun run = RunTransfer(session, "pcx store", paceMs_, [&](const TransferOptions& options) {
        TransferOptions asking = options;
        asking.confirmStored = [&] { return refused = RefusedImage(session, silent, name_); };
        return StoreImage(link, silent, EnglishStrings(), file_, nameBytes_, asking);
      });
      if (!refused.empty()) {
        JsonObject fields;
        fields.Add("sent", static_cast<int64_t>(run.result.sent));
        fields.Add("refused", true);
        return Outcome::PrinterFailed(refused, fields);
      }
      return TransferOutcome(run, "stored " + BytesCount(run.result.sent, 0) + " as '" + name_ + "'");
    }
    SilentPrompter silent;
    bool wrote = false;
    std::string done;
    if (recall_->parsed()) {
      wrote = RecallImage(link, silent, EnglishStrings(), xBytes_, yBytes_, nameBytes_);
      done = "recalled '" + name_ + "' at " + x_ + "," + y_;
    } else if (delete_->parsed()) {
      wrote = all_ ? DeleteAllImages(link) : DeleteImage(link, silent, EnglishStrings(), nameBytes_);
      done = all_ ? "deleted all images" : "deleted '" + name_ + "'";
    } else {
      wrote = RequestImageInformation(link);
      done = "asked for the image information";
    }
    if (!wrote) {
      const std::string& why = link.lastError();
      return Outcome::PrinterFailed("the write failed" + (why.empty() ? "" : ": " + why));
    }
    return Outcome::Done(done);
  }

 private:
  CLI::App* store_ = nullptr;
  CLI::App* recall_ = nullptr;
  CLI::App* delete_ = nullptr;
  CLI::App* info_ = nullptr;
  std::string file_, name_, x_ = "0", y_ = "0";
  // What goes on the wire for name_, x_ and y_.
  std::string nameBytes_, xBytes_, yBytes_;
  bool all_ = false;
  int paceMs_ = -1;
};

}  // namespace

std::unique_ptr<Command> MakePcxCommand() { return std::make_unique<PcxCommand>(); }

}  // namespace qm::cli

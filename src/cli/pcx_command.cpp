// `pcx store|recall|delete|info`: the printer's image store.
#include <CLI/CLI.hpp>

#include <cctype>
#include <filesystem>

#include "cli/transfer_progress.h"
#include "downloads/image_commands.h"

namespace qm::cli {

namespace {

// The file's name less a ".pcx" of any case; the whole name when it has none.
std::string DefaultImageName(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.size() >= 4) {
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".pcx") return ImageNameFromFileName(name);
  }
  return name;
}

class PcxCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand("pcx", "Store, recall, delete and list the printer's PCX images");
    sub->require_subcommand(1);
    store_ = sub->add_subcommand("store", "Image Store: the file under NAME, then a check print at 100,100");
    store_->add_option("FILE", file_, "the PCX file")->required()->type_name("");
    store_->add_option("--name", name_, "the image's name (default: the file's name less .pcx)")->type_name("NAME");
    AddPaceOption(store_, paceMs_);
    store_->footer(
        "Writes \"IS\" COUNT \",'\" NAME \"'\" and the file's bytes right after it, then CR CR "
        "\"IR100,100,'\" NAME \"'\" CR \"P1\" CR. COUNT is the file's length as it is sent.");
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
      if (!FileSource::Open(file_)) return file_ + ": cannot be opened for reading";
      if (name_.empty()) name_ = DefaultImageName(file_);
      if (name_.empty()) return "--name: the image needs a name";
    } else if (recall_->parsed()) {
      if (name_.empty()) return "NAME: the image needs a name";
    } else if (delete_->parsed()) {
      if (all_ == !name_.empty()) return "give either NAME or --all";
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
      const TransferRun run = RunTransfer(session, "pcx store", paceMs_, [&](const TransferOptions& options) {
        return StoreImage(link, silent, EnglishStrings(), file_, name_, options);
      });
      return TransferOutcome(run, "stored " + BytesCount(run.result.sent, 0) + " as '" + name_ + "'");
    }
    SilentPrompter silent;
    bool wrote = false;
    std::string done;
    if (recall_->parsed()) {
      wrote = RecallImage(link, silent, EnglishStrings(), x_, y_, name_);
      done = "recalled '" + name_ + "' at " + x_ + "," + y_;
    } else if (delete_->parsed()) {
      wrote = all_ ? DeleteAllImages(link) : DeleteImage(link, silent, EnglishStrings(), name_);
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
  bool all_ = false;
  int paceMs_ = -1;
};

}  // namespace

std::unique_ptr<Command> MakePcxCommand() { return std::make_unique<PcxCommand>(); }

}  // namespace qm::cli

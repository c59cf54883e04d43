// `render`: a script drawn to PNG as the printer would print it, with no printer at all.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>

#include "cli/command.h"
#include "downloads/file_source.h"
#include "render/drawn_boxes.h"
#include "render/label_renderer.h"
#include "render/pdf_output.h"

namespace qm::cli {

namespace {

constexpr size_t kMaxBytes = size_t{16} << 20;  // the script limit of `send`

std::string ReadAll(std::istream& in, const std::string& name, std::string& bytes) {
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxBytes) return name + ": larger than 16 MiB";
  }
  if (in.bad()) return name + ": cannot be read";
  return {};
}

// A file: a regular one (a FIFO is refused, not waited on), read to the same limit.
std::string ReadAll(FileSource& f, const std::string& name, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const size_t got = f.Read(buffer, sizeof buffer);
    bytes.append(buffer, got);
    if (bytes.size() > kMaxBytes) return name + ": larger than 16 MiB";
    if (got < sizeof buffer) break;
  }
  if (f.failed()) return name + ": cannot be read";
  return {};
}

std::string Numbered(int n) {
  std::string digits = std::to_string(n);
  return std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

// Draws nothing: the walk counts the labels and finds the script's own warnings.
class CountOnly : public render::LabelSink {
 public:
  bool Wanted(const render::LabelVisit&) override { return false; }
  void Take(const render::LabelVisit&, std::shared_ptr<const render::Bitmap>,
            std::shared_ptr<const std::vector<render::DrawnBox>>, const std::vector<render::Warning>&) override {}
};

// Writes each label as it comes, to its PNG file or as the PDF's next page, and keeps only
// where its commands drew; after a failed write nothing more is drawn.
class WriteEach : public render::LabelSink {
 public:
  WriteEach(const std::vector<std::string>& paths, render::PdfWriter* pdf, size_t labels)
      : paths_(paths), pdf_(pdf), labels_(labels) {}
  bool Wanted(const render::LabelVisit& label) override {
    return error.empty() && (pdf_ || static_cast<size_t>(label.index) < paths_.size());
  }
  void Take(const render::LabelVisit& label, std::shared_ptr<const render::Bitmap> bitmap,
            std::shared_ptr<const std::vector<render::DrawnBox>> boxes, const std::vector<render::Warning>&) override {
    if (pdf_) {
      pdf_->AddPage(*bitmap, error);
    } else {
      render::WritePng(*bitmap, paths_[static_cast<size_t>(label.index)], error);
    }
    const int number = label.index + 1;
    for (const render::DrawnBox& b : *boxes) drawn.emplace_back(number, b);
    // Copies of one "P" share their boxes: their overlaps are told once.
    if (boxes.get() != lastBoxes_.get()) {
      for (const render::Warning& w : render::OverlapWarnings(*boxes)) {
        overlaps.push_back((labels_ > 1 ? "label " + std::to_string(number) + " " : std::string()) + "line " +
                           std::to_string(w.line) + ": " + w.text);
      }
    }
    lastBoxes_ = std::move(boxes);
  }
  std::string error;
  std::vector<std::pair<int, render::DrawnBox>> drawn;  // label number and box
  std::vector<std::string> overlaps;

 private:
  const std::vector<std::string>& paths_;
  render::PdfWriter* pdf_;
  size_t labels_;
  std::shared_ptr<const std::vector<render::DrawnBox>> lastBoxes_;
};

class RenderCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub =
        parent.add_subcommand("render", "Draw a script's labels to PNG or PDF files, as the printer would print them");
    sub->add_option("FILE", file_, "the script file, or - for standard input (at most 16 MiB)")->required()->type_name("");
    sub->add_option("-o,--out", out_,
                    "a .png file for a single label, or a folder for label-0001.png, label-0002.png, ... "
                    "(default: the current folder); with --format pdf a .pdf file, or a folder for labels.pdf")
        ->type_name("OUT");
    sub->add_option("--format", format_, "png (one file per label) or pdf (one page per label, at true size)")
        ->check(CLI::IsMember({"png", "pdf"}))
        ->type_name("FORMAT");
    sub->add_flag("--boxes", boxes_,
                  "also print, for every command that drew, its label, line, command word and box in dots "
                  "(left, top, width, height)");
    sub->add_option("--width", width_, "the paper width in dots before any SW (default 812, 4 inches)")
        ->type_name("DOTS");
    sub->add_option("--length", length_, "the label length in dots before any SL (default 1219, 6 inches)")
        ->type_name("DOTS");
    sub->footer(
        "Each P makes its labels; commands after the last P are drawn as one more label. Every command "
        "that cannot be drawn, reaches off the label or overlaps another object is named with its line "
        "number on standard error, and the exit status is then 1 (the files are still written). No "
        "printer is opened.");
    return sub;
  }

  std::string Prepare(std::istream& in) override {
    for (const auto& [name, value] : {std::pair{"--width", width_}, std::pair{"--length", length_}}) {
      if (value < 1 || value > render::Bitmap::kMaxSide) {
        return std::string(name) + ": must be 1.." + std::to_string(render::Bitmap::kMaxSide) + " dots";
      }
    }
    if (file_ == "-") return ReadAll(in, "standard input", script_);
    std::string why;
    std::optional<FileSource> f = FileSource::Open(file_, &why);
    if (!f) return file_ + ": " + why;
    return ReadAll(*f, file_, script_);
  }

  bool NeedsPrinter() const override { return false; }
  Outcome Run(Session&) override { return RunWithoutPrinter(); }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("file", file_);
    fields.Add("bytes", static_cast<int64_t>(script_.size()));
    return fields;
  }

  Outcome RunWithoutPrinter() override {
    render::PaperSettings paper;
    paper.width = width_;
    paper.length = length_;
    render::LabelRenderer renderer;
    // A first walk only counts the labels, so the names are known before the first is drawn.
    CountOnly count;
    const render::WalkResult counted = renderer.RenderEach(script_, paper, count);
    if (counted.labels == 0 && counted.warnings.empty()) return Outcome::Usage(file_ + ": holds no label to draw");
    const size_t labels = static_cast<size_t>(counted.labels);
    std::vector<std::string> paths;
    render::PdfWriter pdf;
    if (format_ == "pdf") {
      if (labels == 0) return Outcome::Usage(file_ + ": holds no label to draw");
      if (std::string error = PdfPath(paths); !error.empty()) return Outcome::Usage(error);
      if (std::string error; !pdf.Open(paths[0], error)) return Outcome::Usage(error);
    } else if (std::string error = Paths(labels, paths); !error.empty()) {
      return Outcome::Usage(error);
    }
    // Each label is written as soon as it is drawn and let go, so memory stays flat in labels.
    WriteEach write(paths, format_ == "pdf" ? &pdf : nullptr, labels);
    const render::WalkResult result = renderer.RenderEach(script_, paper, write);
    if (!write.error.empty()) return Outcome::Usage(write.error);
    if (format_ == "pdf") {
      if (std::string error; !pdf.Close(error)) return Outcome::Usage(error);
    }
    std::vector<std::string> warnings;
    for (const render::Warning& w : result.warnings) warnings.push_back("line " + std::to_string(w.line) + ": " + w.text);
    const std::vector<std::string>& overlaps = write.overlaps;
    JsonObject fields;
    fields.Add("labels", static_cast<int64_t>(result.labels));
    fields.Add("files", paths);
    fields.Add("warnings", warnings);
    fields.Add("overlaps", overlaps);
    std::string text;
    for (const std::string& p : paths) text += p + "\n";
    if (boxes_) {
      std::string json;
      for (const auto& [label, b] : write.drawn) {
        const render::Box& r = b.box;
        text += "label " + std::to_string(label) + " line " + std::to_string(b.line) + " " + b.word + " " +
                std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
                std::to_string(r.height) + "\n";
        json += std::string(json.empty() ? "" : ",") + "{\"label\":" + std::to_string(label) +
                ",\"line\":" + std::to_string(b.line) + ",\"command\":" + JsonString(b.word) +
                ",\"left\":" + std::to_string(r.left) + ",\"top\":" + std::to_string(r.top) +
                ",\"width\":" + std::to_string(r.width) + ",\"height\":" + std::to_string(r.height) + "}";
      }
      fields.Add("boxes", JsonRaw{"[" + json + "]"});
    }
    if (warnings.empty() && overlaps.empty()) return Outcome::Done(text, fields);
    std::string error;
    if (!warnings.empty()) {
      error = std::to_string(warnings.size()) + (warnings.size() == 1 ? " command" : " commands") +
              " could not be drawn as written:";
      for (const std::string& w : warnings) error += "\n  " + w;
    }
    if (!overlaps.empty()) {
      if (!error.empty()) error += "\n";
      error += std::to_string(overlaps.size()) + (overlaps.size() == 1 ? " object overlaps" : " objects overlap") +
               " another:";
      for (const std::string& w : overlaps) error += "\n  " + w;
    }
    // The files were written all the same: stdout names them.
    Outcome outcome = Outcome::PrinterFailed(error, fields);
    outcome.text = text;
    return outcome;
  }

 private:
  // Where each label goes: the file named, or numbered files in the folder named.
  std::string Paths(size_t count, std::vector<std::string>& paths) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool file = out_.size() > 4 && out_.compare(out_.size() - 4, 4, ".png") == 0 && !fs::is_directory(out_, ec);
    if (file) {
      if (count > 1) {
        return "-o " + out_ + ": the script makes " + std::to_string(count) + " labels; name a folder for them";
      }
      paths.push_back(out_);
      return {};
    }
    if (!fs::is_directory(out_, ec)) return "-o " + out_ + ": no such folder (or give a name ending in .png)";
    for (size_t i = 0; i < count; ++i) paths.push_back(out_ + "/label-" + Numbered(static_cast<int>(i + 1)) + ".png");
    return {};
  }

  // The one PDF: the file named, or labels.pdf in the folder named.
  std::string PdfPath(std::vector<std::string>& paths) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(out_, ec)) {
      paths.push_back(out_ + "/labels.pdf");
    } else if (out_.size() > 4 && out_.compare(out_.size() - 4, 4, ".pdf") == 0) {
      paths.push_back(out_);
    } else {
      return "-o " + out_ + ": no such folder (or give a name ending in .pdf)";
    }
    return {};
  }

  std::string file_;
  std::string out_ = ".";
  std::string format_ = "png";
  bool boxes_ = false;
  int width_ = 812;
  int length_ = 1219;
  std::string script_;
};

}  // namespace

std::unique_ptr<Command> MakeRenderCommand() { return std::make_unique<RenderCommand>(); }

}  // namespace qm::cli

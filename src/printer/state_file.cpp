#include "printer/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

#include <nlohmann/json.hpp>

#include "core/latin1.h"

namespace qm::printer {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "quillmark-printer-state";
constexpr int64_t kVersion = 1;

// The printer keeps one byte a character. A file holds each byte as the character of the
// same number (so a byte above 0x7F is written "\u00XX"); read back, a character up to
// U+00FF is its byte again and one above stays in its UTF-8 bytes, as earlier versions read it.
std::string TextBytes(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size()) {
      out.push_back(static_cast<char>(((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
      ++i;
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

// A whole number of `j` within lo..hi.
bool WholeIn(const Json& j, int64_t lo, int64_t hi, int64_t& out) {
  if (j.is_number_unsigned()) {
    const auto u = j.get<uint64_t>();
    if (u > static_cast<uint64_t>(INT64_MAX)) return false;
    out = static_cast<int64_t>(u);
  } else if (j.is_number_integer()) {
    out = j.get<int64_t>();
  } else {
    return false;
  }
  return out >= lo && out <= hi;
}

// One description of every stored value serves both directions, so reading and writing
// cannot drift apart.
class Binder {
 public:
  virtual ~Binder() = default;
  virtual void Group(const char* name) = 0;
  virtual void Int(const char* key, int& value, int lo, int hi) = 0;
  virtual void Count(const char* key, uint32_t& value) = 0;
  virtual void Bool(const char* key, bool& value) = 0;
  virtual void Text(const char* key, std::string& value, size_t max) = 0;
  virtual void Media(const char* key, MediaType& value) = 0;
  virtual void Switches(const char* key, std::array<uint8_t, 4>& value) = 0;
};

void Describe(Binder& b, StoredState& s) {
  b.Group("");
  b.Int("model", s.modelIndex, 0, kModelCount - 1);
  b.Switches("switches", s.switches);
  MediaSettings& m = s.media;
  b.Group("media");
  b.Int("paperWidth", m.paperWidth, 0, kMaxWidthDots);
  b.Int("paperLength", m.paperLength, 0, kMaxLengthDots);
  b.Int("gapLength", m.gapLength, 0, kMaxGapDots);
  b.Int("horizontalMargin", m.horizontalMargin, 0, kMaxWidthDots);
  b.Int("verticalMargin", m.verticalMargin, 0, kMaxLengthDots);
  b.Int("density", m.density, 0, kMaxDensity);
  b.Int("offset", m.offset, -kMaxShiftDots, kMaxShiftDots);
  b.Int("tearOff", m.tearOff, -kMaxShiftDots, kMaxShiftDots);
  b.Bool("labelLengthCheck", m.labelLengthCheck);
  b.Media("media", m.media);
  b.Int("printSpeed", m.printSpeed, 0, 4);
  b.Bool("topFirst", m.topFirst);
  b.Int("codePage", m.codePage, 0, 22);
  b.Int("characterSet", m.ics, 0, 15);
  b.Group("identification");
  b.Text("hardwareVersion", s.ident.hardwareVersion, kHardwareVersionMax);
  b.Text("serialNumber", s.ident.serialNumber, kSerialNumberMax);
  b.Text("printerId", s.ident.printerId, kPrinterIdMax);
  b.Group("sensor");
  b.Int("threshold", s.sensor.threshold, 0, 256);
  b.Int("gapCount", s.sensor.gapCount, 4, 10);
  b.Media("calibratedFor", s.sensor.calibratedFor);
  b.Int("manualDetections", s.sensor.manualDetections, 4, 15);
  b.Int("manualMargin", s.sensor.manualMargin, 4, 40);
  b.Bool("calibrated", s.sensor.calibrated);
  b.Group("rfid");
  b.Int("tagType", s.rfid.tagType, 2, 5);
  b.Int("power", s.rfid.power, 1, 31);
  b.Int("position", s.rfid.position, 0, 9999);
  b.Int("retries", s.rfid.retries, 0, 10);
  b.Int("labels", s.rfid.labels, 0, 5);
  b.Count("validCount", s.rfid.validCount);
  b.Count("voidCount", s.rfid.voidCount);
  b.Bool("calibrated", s.rfid.calibrated);
}

class Writer : public Binder {
 public:
  explicit Writer(Json& root) : root_(root), group_(&root) {}

  // Each group is filled before the next is added, so `group_` never outlives its place.
  void Group(const char* name) override { group_ = *name ? &(root_[name] = Json::object()) : &root_; }
  void Int(const char* key, int& v, int, int) override { (*group_)[key] = v; }
  void Count(const char* key, uint32_t& v) override { (*group_)[key] = v; }
  void Bool(const char* key, bool& v) override { (*group_)[key] = v; }
  void Text(const char* key, std::string& v, size_t) override { (*group_)[key] = Latin1ToUtf8(v); }
  void Media(const char* key, MediaType& v) override { (*group_)[key] = std::string(1, static_cast<char>(v)); }
  void Switches(const char* key, std::array<uint8_t, 4>& v) override {
    Json list = Json::array();
    for (const uint8_t b : v) list.push_back(b);
    (*group_)[key] = std::move(list);
  }

 private:
  Json& root_;
  Json* group_;
};

class Reader : public Binder {
 public:
  explicit Reader(const Json& root) : root_(root) {}
  std::string error;

  void Group(const char* name) override {
    groupName_ = name;
    group_ = &root_;
    if (!*name) return;
    const auto it = root_.find(name);
    group_ = it == root_.end() ? nullptr : &*it;
    if (group_ && !group_->is_object()) Fail("", "is not an object");
  }
  void Int(const char* key, int& v, int lo, int hi) override {
    const Json* j = Member(key);
    if (!j) return;
    int64_t n = 0;
    if (!WholeIn(*j, lo, hi, n)) {
      Fail(key, "must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
      return;
    }
    v = static_cast<int>(n);
  }
  void Count(const char* key, uint32_t& v) override {
    const Json* j = Member(key);
    if (!j) return;
    int64_t n = 0;
    if (!WholeIn(*j, 0, UINT32_MAX, n)) {
      Fail(key, "must be a count from 0 to 4294967295");
      return;
    }
    v = static_cast<uint32_t>(n);
  }
  void Bool(const char* key, bool& v) override {
    const Json* j = Member(key);
    if (!j) return;
    if (!j->is_boolean()) {
      Fail(key, "must be true or false");
      return;
    }
    v = j->get<bool>();
  }
  void Text(const char* key, std::string& v, size_t max) override {
    const Json* j = Member(key);
    if (!j) return;
    const std::string bytes = j->is_string() ? TextBytes(j->get_ref<const std::string&>()) : std::string();
    if (!j->is_string() || bytes.size() > max) {
      Fail(key, "must be a text of at most " + std::to_string(max) + " characters");
      return;
    }
    v = bytes;
  }
  void Media(const char* key, MediaType& v) override {
    const Json* j = Member(key);
    if (!j) return;
    const std::string s = j->is_string() ? j->get<std::string>() : "";
    if (s != "G" && s != "C" && s != "B") {
      Fail(key, "must be \"G\", \"C\" or \"B\"");
      return;
    }
    v = static_cast<MediaType>(s[0]);
  }
  void Switches(const char* key, std::array<uint8_t, 4>& v) override {
    const Json* j = Member(key);
    if (!j) return;
    bool ok = j->is_array() && j->size() == 4;
    for (size_t i = 0; ok && i < 4; ++i) {
      int64_t n = 0;
      ok = WholeIn((*j)[i], 0, 255, n);
      if (ok) v[i] = static_cast<uint8_t>(n);
    }
    if (!ok) Fail(key, "must be a list of four bytes (0 to 255)");
  }

 private:
  const Json* Member(const char* key) const {
    if (!error.empty() || !group_ || !group_->is_object()) return nullptr;
    const auto it = group_->find(key);
    return it == group_->end() ? nullptr : &*it;
  }
  void Fail(const char* key, const std::string& what) {
    if (!error.empty()) return;
    std::string name = groupName_;
    if (*key) name += name.empty() ? key : std::string(".") + key;
    error = "\"" + name + "\" " + what;
  }

  const Json& root_;
  const Json* group_ = nullptr;
  std::string groupName_;
};

// The parser's message from "line L, column C" on, without the library's own prefix; a
// number too large for a double has no place in its message, only the library's words.
std::string ParseErrorText(const nlohmann::json::exception& e) {
  const std::string what = e.what();
  const size_t at = what.find("line ");
  if (at != std::string::npos) return what.substr(at);
  const size_t words = what.find("] ");
  return words == std::string::npos ? what : what.substr(words + 2);
}

}  // namespace

std::string StateToJson(const StoredState& state) {
  Json root = Json::object();
  root["format"] = std::string(kFormat);
  root["version"] = kVersion;
  Writer w(root);
  StoredState copy = state;
  Describe(w, copy);
  // Escaped to ASCII, so that versions which read a raw byte as itself read the same text.
  return root.dump(2, ' ', /*ensure_ascii=*/true) + "\n";
}

// Earlier versions read a byte that is no part of a UTF-8 sequence as itself, so a file with
// such bytes (edited by hand in a Latin-1 editor) loaded; each stray byte becomes the
// character of the same number, which reads back as that byte. Empty when there is none.
std::string StrayBytesAsLatin1(std::string_view text) {
  std::string out;
  bool stray = false;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                          : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length > 1 && i + length <= text.size()) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      const unsigned char lowest = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
      const unsigned char highest = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
      bool whole = second >= lowest && second <= highest;
      for (size_t k = 2; whole && k < length; ++k) whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
      if (!whole) length = 0;
    } else if (length > 1) {
      length = 0;
    }
    if (length == 0) {
      out += Latin1ToUtf8(text.substr(i, 1));
      stray = true;
      i += 1;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return stray ? out : std::string();
}

bool StateFromJson(std::string_view text, StoredState& state, std::string& error) {
  Json root;
  try {
    root = Json::parse(text);
  } catch (const nlohmann::json::exception& e) {
    const std::string repaired = StrayBytesAsLatin1(text);
    bool read = false;
    if (!repaired.empty()) {
      try {
        root = Json::parse(repaired);
        read = true;
      } catch (const nlohmann::json::exception&) {
      }
    }
    if (!read) {
      error = ParseErrorText(e);
      return false;
    }
  }
  if (!root.is_object()) {
    error = "the document is not a JSON object";
    return false;
  }
  const auto format = root.find("format");
  const auto version = root.find("version");
  if (format == root.end() || !format->is_string() || format->get<std::string>() != kFormat) {
    error = "not a printer state file (\"format\" is not \"" + std::string(kFormat) + "\")";
    return false;
  }
  int64_t number = 0;
  if (version == root.end() || !WholeIn(*version, kVersion, kVersion, number)) {
    error = "unsupported state file version";
    return false;
  }
  StoredState result = state;
  Reader r(root);
  Describe(r, result);
  if (!r.error.empty()) {
    error = r.error;
    return false;
  }
  state = result;
  return true;
}

bool LoadStateFile(const std::string& path, StoredState& state, bool& exists, std::string& error) {
  exists = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd == -1) {
    if (errno == ENOENT) return true;
    error = path + ": " + std::strerror(errno);
    return false;
  }
  exists = true;
  std::string text;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = path + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buf, static_cast<size_t>(n));
    if (text.size() > kMaxStateFileBytes) {
      error = path + ": larger than a state file can be";
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  if (!StateFromJson(text, state, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

namespace {

// The lock files this process holds, by device and inode, for as long as it runs.
std::mutex claimsMutex;
std::map<std::pair<dev_t, ino_t>, int> claims;

bool Writable(const std::string& path, const struct stat& st) {
  // Root passes access() for any mode, so a file or folder nobody may write counts too.
  return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

// Whether `name` is what a save of `base` names its temporary: the fixed name of older
// versions, or one with a suffix of sixteen hexadecimal digits.
bool IsOurTemporary(const std::string& name, const std::string& base) {
  const std::string prefix = base + ".tmp";
  if (name == prefix) return true;
  if (name.size() != prefix.size() + 17 || name.compare(0, prefix.size() + 1, prefix + "-") != 0) return false;
  return name.find_first_not_of("0123456789abcdef", prefix.size() + 1) == std::string::npos;
}

}  // namespace

bool ClaimStateFile(const std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  if (!Writable(folder, st)) {
    error = path + ": its folder " + folder + " cannot be written, so the state file could not be kept up to date";
    return false;
  }
  if (::stat(path.c_str(), &st) == 0 && !Writable(path, st)) {
    error = path + ": the state file is read-only, so the printer could not keep its settings in it";
    return false;
  }
  const std::string lockPath = path + ".lock";
  // Not through a link, and no wait on a FIFO someone put there.
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = lockPath + ": " + (fd < 0 ? std::strerror(errno) : "is not a regular file");
    if (fd >= 0) ::close(fd);
    return false;
  }
  std::lock_guard lock(claimsMutex);
  if (claims.count({st.st_dev, st.st_ino}) > 0) {
    ::close(fd);
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int why = errno;
    ::close(fd);
    error = why == EWOULDBLOCK
                ? path + ": another printer is using this state file; give each printer a state file of its own"
                : lockPath + ": " + std::strerror(why);
    return false;
  }
  claims.emplace(std::pair{st.st_dev, st.st_ino}, fd);
  // Ours alone now: a temporary beside the file is what an interrupted save left.
  const std::string base = fs::path(path).filename().string();
  if (DIR* d = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(d)) {
      if (IsOurTemporary(entry->d_name, base)) ::unlinkat(::dirfd(d), entry->d_name, 0);
    }
    ::closedir(d);
  }
  return true;
}

bool SaveStateFile(const std::string& path, const StoredState& state, std::string& error, FileCalls& files) {
  error = ReplaceFile(path, StateToJson(state), 0600, files);
  return error.empty();
}

}  // namespace qm::printer

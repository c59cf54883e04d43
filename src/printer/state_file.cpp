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

#include "printer/json.h"

namespace qm::printer {

namespace {

constexpr std::string_view kFormat = "quillmark-printer-state";
constexpr int64_t kVersion = 1;

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
  JsonValue root = JsonValue::Object();

  void Group(const char* name) override {
    group_ = *name ? &root.Add(name, JsonValue::Object()) : &root;
  }
  void Int(const char* key, int& v, int, int) override { group_->Add(key, JsonValue::Integer(v)); }
  void Count(const char* key, uint32_t& v) override { group_->Add(key, JsonValue::Integer(v)); }
  void Bool(const char* key, bool& v) override { group_->Add(key, JsonValue::Bool(v)); }
  void Text(const char* key, std::string& v, size_t) override { group_->Add(key, JsonValue::String(v)); }
  void Media(const char* key, MediaType& v) override {
    group_->Add(key, JsonValue::String(std::string(1, static_cast<char>(v))));
  }
  void Switches(const char* key, std::array<uint8_t, 4>& v) override {
    JsonValue& list = group_->Add(key, JsonValue::Array());
    for (const uint8_t b : v) list.Push(JsonValue::Integer(b));
  }

 private:
  JsonValue* group_ = &root;
};

class Reader : public Binder {
 public:
  explicit Reader(const JsonValue& root) : root_(root) {}
  std::string error;

  void Group(const char* name) override {
    groupName_ = name;
    group_ = &root_;
    if (!*name) return;
    group_ = root_.Find(name);
    if (group_ && group_->type() != JsonValue::Type::kObject) Fail("", "is not an object");
  }
  void Int(const char* key, int& v, int lo, int hi) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    if (j->type() != JsonValue::Type::kInteger || j->integer() < lo || j->integer() > hi) {
      Fail(key, "must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
      return;
    }
    v = static_cast<int>(j->integer());
  }
  void Count(const char* key, uint32_t& v) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    if (j->type() != JsonValue::Type::kInteger || j->integer() < 0 || j->integer() > UINT32_MAX) {
      Fail(key, "must be a count from 0 to 4294967295");
      return;
    }
    v = static_cast<uint32_t>(j->integer());
  }
  void Bool(const char* key, bool& v) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    if (j->type() != JsonValue::Type::kBool) {
      Fail(key, "must be true or false");
      return;
    }
    v = j->boolean();
  }
  void Text(const char* key, std::string& v, size_t max) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    if (j->type() != JsonValue::Type::kString || j->string().size() > max) {
      Fail(key, "must be a text of at most " + std::to_string(max) + " characters");
      return;
    }
    v = j->string();
  }
  void Media(const char* key, MediaType& v) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    const std::string s = j->type() == JsonValue::Type::kString ? j->string() : "";
    if (s != "G" && s != "C" && s != "B") {
      Fail(key, "must be \"G\", \"C\" or \"B\"");
      return;
    }
    v = static_cast<MediaType>(s[0]);
  }
  void Switches(const char* key, std::array<uint8_t, 4>& v) override {
    const JsonValue* j = Member(key);
    if (!j) return;
    bool ok = j->type() == JsonValue::Type::kArray && j->items().size() == 4;
    for (size_t i = 0; ok && i < 4; ++i) {
      const JsonValue& b = j->items()[i];
      ok = b.type() == JsonValue::Type::kInteger && b.integer() >= 0 && b.integer() <= 255;
      if (ok) v[i] = static_cast<uint8_t>(b.integer());
    }
    if (!ok) Fail(key, "must be a list of four bytes (0 to 255)");
  }

 private:
  const JsonValue* Member(const char* key) const {
    if (!error.empty() || !group_ || group_->type() != JsonValue::Type::kObject) return nullptr;
    return group_->Find(key);
  }
  void Fail(const char* key, const std::string& what) {
    if (!error.empty()) return;
    std::string name = groupName_;
    if (*key) name += name.empty() ? key : std::string(".") + key;
    error = "\"" + name + "\" " + what;
  }

  const JsonValue& root_;
  const JsonValue* group_ = nullptr;
  std::string groupName_;
};

}  // namespace

std::string StateToJson(const StoredState& state) {
  Writer w;
  w.root.Add("format", JsonValue::String(std::string(kFormat)));
  w.root.Add("version", JsonValue::Integer(kVersion));
  StoredState copy = state;
  Describe(w, copy);
  return WriteJson(w.root);
}

bool StateFromJson(std::string_view text, StoredState& state, std::string& error) {
  JsonValue root;
  if (!ParseJson(text, root, error)) return false;
  if (root.type() != JsonValue::Type::kObject) {
    error = "the document is not a JSON object";
    return false;
  }
  const JsonValue* format = root.Find("format");
  const JsonValue* version = root.Find("version");
  if (!format || format->type() != JsonValue::Type::kString || format->string() != kFormat) {
    error = "not a printer state file (\"format\" is not \"" + std::string(kFormat) + "\")";
    return false;
  }
  if (!version || version->type() != JsonValue::Type::kInteger || version->integer() != kVersion) {
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

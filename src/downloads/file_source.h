// A file read a piece at a time, so a transfer never holds more than one piece of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

// Where a download's bytes come from: a file, or a stream such as standard input.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills `buffer` with up to `max` bytes; fewer only at the end or on a read error.
  virtual size_t Read(char* buffer, size_t max) = 0;
  // Whether a read failed (as opposed to the data ending).
  virtual bool failed() const = 0;
  // The length when it is known beforehand (a regular file).
  virtual std::optional<uint64_t> size() const { return std::nullopt; }
};

class FileSource : public ByteSource {
 public:
  // Opens `path` for reading; nothing when it is gone, unreadable or not a regular file
  // (a device such as /dev/zero never ends, a FIFO may never be written), with `why` set
  // when given. A FIFO is refused at once, not after waiting for a writer.
  static std::optional<FileSource> Open(const std::string& path, std::string* why = nullptr);
  ~FileSource() override;
  FileSource(FileSource&& other) noexcept;
  FileSource& operator=(FileSource&&) = delete;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // The file's length when it was opened.
  std::optional<uint64_t> size() const override { return size_; }
  size_t Read(char* buffer, size_t max) override;
  bool failed() const override { return failed_; }

 private:
  explicit FileSource(int fd);
  int fd_ = -1;
  bool failed_ = false;
  std::optional<uint64_t> size_;
};

}  // namespace qm

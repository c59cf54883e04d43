// A pseudo-terminal that a serial, parallel or USB backend opens as the printer's port.
#pragma once

#include <string>

#include "printer/transport.h"

namespace qm::printer {

class PtyPort : public Transport {
 public:
  PtyPort(InterfaceKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
  ~PtyPort() override;
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  // Creates the terminal; with a non-empty `linkPath`, also a symbolic link to it there. A
  // link left by a printer that has ended (its terminal is gone) is replaced; anything else
  // in the way is refused, so a second printer never takes a running one's link over.
  bool Open(const std::string& linkPath, std::string& error);
  // Removes the link only while it still points at this terminal.
  void Close();

  // The device path the link opens, e.g. /dev/pts/4.
  const std::string& devicePath() const { return devicePath_; }
  const std::string& linkPath() const { return linkPath_; }

  InterfaceKind kind() const override { return kind_; }
  void Collect(std::vector<pollfd>& fds) override;
  void Service(const pollfd* fds, size_t count, const Receiver& receive) override;
  bool Send(uint64_t channel, std::string_view bytes, bool startsReply) override;

 private:
  void Flush();

  InterfaceKind kind_;
  std::string name_;
  Origin origin_;
  int master_ = -1;
  // Held open by the printer itself, so the terminal lives on while the link closes and
  // reopens it, and so unread reply bytes can be dropped before the next reply.
  int slave_ = -1;
  std::string devicePath_;
  std::string linkPath_;
  std::string queued_;
};

// Makes `linkPath` a symbolic link to `target`, replacing an existing symbolic link only.
bool ReplaceSymlink(const std::string& target, const std::string& linkPath, std::string& error);

// Makes `linkPath` a symbolic link to `target` where nothing is, or where a symbolic link
// points at nothing any more; a live link or anything else there is refused.
bool ClaimSymlink(const std::string& target, const std::string& linkPath, std::string& error);
// Removes `linkPath` if it is a symbolic link to `target`, and leaves anything else alone.
void RemoveSymlinkTo(const std::string& target, const std::string& linkPath);

}  // namespace qm::printer

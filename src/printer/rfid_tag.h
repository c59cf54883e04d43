// The RFID tag in the label under the encoder: two memory banks, passwords, locks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::printer {

// The five areas of a lock payload, in payload order.
enum class TagArea { kKillPassword = 0, kAccessPassword, kEpc, kTid, kUser };

class RfidTag {
 public:
  static constexpr size_t kBankBytes = 128;
  enum class Bank { kEpc, kUser };

  RfidTag();

  // Writes `bytes` at byte `start`; false with the reason when the tag refuses.
  bool Write(Bank bank, size_t start, std::string_view bytes, std::string& why);
  // Reads `count` bytes from byte `start` into `out`.
  bool Read(Bank bank, size_t start, size_t count, std::string& out, std::string& why) const;
  // Applies a three-byte lock payload (ten mask bits, ten action bits, four zero bits);
  // `unlock` clears the masked bits instead of setting them from the actions.
  void ApplyLockPayload(uint32_t payload, bool unlock);
  // The plain forms: lock the EPC and user memory, or unlock everything not locked for good.
  void LockMemory();
  void UnlockAll();
  bool SetPasswords(std::string_view access, std::string_view kill, std::string& why);
  bool Kill(std::string& why);

  bool killed() const { return killed_; }
  bool IsWriteLocked(TagArea area) const;
  bool IsPermalocked(TagArea area) const;
  uint16_t lockBits() const { return lockBits_; }
  const std::string& accessPassword() const { return access_; }
  const std::string& killPassword() const { return kill_; }

 private:
  using BankBytes = std::array<uint8_t, kBankBytes>;
  BankBytes& BankOf(Bank bank) { return bank == Bank::kEpc ? epc_ : user_; }
  const BankBytes& BankOf(Bank bank) const { return bank == Bank::kEpc ? epc_ : user_; }
  // Bit of an area's left (password) or right (permanent) lock in the ten-bit lock word.
  static uint16_t Bit(TagArea area, bool right);

  BankBytes epc_{};
  BankBytes user_{};
  std::string access_ = "00000000";
  std::string kill_ = "00000000";
  uint16_t lockBits_ = 0;
  bool killed_ = false;
};

// "3A0F" for the bytes 0x3A 0x0F: upper-case digits, two per byte.
std::string ToHex(std::string_view bytes);
// The bytes of an even-length hexadecimal text (either case); false when it is not one.
bool FromHex(std::string_view text, std::string& bytes);

}  // namespace qm::printer

#include "printer/rfid_tag.h"

#include <algorithm>

namespace qm::printer {

namespace {

// A blank label's tag: protocol control word for a 96-bit code, then the code itself.
constexpr uint8_t kFactoryEpc[] = {0x00, 0x00, 0x30, 0x00, 0x30, 0x14, 0x25, 0x7B,
                                   0xF7, 0x19, 0x4E, 0x40, 0x00, 0x00, 0x00, 0x01};

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return c - 'a' + 10;
}

constexpr int kAreas = 5;

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

RfidTag::RfidTag() { std::copy(std::begin(kFactoryEpc), std::end(kFactoryEpc), epc_.begin()); }

uint16_t RfidTag::Bit(TagArea area, bool right) {
  // Kill password is the most significant pair of the ten bits.
  const int pair = kAreas - 1 - static_cast<int>(area);
  return static_cast<uint16_t>(1u << (pair * 2 + (right ? 0 : 1)));
}

bool RfidTag::IsWriteLocked(TagArea area) const { return lockBits_ & Bit(area, false); }
bool RfidTag::IsPermalocked(TagArea area) const { return lockBits_ & Bit(area, true); }

bool RfidTag::Write(Bank bank, size_t start, std::string_view bytes, std::string& why) {
  if (killed_) {
    why = "the tag has been killed";
    return false;
  }
  if (IsWriteLocked(bank == Bank::kEpc ? TagArea::kEpc : TagArea::kUser)) {
    why = bank == Bank::kEpc ? "EPC memory is locked" : "user memory is locked";
    return false;
  }
  if (start > kBankBytes || bytes.size() > kBankBytes - start) {
    why = "beyond the end of tag memory";
    return false;
  }
  std::copy(bytes.begin(), bytes.end(), BankOf(bank).begin() + static_cast<long>(start));
  return true;
}

bool RfidTag::Read(Bank bank, size_t start, size_t count, std::string& out, std::string& why) const {
  if (killed_) {
    why = "the tag has been killed";
    return false;
  }
  if (start > kBankBytes || count > kBankBytes - start) {
    why = "beyond the end of tag memory";
    return false;
  }
  const BankBytes& b = BankOf(bank);
  out.assign(b.begin() + static_cast<long>(start), b.begin() + static_cast<long>(start + count));
  return true;
}

void RfidTag::ApplyLockPayload(uint32_t payload, bool unlock) {
  const uint16_t mask = static_cast<uint16_t>((payload >> 14) & 0x3FF);
  const uint16_t action = static_cast<uint16_t>((payload >> 4) & 0x3FF);
  for (int a = 0; a < kAreas; ++a) {
    const auto area = static_cast<TagArea>(a);
    // A permanent lock or unlock cannot be changed again.
    if (IsPermalocked(area)) continue;
    for (const bool right : {false, true}) {
      const uint16_t bit = Bit(area, right);
      if (!(mask & bit)) continue;
      if (unlock || !(action & bit)) {
        lockBits_ = static_cast<uint16_t>(lockBits_ & ~bit);
      } else {
        lockBits_ = static_cast<uint16_t>(lockBits_ | bit);
      }
    }
  }
}

void RfidTag::LockMemory() {
  const uint16_t bits = static_cast<uint16_t>(Bit(TagArea::kEpc, false) | Bit(TagArea::kUser, false));
  // Mask and action carry the same bits, shifted into their places in the payload.
  ApplyLockPayload((static_cast<uint32_t>(bits) << 14) | (static_cast<uint32_t>(bits) << 4), false);
}

void RfidTag::UnlockAll() { ApplyLockPayload(0x3FFu << 14, true); }

bool RfidTag::SetPasswords(std::string_view access, std::string_view kill, std::string& why) {
  if (killed_) {
    why = "the tag has been killed";
    return false;
  }
  const auto valid = [](std::string_view p) {
    return p.size() == 8 && std::all_of(p.begin(), p.end(), IsHexDigit);
  };
  if (!valid(access) || !valid(kill)) {
    why = "a password is not 8 hexadecimal digits";
    return false;
  }
  if (IsWriteLocked(TagArea::kAccessPassword) || IsWriteLocked(TagArea::kKillPassword)) {
    why = "the passwords are locked";
    return false;
  }
  access_ = Upper(access);
  kill_ = Upper(kill);
  return true;
}

bool RfidTag::Kill(std::string& why) {
  if (killed_) {
    why = "the tag has already been killed";
    return false;
  }
  // A tag with a zero kill password cannot be killed.
  if (kill_ == "00000000") {
    why = "the kill password is zero";
    return false;
  }
  killed_ = true;
  return true;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

bool FromHex(std::string_view text, std::string& bytes) {
  if (text.size() % 2 != 0 || !std::all_of(text.begin(), text.end(), IsHexDigit)) return false;
  bytes.clear();
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<char>(HexValue(text[i]) * 16 + HexValue(text[i + 1])));
  }
  return true;
}

}  // namespace qm::printer

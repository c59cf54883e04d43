#include "render/text_codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace qm::render {

namespace {

// The "CS" code tables by position, as the printer's character set test lists them.
constexpr std::array<std::string_view, kCodeTableCount> kCodeTables = {
    "CP437",  "CP850",  "CP852",  "CP860",  "CP863",  "CP865",
    "CP1252", "",  // PC865+PC1252 is a mix of two tables; iconv has no such table
    "CP857",  "CP737",  "CP1250", "CP1253", "CP1254", "CP855",
    "CP862",  "CP866",  "CP1251", "CP1255", "",  // PC928 (Greek) is not in iconv
    "CP864",  "CP775",  "CP1257", "CP858"};

// The national positions 0x23 0x24 0x40 0x5B 0x5C 0x5D 0x5E 0x60 0x7B 0x7C 0x7D 0x7E and
// what each international character set draws there.
constexpr std::array<unsigned char, 12> kNationalBytes = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D,
                                                          0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};
constexpr std::array<std::u32string_view, kIcsCount> kNationalSets = {
    U"#$@[\\]^`{|}~",  // U.S.A
    U"#$\u00E0\u00B0\u00E7\u00A7^`\u00E9\u00F9\u00E8\u00A8",  // France
    U"#$\u00A7\u00C4\u00D6\u00DC^`\u00E4\u00F6\u00FC\u00DF",  // Germany
    U"\u00A3$@[\\]^`{|}~",  // U.K
    U"#$@\u00C6\u00D8\u00C5^`\u00E6\u00F8\u00E5~",  // Denmark I
    U"#\u00A4\u00C9\u00C4\u00D6\u00C5\u00DC\u00E9\u00E4\u00F6\u00E5\u00FC",  // Sweden
    U"#$@\u00B0\\\u00E9^\u00F9\u00E0\u00F2\u00E8\u00EC",  // Italy
    U"\u20A7$@\u00A1\u00D1\u00BF^`\u00A8\u00F1}~",  // Spain
    U"#\u00A4\u00C9\u00C6\u00D8\u00C5\u00DC\u00E9\u00E6\u00F8\u00E5\u00FC",  // Norway
    U"#$\u00C9\u00C6\u00D8\u00C5\u00DC\u00E9\u00E6\u00F8\u00E5\u00FC",  // Denmark II
    U"#$@[\u00A5]^`{|}~",  // Japan
    U"#$\u00E1\u00A1\u00D1\u00BF\u00E9`\u00ED\u00F1\u00F3\u00FA",  // Spain II
    U"#$\u00E1\u00A1\u00D1\u00BF\u00E9\u00FC\u00ED\u00F1\u00F3\u00FA",  // Latin America
    U"#$@[\u20A9]^`{|}~",  // Korea
    U"#$\u017D\u0160\u0110\u0106\u010C\u017E\u0161\u0111\u0107\u010D",  // Slovenia/Croatia
    U"#\u00A5@[\\]^`{|}~",  // China
};

// One character through iconv, from `charset` to UTF-32; nullopt when it has none.
class Converter {
 public:
  explicit Converter(std::string_view charset) {
    cd_ = iconv_open("UTF-32LE", std::string(charset).c_str());
  }
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<char32_t> One(const char* bytes, size_t size) {
    char in[4] = {};
    std::memcpy(in, bytes, size);
    unsigned char out[8] = {};
    char* inp = in;
    size_t inLeft = size;
    char* outp = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft < 4) return std::nullopt;
    const char32_t c = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
    return c;
  }

 private:
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

constexpr std::array<std::string_view, 4> kTwoByteCharsets = {"EUC-KR", "GB2312", "BIG5", "CP932"};

}  // namespace

std::optional<std::string_view> CodeTableCharset(int index) {
  if (index < 0 || index >= kCodeTableCount || kCodeTables[index].empty()) return std::nullopt;
  return kCodeTables[index];
}

std::string Unescape(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\\' && i + 1 < data.size() && (data[i + 1] == '\\' || data[i + 1] == '\'')) ++i;
    out.push_back(data[i]);
  }
  return out;
}

std::u32string DecodeSingleByte(std::string_view bytes, int codeTable, int ics) {
  if (codeTable < 0 || codeTable >= kCodeTableCount) codeTable = 0;
  if (ics < 0 || ics >= kIcsCount) ics = 0;
  const std::optional<std::string_view> charset = CodeTableCharset(codeTable);
  // The upper half of each table, converted once per call.
  std::array<char32_t, 128> upper;
  upper.fill(kReplacement);
  bool needUpper = false;
  for (char b : bytes) needUpper |= static_cast<unsigned char>(b) >= 0x80;
  if (needUpper && charset) {
    Converter conv(*charset);
    for (int b = 0x80; b <= 0xFF && conv.ok(); ++b) {
      const char byte = static_cast<char>(b);
      upper[b - 0x80] = conv.One(&byte, 1).value_or(kReplacement);
    }
  }
  std::u32string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80) {
      out.push_back(upper[b - 0x80]);
      continue;
    }
    char32_t c = b;
    for (size_t i = 0; i < kNationalBytes.size(); ++i) {
      if (kNationalBytes[i] == b) c = kNationalSets[ics][i];
    }
    out.push_back(c);
  }
  return out;
}

std::u32string DecodeTwoByte(std::string_view bytes, TwoByteTable table) {
  Converter conv(kTwoByteCharsets[static_cast<size_t>(table)]);
  std::u32string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      continue;
    }
    // Shift JIS keeps its half-width katakana in single bytes.
    if (table == TwoByteTable::kJis && b >= 0xA1 && b <= 0xDF) {
      out.push_back(conv.ok() ? conv.One(bytes.data() + i, 1).value_or(kReplacement) : kReplacement);
      continue;
    }
    if (i + 1 >= bytes.size() || !conv.ok()) {
      out.push_back(kReplacement);
      continue;
    }
    out.push_back(conv.One(bytes.data() + i, 2).value_or(kReplacement));
    ++i;
  }
  return out;
}

}  // namespace qm::render

#include "core/support/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tessaro {
namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can, appending to out. Stops at the first byte
  // that cannot be converted and returns how many input bytes were used.
  size_t Convert(std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());  // iconv does not write through it
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t rc = ::iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, sizeof buffer - dstLeft);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) break;
    }
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return in.size() - srcLeft;
  }

 private:
  iconv_t cd_;
};

// Bytes to skip past one unconvertible UTF-8 character: a lead byte and the
// continuation bytes that follow it (fewer when the text is cut short);
// a stray byte alone.
size_t Utf8Length(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  const size_t n = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  size_t i = 1;
  while (i < n && i < rest.size() && (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) ++i;
  return i;
}

enum class Skip { OneByte, Utf8Character };

// Runs the conversion; at each unconvertible spot appends replacement (when
// given) and skips ahead. Returns false when a spot was met and there is no
// replacement.
bool ConvertAll(const char* to, const char* from, std::string_view in, std::string& out,
                const std::optional<std::string_view>& replacement, Skip skip) {
  Converter converter(to, from);
  if (!converter.Ok()) {
    // Without a converter, passing the bytes on loses less than dropping them.
    if (replacement) out.append(in);
    return replacement.has_value();
  }
  while (!in.empty()) {
    in.remove_prefix(converter.Convert(in, out));
    if (in.empty()) break;
    if (!replacement) return false;
    out.append(*replacement);
    in.remove_prefix(skip == Skip::OneByte ? 1 : Utf8Length(in));
  }
  return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  ConvertAll("UTF-8", "CP932", cp932, out, std::string_view(kReplacementUtf8), Skip::OneByte);
  return out;
}

std::string Utf8ToCp932(std::string_view utf8, char replacement) {
  std::string out;
  ConvertAll("CP932", "UTF-8", utf8, out, std::string_view(&replacement, 1), Skip::Utf8Character);
  return out;
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
  std::string out;
  if (!ConvertAll("CP932", "UTF-8", utf8, out, std::nullopt, Skip::Utf8Character))
    return std::nullopt;
  return out;
}

std::string_view CutCp932(std::string_view cp932, size_t maxBytes) {
  size_t end = 0;
  while (end < cp932.size()) {
    const auto lead = static_cast<unsigned char>(cp932[end]);
    const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const size_t next = std::min(end + (doubleByte ? 2 : 1), cp932.size());
    if (next > maxBytes) break;
    end = next;
  }
  return cp932.substr(0, end);
}

}  // namespace tessaro

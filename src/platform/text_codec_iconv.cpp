// Code page 932 through iconv's CP932 tables (the Linux build).
#include <iconv.h>

#include <cerrno>

#include "platform/text_codec_platform.hpp"

namespace orv {
namespace {

class Iconv {
public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  std::optional<std::string> Convert(std::string_view in) const {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    std::size_t done = 0;
    for (;;) {
      char* dst = out.data() + done;
      std::size_t dst_left = out.size() - done;
      std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      done = out.size() - dst_left;
      if (rc != static_cast<std::size_t>(-1)) {
        // iconv counts irreversible conversions; a strict codec accepts none.
        if (rc != 0) return std::nullopt;
        out.resize(done);
        return out;
      }
      if (errno != E2BIG) return std::nullopt;  // EILSEQ / EINVAL: invalid or incomplete
      out.resize(out.size() * 2);
    }
  }

private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8) {
  static const Iconv to932("CP932", "UTF-8");
  auto out = to932.Convert(utf8);
  // Round-trip check, as the Windows build makes: iconv maps a few characters one way only
  // (U+301C WAVE DASH and U+2212 MINUS SIGN become bytes that read back as U+FF5E and U+FF0D),
  // which would change the text between saving and loading.
  if (out && PlatformCp932ToUtf8(*out) != utf8) return std::nullopt;
  return out;
}

std::optional<std::string> PlatformCp932ToUtf8(std::string_view cp932) {
  static const Iconv from932("UTF-8", "CP932");
  return from932.Convert(cp932);
}

}  // namespace orv

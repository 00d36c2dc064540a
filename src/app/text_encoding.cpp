#include "app/text_encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <atomic>
#include <map>
#include <utility>
#include <cerrno>
#include <memory>

namespace vorna {
namespace {

std::atomic<int> g_printerCodePage{kCodePageAnsi};

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return IconvHandle();
  return IconvHandle(cd);
}

// Opening a converter costs more than converting a receipt line, so each
// thread keeps the ones it used, reset to the initial state before each use.
iconv_t CachedIconv(const char* to, const char* from) {
  thread_local std::map<std::pair<std::string, std::string>, IconvHandle> converters;
  auto key = std::make_pair(std::string(to), std::string(from));
  auto it = converters.find(key);
  if (it == converters.end()) it = converters.emplace(key, OpenIconv(to, from)).first;
  if (!it->second) return reinterpret_cast<iconv_t>(-1);
  auto cd = static_cast<iconv_t>(it->second.get());
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return cd;
}

bool IsValid(iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); }

bool IsGbkName(std::string name) {
  for (auto& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return name == "GBK" || name == "CP936" || name == "GB2312" || name == "GB18030" ||
         name == "EUC-CN";
}

}  // namespace

std::string AnsiCharset() {
  const char* name = nl_langinfo(CODESET);
  return (name && *name) ? name : "ANSI_X3.4-1968";
}

int PrinterCodePageFor(const std::string& ansiCharset, bool gbkAvailable) {
  if (IsGbkName(ansiCharset)) return kCodePageAnsi;
  return gbkAvailable ? kCodePageGbk : kCodePageAnsi;
}

int ChoosePrinterCodePage() {
  bool gbkAvailable = static_cast<bool>(OpenIconv("GBK", "UTF-16LE"));
  int codePage = PrinterCodePageFor(AnsiCharset(), gbkAvailable);
  g_printerCodePage = codePage;
  return codePage;
}

int PrinterCodePage() { return g_printerCodePage; }
void SetPrinterCodePage(int codePage) { g_printerCodePage = codePage; }

std::string WideToCharset(const std::u16string& text, const char* charset) {
  iconv_t cd = CachedIconv(charset, "UTF-16LE");
  if (!IsValid(cd)) return std::string();
  std::string out;
  // Convert one code point at a time only after a failure; the common path is
  // one call for the whole text.
  std::string in = Utf16ToLeBytes(text);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  std::string buffer(in.size() * 2 + 16, '\0');
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // Unmappable or broken input: one '?' for the code point, then go on.
    size_t skip = 2;
    if (inLeft >= 4) {
      auto unit = static_cast<char16_t>(static_cast<unsigned char>(inPtr[0]) |
                                        (static_cast<unsigned char>(inPtr[1]) << 8));
      auto next = static_cast<char16_t>(static_cast<unsigned char>(inPtr[2]) |
                                        (static_cast<unsigned char>(inPtr[3]) << 8));
      if (unit >= 0xD800 && unit < 0xDC00 && next >= 0xDC00 && next < 0xE000) skip = 4;
    }
    if (inLeft < skip) skip = inLeft;
    inPtr += skip;
    inLeft -= skip;
    out.push_back('?');
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string WideToPrinterText(const std::u16string& text) {
  if (PrinterCodePage() == kCodePageGbk) return WideToCharset(text, "GBK");
  return WideToCharset(text, AnsiCharset().c_str());
}

std::u16string AnsiToWide(const std::string& text) {
  iconv_t cd = CachedIconv("UTF-16LE", AnsiCharset().c_str());
  if (!IsValid(cd)) return std::u16string();
  std::string out(text.size() * 4 + 4, '\0');
  char* inPtr = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) ==
      static_cast<size_t>(-1))
    return std::u16string();
  return Utf16FromLeBytes(out.data(), out.size() - outLeft);
}

std::string Utf16ToLeBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::u16string Utf16FromLeBytes(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  auto byteAt = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  while (i < text.size()) {
    unsigned char c = byteAt(i);
    char32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      bool ok = i + len <= text.size();
      char32_t v = c & (0x7F >> len);
      for (size_t k = 1; ok && k < len; ++k) {
        if ((byteAt(i + k) & 0xC0) != 0x80) ok = false;
        else v = (v << 6) | (byteAt(i + k) & 0x3F);
      }
      static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      if (ok && v >= kMin[len] && v <= 0x10FFFF && !(v >= 0xD800 && v < 0xE000)) {
        cp = v;
      } else {
        len = 1;
        cp = 0xFFFD;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace vorna

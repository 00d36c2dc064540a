#pragma once
// Conversions between the client's UTF-16 text and 8-bit text.
// "ANSI" is the locale's character set (what Windows calls the ANSI code page);
// printer text uses the printer code page, chosen once at start-up.
#include <cstddef>
#include <string>

namespace vorna {

inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;

// The locale's character set name as iconv knows it ("UTF-8", "GBK", ...).
std::string AnsiCharset();

// Pure decision: 0 when the ANSI charset already is GBK (code page 936) or GBK
// cannot be converted to; otherwise 936.
int PrinterCodePageFor(const std::string& ansiCharset, bool gbkAvailable);
// Sets the process-wide printer code page from the current locale and returns it.
int ChoosePrinterCodePage();
int PrinterCodePage();
void SetPrinterCodePage(int codePage);

// UTF-16 to the printer code page; what cannot be mapped becomes '?'.
std::string WideToPrinterText(const std::u16string& text);
// UTF-16 to a named charset, '?' for what cannot be mapped.
std::string WideToCharset(const std::u16string& text, const char* charset);
// 8-bit text in the ANSI charset to UTF-16; empty when the conversion fails.
std::u16string AnsiToWide(const std::string& text);

// UTF-16 units as little-endian bytes, and back (an odd last byte is dropped).
std::string Utf16ToLeBytes(const std::u16string& text);
std::u16string Utf16FromLeBytes(const void* data, size_t size);

// Lossless UTF-8 <-> UTF-16 (invalid sequences become U+FFFD).
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace vorna

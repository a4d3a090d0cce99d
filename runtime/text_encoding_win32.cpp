#include <windows.h>

#include "runtime/text_encoding.h"

namespace rt {

namespace {
constexpr UINT kCodePage = 936;
}  // namespace

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(kCodePage, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(kCodePage, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kCodePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string text(size_t(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(kCodePage, 0, wide.data(), int(wide.size()), text.data(), n, nullptr,
                        nullptr);
  return text;
}

}  // namespace rt

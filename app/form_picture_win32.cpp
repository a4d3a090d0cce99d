#include "app/form_picture_win32.h"

// GDI+'s flat interface: its C++ wrappers are header-heavy and throw-free
// only in part; the flat functions return status codes.
#include <objidl.h>
// After objidl.h (WIN32_LEAN_AND_MEAN leaves it out).
#include <gdiplus.h>

#include "runtime/text_encoding.h"

namespace app {

namespace {

// The imaging library, started once for the process.
bool imaging_started() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}


}  // namespace

FormPicture::~FormPicture() { clear(); }

void FormPicture::clear() {
  if (image_) Gdiplus::DllExports::GdipDisposeImage(static_cast<Gdiplus::GpImage*>(image_));
  image_ = nullptr;
}

bool FormPicture::load(const std::string& path) {
  clear();
  if (path.empty() || !imaging_started()) return false;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(rt::widen(path).c_str(), &bitmap) !=
          Gdiplus::Ok ||
      !bitmap)
    return false;
  image_ = bitmap;
  return true;
}

void FormPicture::draw(HDC dc, const RECT& into) const {
  if (!image_) return;
  Gdiplus::GpGraphics* graphics = nullptr;
  if (Gdiplus::DllExports::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
  Gdiplus::DllExports::GdipDrawImageRectI(graphics, static_cast<Gdiplus::GpImage*>(image_),
                                          into.left, into.top, into.right - into.left,
                                          into.bottom - into.top);
  Gdiplus::DllExports::GdipDeleteGraphics(graphics);
}

}  // namespace app

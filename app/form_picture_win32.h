// A picture of a pre-printed form (a scan or photo: BMP, PNG, JPEG), loaded
// through Windows' own imaging (GDI+) and drawn stretched behind the
// preview. Never printed.
#pragma once

#include <windows.h>

#include <string>

namespace app {

class FormPicture {
 public:
  FormPicture() = default;
  ~FormPicture();
  FormPicture(const FormPicture&) = delete;
  FormPicture& operator=(const FormPicture&) = delete;

  // Loads the file (a GBK path); false when it is missing or no picture.
  bool load(const std::string& path);
  void clear();
  bool loaded() const { return image_ != nullptr; }
  // Draws the picture into the rectangle (device pixels).
  void draw(HDC dc, const RECT& into) const;

 private:
  void* image_ = nullptr;  // the imaging library's image
};

}  // namespace app

// Scoped ownership of GDI objects: what is selected into a device context
// is put back, what was made is deleted, on every path out of a scope.
#pragma once

#include <windows.h>

namespace ui {

// Selects an object into a device context for the guard's lifetime.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A pen, brush or font the guard made and deletes; deselect it first (a
// ScopedSelect declared after the guard goes before it).
template <typename Handle>
class OwnedGdiObject {
 public:
  explicit OwnedGdiObject(Handle object = nullptr) : object_(object) {}
  ~OwnedGdiObject() {
    if (object_) DeleteObject(object_);
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
  // Deletes the object held and takes this one.
  void reset(Handle object) {
    if (object_ && object_ != object) DeleteObject(object_);
    object_ = object;
  }
  Handle get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Handle object_;
};

// A device or information context this code made (CreateDC, CreateIC):
// deleted at the end, never released.
class OwnedDc {
 public:
  explicit OwnedDc(HDC dc = nullptr) : dc_(dc) {}
  ~OwnedDc() { reset(nullptr); }
  OwnedDc(const OwnedDc&) = delete;
  OwnedDc& operator=(const OwnedDc&) = delete;
  void reset(HDC dc) {
    if (dc_ && dc_ != dc) DeleteDC(dc_);
    dc_ = dc;
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's device context (GetDC), released to its window at the end.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The saved state of a device context (mapping, origins, colours), restored
// at the end of the scope.
class ScopedSavedDc {
 public:
  explicit ScopedSavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~ScopedSavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  ScopedSavedDc(const ScopedSavedDc&) = delete;
  ScopedSavedDc& operator=(const ScopedSavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace ui

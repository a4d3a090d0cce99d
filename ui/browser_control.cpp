#include "ui/browser_control.h"

#include <ole2.h>

#include "runtime/text_encoding.h"
#include "ui/handle_table.h"

namespace ui {

namespace {

// The control-hosting library, bound when first needed; a system without
// it gets no browser rather than a fatal error.
struct HostLibrary {
  BOOL(WINAPI* init)() = nullptr;
  HRESULT(WINAPI* get_control)(HWND, IUnknown**) = nullptr;
  HRESULT(WINAPI* advise)(IUnknown*, IUnknown*, const IID&, DWORD*) = nullptr;
  HRESULT(WINAPI* unadvise)(IUnknown*, const IID&, DWORD) = nullptr;
  bool loaded() const { return init && get_control && advise && unadvise; }
};

template <typename F>
void bind_function(HMODULE module, const char* name, F& target) {
  target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const HostLibrary& host_library() {
  static const HostLibrary library = [] {
    HostLibrary l;
    if (HMODULE module = LoadLibraryA("atl.dll")) {
      bind_function(module, "AtlAxWinInit", l.init);
      bind_function(module, "AtlAxGetControl", l.get_control);
      bind_function(module, "AtlAdvise", l.advise);
      bind_function(module, "AtlUnadvise", l.unadvise);
    }
    return l;
  }();
  return library;
}

HandleTable& sink_map() {
  static HandleTable table;
  return table;
}

long sink_references = 0;
int last_control_id = 500;

constexpr const char* kEventsInterface = "{34A715A0-6587-11D0-924A-0020AFC7AC4D}";

IID interface_id(const char* text) {
  std::wstring wide = rt::widen(text);
  IID id{};
  if (wide.empty() || FAILED(CLSIDFromString(wide.c_str(), &id))) return IID{};
  return id;
}

BrowserControl* control_of(void* sink) {
  return reinterpret_cast<BrowserControl*>(sink_map().value(reinterpret_cast<uintptr_t>(sink)));
}

// The sink's seven operations; `self` is the sink's identity.
HRESULT STDMETHODCALLTYPE sink_query_interface(void* self, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IUnknown)) {
    *out = self;
    ++sink_references;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE sink_add_ref(void*) { return ULONG(++sink_references); }
ULONG STDMETHODCALLTYPE sink_release(void*) { return ULONG(--sink_references); }
HRESULT STDMETHODCALLTYPE sink_type_info_count(void*, UINT*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE sink_type_info(void*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE sink_ids_of_names(void*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE sink_invoke(void* self, DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT*) {
  // Nothing may unwind into the browser's call.
  try {
    if (BrowserControl* control = control_of(self)) control->event(id, params, result);
  } catch (...) {
    handle_escaped_exception(nullptr);
  }
  return S_OK;
}

const void* const sink_operations[] = {
    reinterpret_cast<const void*>(sink_query_interface),
    reinterpret_cast<const void*>(sink_add_ref),
    reinterpret_cast<const void*>(sink_release),
    reinterpret_cast<const void*>(sink_type_info_count),
    reinterpret_cast<const void*>(sink_type_info),
    reinterpret_cast<const void*>(sink_ids_of_names),
    reinterpret_cast<const void*>(sink_invoke),
};

std::string gbk_of(const wchar_t* text) { return text ? rt::narrow(text) : std::string(); }

// A text argument: a string, or a variant or string passed by reference.
std::string text_of(const VARIANT& v) {
  if (V_VT(&v) == VT_BSTR) return gbk_of(V_BSTR(&v));
  if (V_VT(&v) == (VT_BSTR | VT_BYREF) && V_BSTRREF(&v)) return gbk_of(*V_BSTRREF(&v));
  if (V_VT(&v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&v)) return text_of(*V_VARIANTREF(&v));
  return {};
}

int32_t number_of(const VARIANT& v) {
  VARIANT copy;
  VariantInit(&copy);
  int32_t n =
      SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&v), 0, VT_I4)) ? V_I4(&copy) : 0;
  VariantClear(&copy);
  return n;
}

IDispatch* object_of(const VARIANT& v) {
  if (V_VT(&v) == VT_DISPATCH) return V_DISPATCH(&v);
  if (V_VT(&v) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&v)) return *V_DISPATCHREF(&v);
  return nullptr;
}

IDispatch** object_address(const VARIANT& v) {
  return V_VT(&v) == (VT_DISPATCH | VT_BYREF) ? V_DISPATCHREF(&v) : nullptr;
}

VARIANT_BOOL* flag_address(const VARIANT& v) {
  return V_VT(&v) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(&v) : nullptr;
}

}  // namespace

long browser_sink_references() { return sink_references; }

bool BrowserControl::initialise_host() {
  // Once: a second registration of the host class may be refused.
  static const bool ready = host_library().loaded() && host_library().init();
  return ready;
}

BrowserControl::BrowserControl() : sink_interface_(interface_id(kEventsInterface)) {}

BrowserControl::~BrowserControl() {
  disconnect();
  rt::com_release(browser_);
}

bool BrowserControl::create(HWND parent, const std::optional<std::string>& url, int x, int y,
                            int width, int height, std::optional<DWORD> style, DWORD ex_style) {
  if (handle() || !host_library().loaded()) return false;
  DWORD bits = WS_CHILD | WS_VISIBLE | style.value_or(0);
  int id = ++last_control_id;
  if (!WindowBase::create(ex_style, "AtlAxWin", "Shell_Explorer.1", bits, x, y, width, height,
                          parent, reinterpret_cast<HMENU>(intptr_t(id))))
    return false;
  take_browser();
  if (url) navigate(*url);
  connect_events();
  return true;
}

bool BrowserControl::attach_item(HWND parent, int id) {
  if (!attach(parent, id)) return false;
  take_browser();
  return connect_events();
}

bool BrowserControl::take_browser() {
  IUnknown* control = nullptr;
  if (!host_library().loaded() || FAILED(host_library().get_control(handle(), &control)) ||
      !control)
    return false;
  IDispatch* dispatch = nullptr;
  control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  control->Release();
  rt::com_release(browser_);
  browser_.object = dispatch;
  browser_.status = dispatch ? 0 : E_NOINTERFACE;
  return dispatch != nullptr;
}

bool BrowserControl::connect_events() {
  // One connection at a time: a second advise would leave a connection
  // pointing into this object after it is gone.
  if (sink_ || cookie_) return false;
  sink_table_ = sink_operations;
  sink_ = &sink_table_;
  if (!sink_map().insert(reinterpret_cast<uintptr_t>(sink_), reinterpret_cast<uintptr_t>(this)))
    return false;
  rt::com_assign(connection_point_, browser_);
  IUnknown* container = static_cast<IUnknown*>(connection_point_.object);
  if (!container || !host_library().loaded()) return false;
  host_library().advise(container, static_cast<IUnknown*>(sink_), sink_interface_, &cookie_);
  return cookie_ != 0;
}

void BrowserControl::disconnect() {
  if (sink_) sink_map().remove(reinterpret_cast<uintptr_t>(sink_));
  if (cookie_ && connection_point_.object && host_library().loaded())
    host_library().unadvise(static_cast<IUnknown*>(connection_point_.object), sink_interface_,
                            cookie_);
  rt::com_release(connection_point_);
  sink_table_ = nullptr;
  sink_ = nullptr;
  cookie_ = 0;
}

void BrowserControl::class_cleanup() {
  disconnect();
  rt::com_release(browser_);
}

void BrowserControl::navigate(const std::string& url) {
  RtArg arg = rt_text_arg(url.c_str());
  rt::com_call(browser_, "Navigate", std::span<const RtArg>(&arg, 1));
}

RtComObject BrowserControl::document() { return rt::com_get_object(browser_, "Document"); }
std::string BrowserControl::type() {
  return std::string(rt::com_get_text(browser_, "Type").view());
}
bool BrowserControl::busy() { return rt::com_get_bool(browser_, "Busy"); }
std::string BrowserControl::status_text() {
  return std::string(rt::com_get_text(browser_, "StatusText").view());
}
std::string BrowserControl::location_url() {
  return std::string(rt::com_get_text(browser_, "LocationURL").view());
}
int BrowserControl::ready_state() { return int(rt::com_get_number(browser_, "ReadyState")); }

bool BrowserControl::property_flag(const char* name, std::optional<bool> value) {
  if (!value) return rt::com_get_bool(browser_, name);
  RtArg arg = rt_bool_arg(*value);
  return rt::com_set(browser_, name, std::span<const RtArg>(&arg, 1));
}
bool BrowserControl::offline(std::optional<bool> value) { return property_flag("Offline", value); }
bool BrowserControl::silent(std::optional<bool> value) { return property_flag("Silent", value); }

std::string BrowserControl::title() {
  RtComObject page = document();
  std::string text(rt::com_get_text(page, "Title").view());
  rt::com_release(page);
  return text;
}

std::string BrowserControl::page_source() {
  RtComObject page = document();
  RtComObject root = rt::com_get_object(page, "documentElement");
  std::string text(rt::com_get_text(root, "outerHTML").view());
  rt::com_release(root);
  rt::com_release(page);
  return text;
}

void BrowserControl::write_page(const std::string& html) {
  RtComObject page = document();
  RtArg arg = rt_text_arg(html.c_str());
  rt::com_call(page, "Open");
  rt::com_call(page, "Write", std::span<const RtArg>(&arg, 1));
  rt::com_call(page, "Close");
  rt::com_release(page);
}

void BrowserControl::event(DISPID id, DISPPARAMS* params, VARIANT*) {
  if (!params || (params->cArgs > 0 && !params->rgvarg)) return;
  UINT count = params->cArgs;
  const VARIANT* a = params->rgvarg;  // last argument first
  switch (id) {
    case 102:
      if (events.status_text_change && count == 1) events.status_text_change(*this, text_of(a[0]));
      break;
    case 108:
      if (events.progress_change && count == 2)
        events.progress_change(*this, number_of(a[1]), number_of(a[0]));
      break;
    case 105:
      if (events.command_state_change && count == 2)
        events.command_state_change(*this, number_of(a[1]), number_of(a[0]) != 0);
      break;
    case 106:
      if (events.download_begin) events.download_begin(*this);
      break;
    case 104:
      if (events.download_complete) events.download_complete(*this);
      break;
    case 113:
      if (events.title_change) events.title_change(*this, count > 0 ? text_of(a[0]) : "");
      break;
    case 250:
      if (events.before_navigate2 && count == 7)
        events.before_navigate2(*this, object_of(a[6]), text_of(a[5]), flag_address(a[0]));
      break;
    case 251:
      if (events.new_window2 && count == 2)
        events.new_window2(*this, object_address(a[1]), flag_address(a[0]));
      break;
    case 273:
      if (events.new_window3 && count == 5)
        events.new_window3(*this, object_address(a[4]), text_of(a[0]), flag_address(a[3]));
      break;
    case 259:
      if (events.document_complete && count == 2)
        events.document_complete(*this, object_of(a[1]), text_of(a[0]));
      break;
    default: break;
  }
}

}  // namespace ui

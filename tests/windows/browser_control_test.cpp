// The browser control's event sink, driven directly as the browser would,
// and the host window's creation.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <ole2.h>

#include <stdexcept>
#include <string>

#include "runtime/message_box.h"

#include "ui/browser_control.h"

namespace {

// A VARIANT argument list built last-first, as the browser passes it.
struct Arguments {
  std::vector<VARIANT> values;
  DISPPARAMS params{};
  explicit Arguments(std::vector<VARIANT> first_to_last)
      : values(first_to_last.rbegin(), first_to_last.rend()) {
    params.rgvarg = values.data();
    params.cArgs = UINT(values.size());
  }
  ~Arguments() {
    for (VARIANT& v : values)
      if (V_VT(&v) == VT_BSTR) SysFreeString(V_BSTR(&v));
  }
};

VARIANT text(const wchar_t* s) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}
VARIANT number(int32_t n) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}
VARIANT by_ref(VARIANT* inner) {
  VARIANT v;
  V_VT(&v) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&v) = inner;
  return v;
}
VARIANT flag(VARIANT_BOOL* b) {
  VARIANT v;
  V_VT(&v) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&v) = b;
  return v;
}
VARIANT object_ref(IDispatch** d) {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH | VT_BYREF;
  V_DISPATCHREF(&v) = d;
  return v;
}
VARIANT empty() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

// What the handlers saw.
struct Seen {
  std::string text;
  int32_t a = 0, b = 0;
  int calls = 0;
  VARIANT_BOOL* cancel = nullptr;
  IDispatch** new_window = nullptr;
} seen;

class BrowserSink : public testing::Test {
 protected:
  void SetUp() override {
    seen = {};
    OleInitialize(nullptr);
    control.connect_events();  // no browser: the sink is registered all the same
    ASSERT_TRUE(control.sink());
  }
  void TearDown() override { OleUninitialize(); }

  HRESULT invoke(DISPID id, Arguments& args) {
    return control.sink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &args.params, nullptr, nullptr,
                                  nullptr);
  }

  ui::BrowserControl control;
};

TEST_F(BrowserSink, AnswersOnlyForDispatchAndUnknown) {
  IDispatch* sink = control.sink();
  long before = ui::browser_sink_references();
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IID_IDispatch, &out), S_OK);
  EXPECT_EQ(out, sink);
  EXPECT_EQ(sink->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(ui::browser_sink_references(), before + 2);
  IID events{};
  CLSIDFromString(L"{34A715A0-6587-11D0-924A-0020AFC7AC4D}", &events);
  EXPECT_EQ(sink->QueryInterface(events, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  // One counter for every sink; nothing is ever freed by it.
  ui::BrowserControl other;
  other.connect_events();
  EXPECT_EQ(other.sink()->AddRef(), ULONG(before + 3));
  EXPECT_EQ(sink->Release(), ULONG(before + 2));
  sink->Release();
  other.sink()->Release();
  EXPECT_EQ(ui::browser_sink_references(), before);
  UINT count = 0;
  EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr), E_NOTIMPL);
}

TEST_F(BrowserSink, EventsReachTheirHandlersWithTheListedArgumentCounts) {
  control.events.status_text_change = [](ui::BrowserControl&, const std::string& t) {
    seen.text = t;
    ++seen.calls;
  };
  control.events.progress_change = [](ui::BrowserControl&, int32_t p, int32_t m) {
    seen.a = p;
    seen.b = m;
    ++seen.calls;
  };
  Arguments status({text(L"完成")});
  EXPECT_EQ(invoke(102, status), S_OK);
  EXPECT_EQ(seen.text, "完成");
  Arguments progress({number(30), number(100)});
  EXPECT_EQ(invoke(108, progress), S_OK);
  EXPECT_EQ(seen.a, 30);
  EXPECT_EQ(seen.b, 100);
  EXPECT_EQ(seen.calls, 2);

  // A wrong count, an event without a handler, an unknown number: nothing.
  Arguments two_texts({text(L"a"), text(L"b")});
  EXPECT_EQ(invoke(102, two_texts), S_OK);
  EXPECT_EQ(invoke(113, status), S_OK);
  EXPECT_EQ(invoke(9999, status), S_OK);
  EXPECT_EQ(seen.calls, 2);
  EXPECT_EQ(
      control.sink()->Invoke(102, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
      S_OK);
}

TEST_F(BrowserSink, NavigationEventsPassAddressesTheHandlerCanSet) {
  control.events.before_navigate2 = [](ui::BrowserControl&, IDispatch*, const std::string& url,
                                       VARIANT_BOOL* cancel) {
    seen.text = url;
    *cancel = VARIANT_TRUE;
  };
  control.events.new_window3 = [](ui::BrowserControl&, IDispatch** window, const std::string& url,
                                  VARIANT_BOOL* cancel) {
    seen.text = url;
    seen.new_window = window;
    seen.cancel = cancel;
  };
  control.events.title_change = [](ui::BrowserControl&, const std::string& t) { seen.text = t; };
  VARIANT url = text(L"http://127.0.0.1/横幅.htm");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  Arguments before({empty(), by_ref(&url), empty(), empty(), empty(), empty(), flag(&cancel)});
  invoke(250, before);
  EXPECT_EQ(seen.text, "http://127.0.0.1/横幅.htm");
  EXPECT_EQ(cancel, VARIANT_TRUE);
  VariantClear(&url);

  IDispatch* window = nullptr;
  Arguments opened({object_ref(&window), flag(&cancel), number(0), text(L"ctx"), text(L"新窗口")});
  invoke(273, opened);
  EXPECT_EQ(seen.text, "新窗口");
  EXPECT_EQ(seen.new_window, &window);
  EXPECT_EQ(seen.cancel, &cancel);

  Arguments title({text(L"标题")});
  invoke(113, title);
  EXPECT_EQ(seen.text, "标题");
}

TEST_F(BrowserSink, AnExceptionFromAHandlerStaysInsideTheSink) {
  control.events.title_change = [](ui::BrowserControl&, const std::string&) {
    ++seen.calls;
    throw std::runtime_error("handler failed");
  };
  rt_set_message_box_hook([](const char*, const char*, unsigned, uintptr_t) { return RT_IDOK; });
  Arguments title({text(L"标题")});
  EXPECT_EQ(invoke(113, title), S_OK);
  EXPECT_EQ(invoke(113, title), S_OK);
  rt_set_message_box_hook(nullptr);
  EXPECT_EQ(seen.calls, 2);
}

// A browser of the tests' own (the test prefix has no HTML engine): an
// embeddable object the host accepts, answering for the events' connection
// point and counting advises.
// The events' connection point: counts advises and holds the sink.
struct FakePoint : IConnectionPoint {
  IUnknown* owner = nullptr;
  IUnknown* sink = nullptr;
  int advises = 0, unadvises = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return owner->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner->Release(); }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* s, DWORD* cookie) override {
    ++advises;
    s->AddRef();
    if (sink) sink->Release();
    sink = s;
    *cookie = DWORD(advises);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override {
    ++unadvises;
    if (sink) sink->Release();
    sink = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

// A browser of the tests' own (the test prefix has no HTML engine): an
// embeddable object the host accepts, with the events' connection point.
struct FakeBrowser : IDispatch, IConnectionPointContainer, IOleObject {
  IID events{};
  FakePoint point;
  long references = 1;

  FakeBrowser() {
    CLSIDFromString(L"{34A715A0-6587-11D0-924A-0020AFC7AC4D}", &events);
    point.owner = static_cast<IDispatch*>(this);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
      *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
      *out = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(riid, IID_IOleObject))
      *out = static_cast<IOleObject*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return ULONG(--references); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!IsEqualIID(riid, events)) return *out = nullptr, E_NOINTERFACE;
    *out = &point;
    AddRef();
    return S_OK;
  }
  // Embedding: accepted, nothing drawn.
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    *status = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

// A real host window with the fake browser attached: the sink is advised
// once, a second connect is refused, and the end of the window and its
// object unadvises and gives every sink reference back.
TEST(BrowserWindow, AdvisesOnceAndGivesItsReferencesBack) {
  OleInitialize(nullptr);
  if (!ui::BrowserControl::initialise_host()) GTEST_SKIP() << "no control-hosting library";
  using Attach = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);
  auto attach_control = reinterpret_cast<Attach>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("atl.dll"), "AtlAxAttachControl")));
  ASSERT_TRUE(attach_control);
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  HWND host = CreateWindowExA(0, "AtlAxWin", "", WS_CHILD, 0, 0, 300, 200, parent,
                              reinterpret_cast<HMENU>(700), nullptr, nullptr);
  ASSERT_TRUE(host);
  FakeBrowser fake;
  IUnknown* site = nullptr;  // without it the host attaches nothing
  ASSERT_EQ(attach_control(static_cast<IDispatch*>(&fake), host, &site), S_OK);
  ASSERT_TRUE(site);
  long start = ui::browser_sink_references();
  {
    ui::BrowserControl browser;
    ASSERT_TRUE(browser.attach_item(parent, 700));
    EXPECT_TRUE(browser.connected());
    EXPECT_EQ(fake.point.advises, 1);
    EXPECT_EQ(fake.point.sink, browser.sink());
    EXPECT_FALSE(browser.connect_events());
    EXPECT_EQ(fake.point.advises, 1);
    // The host may take its window procedure back while being destroyed,
    // so the object's end is what certainly lets go.
    DestroyWindow(host);
  }
  EXPECT_EQ(fake.point.unadvises, 1);
  EXPECT_EQ(fake.point.sink, nullptr);
  EXPECT_EQ(ui::browser_sink_references(), start);
  site->Release();
  DestroyWindow(parent);
  OleUninitialize();
}

TEST(BrowserWindow, SecondCreateLeavesTheFirstWindowAlone) {
  OleInitialize(nullptr);
  if (!ui::BrowserControl::initialise_host()) GTEST_SKIP() << "no control-hosting library";
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  ui::BrowserControl first, second;
  ASSERT_TRUE(first.create(parent, std::nullopt, 0, 246, 295, 80, WS_CHILD | WS_VISIBLE, 0));
  HWND made = first.handle();
  int first_id = GetDlgCtrlID(made);
  EXPECT_GT(first_id, 500);
  EXPECT_FALSE(first.create(parent, std::nullopt, 0, 0, 10, 10));
  EXPECT_EQ(first.handle(), made);
  ASSERT_TRUE(second.create(parent, std::nullopt, 0, 0, 10, 10));
  EXPECT_EQ(GetDlgCtrlID(second.handle()), first_id + 1);  // automatic ids count up
  char cls[32] = {};
  GetClassNameA(made, cls, sizeof cls);
  EXPECT_STREQ(cls, "AtlAxWin");
  DestroyWindow(parent);
  EXPECT_EQ(first.handle(), nullptr);
  OleUninitialize();
}

}  // namespace

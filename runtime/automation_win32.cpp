#include <windows.h>
// After windows.h.
#include <ole2.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/automation.h"
#include "runtime/blocks.h"
#include "runtime/heap.h"
#include "runtime/text_encoding.h"

namespace {

std::string gbk_of(BSTR text) {
  return text ? rt::narrow(std::wstring_view(text, SysStringLen(text))) : std::string();
}

BSTR new_bstr(std::string_view text) {
  std::wstring w = rt::widen(text);
  return SysAllocStringLen(w.data(), UINT(w.size()));
}

IUnknown* unknown_of(const RtComObject& o) { return static_cast<IUnknown*>(o.object); }

// A pointer type, or a type flagged by-reference (as dispatch-only type
// information describes it).
bool declared_by_reference(const TYPEDESC& type) {
  return type.vt == VT_PTR || (type.vt & VT_BYREF) != 0;
}

// The by-reference parameters of a member: for a method each parameter
// declared as a pointer, for a property a variable of pointer type marks
// the first argument.
std::vector<bool> by_reference_parameters(IDispatch* dispatch, DISPID id, bool method,
                                          size_t count) {
  std::vector<bool> marks(count, false);
  ITypeInfo* info = nullptr;
  if (count == 0 || FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || !info)
    return marks;
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr))) {
    if (method) {
      for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f))) continue;
        if (f->memid == id)
          for (size_t p = 0; p < count && p < size_t(f->cParams); ++p)
            marks[p] = declared_by_reference(f->lprgelemdescParam[p].tdesc);
        info->ReleaseFuncDesc(f);
      }
    } else {
      for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(info->GetVarDesc(i, &v))) continue;
        if (v->memid == id && declared_by_reference(v->elemdescVar.tdesc)) marks[0] = true;
        info->ReleaseVarDesc(v);
      }
    }
    info->ReleaseTypeAttr(attr);
  }
  info->Release();
  return marks;
}

// Arguments converted for one call, and what must happen after it.
class CallArguments {
 public:
  CallArguments(std::span<const RtArg> args, const std::vector<bool>& by_ref) {
    size_t n = args.size();
    variants_.resize(n);
    for (size_t i = 0; i < n; ++i) {
      VariantInit(&variants_[n - 1 - i]);  // last argument first
      convert(args[i], by_ref[i], variants_[n - 1 - i]);
    }
  }
  ~CallArguments() {
    for (auto& [flag, held] : bool_variables_) {
      *flag = *held != VARIANT_FALSE ? -1 : 0;
      delete held;
    }
    for (auto& [variable, text] : text_variables_) {
      // The variable receives the callee's (possibly new) string.
      rt_free(*variable);
      *variable = rt_text_make(gbk_of(*text));
      SysFreeString(*text);
      delete text;
    }
    for (VARIANT& v : variants_)
      if (!(v.vt & VT_BYREF)) VariantClear(&v);
  }
  VARIANTARG* data() { return variants_.data(); }
  UINT size() const { return UINT(variants_.size()); }
  bool object_by_reference() const { return object_by_reference_; }

 private:
  void convert(const RtArg& a, bool by_ref, VARIANT& v) {
    uint32_t type = rt_base_type(a.type);
    void* address = rt_arg_pointer(a);
    bool variable = rt_is_ref(a.type) || type == RT_COM_OBJECT || type == RT_VARIANT;
    if (type == RT_COM_OBJECT) {
      auto* object = static_cast<RtComObject*>(address);
      if (by_ref) {
        v.vt = VT_BYREF | VT_DISPATCH;
        v.ppdispVal = reinterpret_cast<IDispatch**>(&object->object);
        object_by_reference_ = true;
      } else {
        v.vt = VT_DISPATCH;
        v.pdispVal = static_cast<IDispatch*>(object->object);
        if (v.pdispVal) v.pdispVal->AddRef();
      }
      return;
    }
    if (type == RT_VARIANT) {
      if (rt_is_ref(a.type) || by_ref) {
        v.vt = VT_BYREF | VT_VARIANT;
        v.pvarVal = static_cast<VARIANT*>(address);
      } else {
        VariantCopy(&v, static_cast<VARIANT*>(address));
      }
      return;
    }
    if (variable && by_ref) return reference(type, address, v);
    RtArg value = a;
    if (variable) value = read_variable(type, address);
    by_value(type, value, v);
  }

  // The value a variable holds, as a by-value triple.
  static RtArg read_variable(uint32_t type, void* address) {
    switch (type) {
      case RT_TEXT: return rt_text_arg(*static_cast<char**>(address));
      case RT_BYTES: return rt_pointer_arg(*static_cast<void**>(address), RT_BYTES);
      case RT_INT64:
      case RT_DOUBLE:
      case RT_DATETIME: {
        uint64_t bits;
        std::memcpy(&bits, address, 8);
        return rt_64bit_arg(bits, type);
      }
      default: {
        uint32_t bits = 0;
        std::memcpy(&bits, address, size_t(std::max(1, std::min(4, rt_type_width(type)))));
        return RtArg{bits, 0, type};
      }
    }
  }

  static void by_value(uint32_t type, const RtArg& a, VARIANT& v) {
    switch (type) {
      case RT_BOOL:
        v.vt = VT_BOOL;
        v.boolVal = a.value ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case RT_DATETIME:
        v.vt = VT_DATE;
        v.date = rt_arg_double(a);
        break;
      case RT_TEXT:
        v.vt = VT_BSTR;
        v.bstrVal = new_bstr(rt_text_view(static_cast<const char*>(rt_arg_pointer(a))));
        break;
      case RT_BYTES: {
        const void* bytes = rt_arg_pointer(a);
        ULONG n = ULONG(rt_byte_set_size(bytes));
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, n);
        if (array && n) {
          void* data = nullptr;
          SafeArrayAccessData(array, &data);
          std::memcpy(data, rt_byte_set_data(bytes), n);
          SafeArrayUnaccessData(array);
        }
        v.vt = VT_ARRAY | VT_UI1;
        v.parray = array;
        break;
      }
      case RT_SUBROUTINE:
        v.vt = VT_UI4;
        v.ulVal = a.value;
        break;
      case RT_BYTE:
        v.vt = VT_UI1;
        v.bVal = BYTE(a.value);
        break;
      case RT_SHORT:
        v.vt = VT_I2;
        v.iVal = SHORT(a.value);
        break;
      case RT_INT:
        v.vt = VT_I4;
        v.lVal = LONG(a.value);
        break;
      case RT_INT64:
        v.vt = VT_I8;
        v.llVal = LONGLONG(rt_arg_bits64(a));
        break;
      case RT_FLOAT:
        v.vt = VT_R4;
        v.fltVal = rt_arg_float(a);
        break;
      case RT_DOUBLE:
        v.vt = VT_R8;
        v.dblVal = rt_arg_double(a);
        break;
      default: v.vt = VT_EMPTY; break;
    }
  }

  void reference(uint32_t type, void* address, VARIANT& v) {
    switch (type) {
      case RT_BOOL: {
        // The callee writes a 16-bit VARIANT_BOOL: it gets one of its own,
        // copied back into the 32-bit flag as 0 or -1 after the call.
        auto* flag = static_cast<int32_t*>(address);
        auto* held = new VARIANT_BOOL(*flag ? VARIANT_TRUE : VARIANT_FALSE);
        bool_variables_.push_back({flag, held});
        v.vt = VT_BYREF | VT_BOOL;
        v.pboolVal = held;
        break;
      }
      case RT_DATETIME:
        v.vt = VT_BYREF | VT_DATE;
        v.pdate = static_cast<DATE*>(address);
        break;
      case RT_TEXT: {
        auto* variable = static_cast<char**>(address);
        auto* text = new BSTR(new_bstr(rt_text_view(*variable)));
        text_variables_.push_back({variable, text});
        v.vt = VT_BYREF | VT_BSTR;
        v.pbstrVal = text;
        break;
      }
      case RT_BYTES: by_value(type, read_variable(type, address), v); break;
      case RT_SUBROUTINE:
        v.vt = VT_BYREF | VT_UI4;
        v.pulVal = static_cast<ULONG*>(address);
        break;
      case RT_BYTE:
        v.vt = VT_BYREF | VT_UI1;
        v.pbVal = static_cast<BYTE*>(address);
        break;
      case RT_SHORT:
        v.vt = VT_BYREF | VT_I2;
        v.piVal = static_cast<SHORT*>(address);
        break;
      case RT_INT:
        v.vt = VT_BYREF | VT_I4;
        v.plVal = static_cast<LONG*>(address);
        break;
      case RT_INT64:
        v.vt = VT_BYREF | VT_I8;
        v.pllVal = static_cast<LONGLONG*>(address);
        break;
      case RT_FLOAT:
        v.vt = VT_BYREF | VT_R4;
        v.pfltVal = static_cast<FLOAT*>(address);
        break;
      case RT_DOUBLE:
        v.vt = VT_BYREF | VT_R8;
        v.pdblVal = static_cast<DOUBLE*>(address);
        break;
      default: v.vt = VT_EMPTY; break;
    }
  }

  std::vector<VARIANT> variants_;
  std::vector<std::pair<char**, BSTR*>> text_variables_;
  std::vector<std::pair<int32_t*, VARIANT_BOOL*>> bool_variables_;
  bool object_by_reference_ = false;
};

// The common algorithm of every get, put and call; `result` is cleared
// first and holds the member's result.
void invoke(RtComObject& target, std::string_view name, WORD kind, std::span<const RtArg> args,
            VARIANT& result) {
  VariantInit(&result);
  IUnknown* unknown = unknown_of(target);
  if (!unknown) {
    target.status = RT_COM_NULL_OBJECT;
    return;
  }
  IDispatch* dispatch = nullptr;
  HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr)) {
    target.status = hr;
    return;
  }
  std::wstring member = rt::widen(name);
  LPOLESTR names[] = {member.data()};
  DISPID id = 0;
  hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (SUCCEEDED(hr)) {
    if (!args.empty() && args.back().type == RT_OMITTED) args = args.first(args.size() - 1);
    bool method = kind == DISPATCH_METHOD;
    CallArguments converted(args, by_reference_parameters(dispatch, id, method, args.size()));
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{converted.data(), nullptr, converted.size(), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &put;
      params.cNamedArgs = 1;
      if (converted.object_by_reference()) kind = DISPATCH_PROPERTYPUTREF;
    }
    hr = dispatch->Invoke(
        id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
        kind == DISPATCH_PROPERTYPUT || kind == DISPATCH_PROPERTYPUTREF ? nullptr : &result,
        nullptr, nullptr);
  }
  target.status = hr;
  dispatch->Release();
}

// A result as a number: the numeric, date and boolean kinds; 0 otherwise.
double number_of(VARIANT& v) {
  switch (v.vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4: {
      VARIANT d;
      VariantInit(&d);
      if (FAILED(VariantChangeType(&d, &v, 0, VT_R8))) return 0;
      return d.dblVal;
    }
    default: return 0;
  }
}

RtComObject object_of(VARIANT& v) {
  IUnknown* unknown = nullptr;
  switch (v.vt) {
    case VT_DISPATCH: unknown = v.pdispVal; break;
    case VT_UNKNOWN: unknown = v.punkVal; break;
    case VT_BYREF | VT_DISPATCH: unknown = v.ppdispVal ? *v.ppdispVal : nullptr; break;
    case VT_BYREF | VT_UNKNOWN: unknown = v.ppunkVal ? *v.ppunkVal : nullptr; break;
    default: break;
  }
  if (unknown) unknown->AddRef();
  return RtComObject{unknown, 0};
}

rt::Text text_of(VARIANT& v) { return v.vt == VT_BSTR ? rt::Text(gbk_of(v.bstrVal)) : rt::Text(); }

// One element of an array variant as a variant of its own.
bool array_element(const VARIANT& array_variant, int index, VARIANT& element) {
  SAFEARRAY* array = (array_variant.vt & VT_BYREF) ? *array_variant.pparray : array_variant.parray;
  if (!array) return false;
  size_t count = 1;
  for (UINT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
  size_t at = index < 1 ? 0 : size_t(index - 1);
  if (at >= count) return false;
  VARTYPE vt = VARTYPE(array_variant.vt & VT_TYPEMASK);
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return false;
  auto* bytes = static_cast<unsigned char*>(data) + at * array->cbElements;
  bool ok = true;
  if (vt == VT_VARIANT) {
    const VARIANT* inner = reinterpret_cast<const VARIANT*>(bytes);
    if (inner->vt == (VT_BYREF | VT_VARIANT) && inner->pvarVal) inner = inner->pvarVal;
    ok = SUCCEEDED(VariantCopy(&element, const_cast<VARIANT*>(inner)));
  } else {
    VARIANT view;
    VariantInit(&view);
    view.vt = vt;
    std::memcpy(&view.bVal, bytes, std::min<size_t>(array->cbElements, 8));
    ok = SUCCEEDED(VariantCopy(&element, &view));
  }
  SafeArrayUnaccessData(array);
  return ok;
}

}  // namespace

namespace rt {

bool com_create(RtComObject& target, std::string_view name,
                std::optional<std::string_view> type_library) {
  com_release(target);
  IUnknown* unknown = nullptr;
  std::wstring wide_name = rt::widen(name);
  if (type_library) {
    ITypeLib* library = nullptr;
    std::wstring path = rt::widen(*type_library);
    if (SUCCEEDED(LoadTypeLib(path.c_str(), &library))) {
      ITypeInfo* info = nullptr;
      MEMBERID member = 0;
      USHORT found = 1;
      ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, wide_name.c_str());
      if (SUCCEEDED(library->FindName(wide_name.data(), hash, &info, &member, &found)) &&
          found == 1 && info) {
        if (SUCCEEDED(
                info->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown))) &&
            type_library->find('\\') != std::string_view::npos)
          target.status = RegisterTypeLib(library, path.data(), nullptr);
        info->Release();
      }
      library->Release();
    }
  }
  if (!unknown) {
    CLSID id;
    HRESULT hr = CLSIDFromProgID(wide_name.c_str(), &id);
    if (FAILED(hr)) hr = CLSIDFromString(wide_name.c_str(), &id);
    if (FAILED(hr)) {
      target.status = hr;
      return false;
    }
    DWORD context =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    hr = CoCreateInstance(id, nullptr, context, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (hr == E_INVALIDARG)
      hr = CoCreateInstance(id, nullptr, context & ~CLSCTX_REMOTE_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) {
      target.status = hr;
      return false;
    }
  }
  HRESULT hr = OleRun(unknown);
  if (FAILED(hr)) {
    unknown->Release();
    target.status = hr;
    return false;
  }
  target.object = unknown;
  target.status = hr;
  return true;
}

void com_assign(RtComObject& target, const RtComObject& source) {
  if (&target == &source) return;
  if (IUnknown* unknown = unknown_of(source)) unknown->AddRef();
  com_release(target);
  target.object = source.object;
}

void com_release(RtComObject& target) {
  if (IUnknown* unknown = unknown_of(target)) unknown->Release();
  target.object = nullptr;
  target.status = 0;
}

bool com_is_empty(const RtComObject& target) { return target.object == nullptr; }

Text com_get_text(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYGET, args, result);
  Text text = text_of(result);
  VariantClear(&result);
  return text;
}

double com_get_number(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYGET, args, result);
  double n = number_of(result);
  VariantClear(&result);
  return n;
}

bool com_get_bool(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYGET, args, result);
  bool b = result.vt == VT_BOOL && result.boolVal != VARIANT_FALSE;
  VariantClear(&result);
  return b;
}

RtComObject com_get_object(RtComObject& target, std::string_view name,
                           std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYGET, args, result);
  RtComObject object = object_of(result);
  VariantClear(&result);
  return object;
}

RtVariant* com_get_variant(RtComObject& target, std::string_view name,
                           std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYGET, args, result);
  auto* block = static_cast<RtVariant*>(rt_alloc(sizeof(RtVariant)));
  std::memcpy(static_cast<void*>(block), &result, sizeof(VARIANT));  // handed over, not cleared
  return block;
}

bool com_set(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_PROPERTYPUT, args, result);
  VariantClear(&result);
  return SUCCEEDED(target.status) && target.object;
}

void com_call(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_METHOD, args, result);
  VariantClear(&result);
}

Text com_call_text(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_METHOD, args, result);
  Text text = text_of(result);
  VariantClear(&result);
  return text;
}

double com_call_number(RtComObject& target, std::string_view name, std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_METHOD, args, result);
  double n = number_of(result);
  VariantClear(&result);
  return n;
}

RtComObject com_call_object(RtComObject& target, std::string_view name,
                            std::span<const RtArg> args) {
  VARIANT result;
  invoke(target, name, DISPATCH_METHOD, args, result);
  RtComObject object = object_of(result);
  VariantClear(&result);
  return object;
}

void variant_clear(RtVariant& variant) {
  auto* v = reinterpret_cast<VARIANT*>(&variant);
  VariantClear(v);
  VariantInit(v);
}

Text variant_text(const RtVariant& variant, std::optional<int> index) {
  VARIANT value;
  VariantInit(&value);
  const auto* source = reinterpret_cast<const VARIANT*>(&variant);
  if (source->vt & VT_ARRAY) {
    if (!array_element(*source, index.value_or(1), value)) return Text();
  } else if (FAILED(VariantCopy(&value, const_cast<VARIANT*>(source)))) {
    return Text();
  }
  Text text;
  if (value.vt == VT_BOOL) {
    text = Text(value.boolVal ? "真" : "假");
  } else if (value.vt == VT_BSTR) {
    text = Text(gbk_of(value.bstrVal));
  } else {
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_BSTR)))
      text = Text(gbk_of(converted.bstrVal));
    VariantClear(&converted);
  }
  VariantClear(&value);
  return text;
}

}  // namespace rt

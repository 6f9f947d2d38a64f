#include "platform/activex/control.h"

#include <QCoreApplication>
#include <QThread>
#include <cmath>

#include "platform/activex/module.h"
#include "platform/com/typelib.h"

namespace plat::ax {

using namespace plat::com;

bool OnUiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

namespace {

constexpr std::uint32_t kStockMask = STOCKPROP_BACKCOLOR | STOCKPROP_ENABLED;

std::int64_t RoundedDiv(std::int64_t num, std::int64_t den) {
  // Half away from zero, as MulDiv rounds.
  return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

std::string StandardDescription(HRESULT scode) {
  switch (scode) {
    case CTL_E_INVALIDPROPERTYVALUE: return "Invalid property value";
    case CTL_E_SETNOTSUPPORTEDATRUNTIME: return "Property cannot be set at run time";
    case CTL_E_SETNOTSUPPORTED: return "Property is read-only";
    default: return {};
  }
}

}  // namespace

std::int32_t HimetricFromPixels(std::int64_t pixels) {
  const std::int64_t v = RoundedDiv(pixels * 2540, 96);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::int64_t PixelsFromHimetric(std::int64_t himetric) { return RoundedDiv(himetric * 96, 2540); }

COleControl::COleControl(COleControlModule& module, ControlClassInfo info) : module_(module), info_(std::move(info)) {
  module_.ObjectCreated();
  AddProperty(DISPID_BACKCOLOR, "BackColor", VarType::I4, [this] { return Variant::I4(static_cast<std::int32_t>(backColor_)); },
              [this](const Variant& v) {
                std::int32_t c = 0;
                v.ToI4(&c);
                SetBackColor(static_cast<gdi::OLE_COLOR>(c));
                return S_OK;
              });
  AddProperty(DISPID_ENABLED, "Enabled", VarType::Bool, [this] { return Variant::Bool(enabled_); },
              [this](const Variant& v) {
                bool b = false;
                v.ToBool(&b);
                SetEnabled(b);
                return S_OK;
              });
  AddProperty(DISPID_HWND, "hWnd", VarType::I4, [this] { return Variant::I4(site_ ? site_->WindowHandle() : 0); },
              nullptr);
}

COleControl::~COleControl() {
  if (sink_) sink_->Release();
  module_.ObjectDestroyed();
}

HRESULT COleControl::QueryInterface(const IID& iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IControl || iid == info_.dispatchIid) {
    *out = static_cast<IControl*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

std::uint32_t COleControl::AddRef() { return ++refs_; }

std::uint32_t COleControl::Release() {
  const std::uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

void COleControl::AddProperty(DISPID id, std::string name, VarType type, Getter get, Setter set) {
  members_.push_back(Member{id, std::move(name), type, std::move(get), std::move(set), nullptr});
}

void COleControl::AddMethod(DISPID id, std::string name, Method method) {
  members_.push_back(Member{id, std::move(name), VarType::Empty, nullptr, nullptr, std::move(method)});
}

const COleControl::Member* COleControl::Find(DISPID id) const {
  for (const Member& m : members_)
    if (m.id == id) return &m;
  return nullptr;
}

HRESULT COleControl::GetTypeInfoCount(unsigned* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT COleControl::GetTypeInfo(unsigned index, std::uint32_t lcid, com::TypeInfo* info) {
  if (!info) return E_POINTER;
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (index != 0) return com::DISP_E_BADINDEX;
  return com::LoadRegTypeInfo(module_.TypeLib(), info_.dispatchIid, lcid, info);
}

HRESULT COleControl::GetIDsOfNames(std::string_view name, DISPID* id) {
  if (!id) return E_POINTER;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const Member& m : members_) {
    if (m.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) same = lower(m.name[i]) == lower(name[i]);
    if (same) {
      *id = m.id;
      return S_OK;
    }
  }
  *id = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT COleControl::Invoke(DISPID id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                            ExcepInfo* excep) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  const Member* m = Find(id);
  if (!m) return DISP_E_MEMBERNOTFOUND;
  auto raise = [&](HRESULT scode) {
    if (excep) {
      excep->scode = scode;
      excep->source.clear();
      excep->description = StandardDescription(scode);
    }
    return DISP_E_EXCEPTION;
  };
  if (m->method) {
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    const HRESULT hr = m->method();
    if (Failed(hr)) return raise(hr);
    if (result) *result = Variant();
    return S_OK;
  }
  if (flags & DISPATCH_PROPERTYPUT) {
    if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
    if (!m->set) return raise(SetNotSupported());
    Variant value;
    if (const HRESULT hr = args[0].ChangeType(m->type, &value); Failed(hr)) return hr;
    const HRESULT hr = m->set(value);
    if (Failed(hr)) return raise(hr);
    return S_OK;
  }
  if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    if (result) *result = m->get();
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT COleControl::SetNotSupported() {
  return AmbientUserMode() ? CTL_E_SETNOTSUPPORTEDATRUNTIME : CTL_E_SETNOTSUPPORTED;
}

HRESULT COleControl::SetClientSite(IClientSite* site) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  site_ = site;
  return S_OK;
}

HRESULT COleControl::InitNew() {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  OnResetState();
  modified_ = false;
  InvalidateControl();
  return S_OK;
}

HRESULT COleControl::Load(std::span<const std::uint8_t> block) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  {
    StreamReader check(block, false);
    DoPropExchange(check);
    if (check.Failed()) return STG_E_READFAULT;
  }
  StreamReader commit(block, true);
  DoPropExchange(commit);
  modified_ = false;
  InvalidateControl();
  return commit.Failed() ? E_UNEXPECTED : S_OK;
}

HRESULT COleControl::Save(std::vector<std::uint8_t>* block, bool clearDirty) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (!block) return E_POINTER;
  StreamWriter writer;
  DoPropExchange(writer);
  *block = writer.Data();
  if (clearDirty) modified_ = false;
  return S_OK;
}

HRESULT COleControl::IsDirty() {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  return modified_ ? S_OK : S_FALSE;
}

HRESULT COleControl::GetExtent(std::int32_t* cx, std::int32_t* cy) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (!cx || !cy) return E_POINTER;
  *cx = extentX_;
  *cy = extentY_;
  return S_OK;
}

HRESULT COleControl::SetExtent(std::int32_t cx, std::int32_t cy) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (cx <= 0 || cy <= 0) return E_INVALIDARG;
  extentX_ = cx;
  extentY_ = cy;
  modified_ = true;
  InvalidateControl();
  return S_OK;
}

HRESULT COleControl::Draw(gdi::DC& dc, const gdi::Rect& bounds) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  OnDraw(dc, bounds, bounds);
  return S_OK;
}

HRESULT COleControl::DrawMetafile(gdi::DC& dc, const gdi::Rect& bounds) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  OnDrawMetafile(dc, bounds);
  return S_OK;
}

void COleControl::OnDrawMetafile(gdi::DC& dc, const gdi::Rect& bounds) { OnDraw(dc, bounds, bounds); }

HRESULT COleControl::MouseEvent(MouseKind kind, std::int16_t button, std::int16_t shift, std::int32_t x,
                                std::int32_t y) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (!enabled_) return S_FALSE;
  const Variant args[] = {Variant::I2(button), Variant::I2(shift), Variant::I4(x), Variant::I4(y)};
  switch (kind) {
    case MouseKind::Down:
      buttonsDown_ = static_cast<std::int16_t>(buttonsDown_ | button);
      FireEvent(DISPID_MOUSEDOWN, args);
      break;
    case MouseKind::Move:
      FireEvent(DISPID_MOUSEMOVE, args);
      break;
    case MouseKind::Up: {
      const bool wasDown = (buttonsDown_ & button) != 0;
      buttonsDown_ = static_cast<std::int16_t>(buttonsDown_ & ~button);
      FireEvent(DISPID_MOUSEUP, args);
      int cx = 0, cy = 0;
      const bool inside = GetControlSize(&cx, &cy) && x >= 0 && y >= 0 && x < cx && y < cy;
      if (wasDown && button == LEFT_BUTTON && inside) FireEvent(DISPID_CLICK, {});
      break;
    }
    case MouseKind::DblClick:
      FireEvent(DISPID_DBLCLICK, {});
      break;
  }
  return S_OK;
}

HRESULT COleControl::Advise(IDispatch* sink) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (sink) sink->AddRef();
  if (sink_) sink_->Release();
  sink_ = sink;
  return S_OK;
}

HRESULT COleControl::GetPages(std::vector<CLSID>* pages) {
  if (!pages) return E_POINTER;
  *pages = info_.pages;
  return S_OK;
}

HRESULT COleControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = info_.clsid;
  return S_OK;
}

HRESULT COleControl::GetUserType(std::string* name) {
  if (!name) return E_POINTER;
  *name = module_.LoadString(info_.userTypeStringId);
  return S_OK;
}

HRESULT COleControl::GetMiscStatus(std::uint32_t* status) {
  if (!status) return E_POINTER;
  *status = info_.miscStatus;
  return S_OK;
}

void COleControl::SetBackColor(gdi::OLE_COLOR color) {
  backColor_ = color;
  SetModifiedFlag();
  InvalidateControl();
}

void COleControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  SetModifiedFlag();
  InvalidateControl();
}

bool COleControl::AmbientUserMode() { return site_ ? site_->AmbientUserMode() : true; }

gdi::OLE_COLOR COleControl::AmbientBackColor() { return site_ ? site_->AmbientBackColor() : 0x80000005; }

gdi::COLORREF COleControl::TranslateColor(gdi::OLE_COLOR color) const {
  gdi::COLORREF rgb = 0;
  return gdi::TranslateColor(color, &rgb) ? rgb : 0;
}

void COleControl::InvalidateControl() {
  if (site_) site_->InvalidateControl();
}

void COleControl::SetInitialSize(int cx, int cy) {
  extentX_ = HimetricFromPixels(cx);
  extentY_ = HimetricFromPixels(cy);
}

bool COleControl::GetControlSize(int* cx, int* cy) const {
  const std::int64_t x = PixelsFromHimetric(extentX_);
  const std::int64_t y = PixelsFromHimetric(extentY_);
  if (!gdi::BitmapSizeOk(x, y)) return false;
  *cx = static_cast<int>(x);
  *cy = static_cast<int>(y);
  return true;
}

void COleControl::FireEvent(DISPID id, std::span<const Variant> args) {
  if (!sink_) return;
  ExcepInfo excep;
  sink_->Invoke(id, DISPATCH_METHOD, args, nullptr, &excep);
}

void COleControl::DoPropExchange(CPropExchange& px) { ExchangeFrameworkState(px); }

void COleControl::OnResetState() {
  backColor_ = initialBackColor_;
  enabled_ = true;
}

void COleControl::ExchangeVersion(CPropExchange& px, std::uint32_t version) {
  px.ExchangeVersion(&loadedVersion_, version);
}

void COleControl::ExchangeFrameworkState(CPropExchange& px) {
  px.PX_Long("_ExtentX", extentX_);
  px.PX_Long("_ExtentY", extentY_);
  std::uint32_t mask = kStockMask;
  px.PX_ULongLocal("_StockProps", mask);
  if (px.IsLoading() && mask != kStockMask) {
    px.Fail();
    return;
  }
  px.PX_Color("BackColor", backColor_);
  px.PX_Bool("Enabled", enabled_);
}

}  // namespace plat::ax

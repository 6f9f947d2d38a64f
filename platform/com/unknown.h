#pragma once
// The COM interfaces the lamp library and its hosts talk through: IUnknown (interface lookup and
// reference counting), IClassFactory and IDispatch (late-bound calls by dispatch id), plus a
// small owning pointer that releases what it holds.
//
// Objects delete themselves when their last reference is released; nobody deletes an interface
// pointer directly.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/variant.h"

namespace plat::com {

inline constexpr IID IID_IUnknown = Guid("{00000000-0000-0000-C000-000000000046}");
inline constexpr IID IID_IClassFactory = Guid("{00000001-0000-0000-C000-000000000046}");
inline constexpr IID IID_IDispatch = Guid("{00020400-0000-0000-C000-000000000046}");

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const IID& iid, void** out) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  // `outer` must be null: aggregation is refused with CLASS_E_NOAGGREGATION.
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) = 0;
  virtual HRESULT LockServer(bool lock) = 0;
};

using DISPID = std::int32_t;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;

// Invoke kinds (may be combined for get-or-call, as automation callers do).
inline constexpr std::uint16_t DISPATCH_METHOD = 1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;

// What a failing member reports: Invoke then returns DISP_E_EXCEPTION and the member's own
// error is `scode` (for example CTL_E_INVALIDPROPERTYVALUE, error 380).
struct ExcepInfo {
  HRESULT scode = S_OK;
  std::string source;
  std::string description;
};

struct TypeInfo;

class IDispatch : public IUnknown {
 public:
  // How many type informations the object gives (0 or 1), and the one it gives. An object
  // without type information answers 0 and E_NOTIMPL.
  virtual HRESULT GetTypeInfoCount(unsigned* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  virtual HRESULT GetTypeInfo(unsigned, std::uint32_t, TypeInfo*) { return E_NOTIMPL; }
  virtual HRESULT GetIDsOfNames(std::string_view name, DISPID* id) = 0;
  // `args` in call order; a property put takes exactly one argument, the new value.
  virtual HRESULT Invoke(DISPID id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                         ExcepInfo* excep) = 0;
};

// The error a caller sees: the member's scode for DISP_E_EXCEPTION, else the call's result.
inline HRESULT ErrorOf(HRESULT hr, const ExcepInfo& excep) { return hr == DISP_E_EXCEPTION ? excep.scode : hr; }

// Owns one reference.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out parameters: releases what is held and hands out the slot.
  void** out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  // Asks the held object for another interface.
  template <class U>
  HRESULT As(const IID& iid, ComPtr<U>* other) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, other->out());
  }

 private:
  T* p_ = nullptr;
};

}  // namespace plat::com

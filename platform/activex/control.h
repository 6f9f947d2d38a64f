#pragma once
// The control framework: what a host sees of a control (IControl), what a control sees of its
// host (IClientSite), and the base class COleControl that carries the stock properties
// BackColor, Enabled and hWnd, the dispatch table, reset, property exchange and stream
// persistence, painting entry points, invalidation, ambient properties and the stock mouse
// events.
//
// Every entry point of a control answers RPC_E_WRONG_THREAD when called off the UI thread and
// touches nothing then.

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/activex/prop_exchange.h"
#include "platform/com/unknown.h"
#include "platform/gdi/dc.h"

namespace plat::ax {

class COleControlModule;

using com::DISPID;
using com::HRESULT;

// Stock dispatch ids.
inline constexpr DISPID DISPID_BACKCOLOR = -501;
inline constexpr DISPID DISPID_ENABLED = -514;
inline constexpr DISPID DISPID_HWND = -515;
inline constexpr DISPID DISPID_ABOUTBOX = -552;
inline constexpr DISPID DISPID_CLICK = -600;
inline constexpr DISPID DISPID_DBLCLICK = -601;
inline constexpr DISPID DISPID_MOUSEDOWN = -605;
inline constexpr DISPID DISPID_MOUSEMOVE = -606;
inline constexpr DISPID DISPID_MOUSEUP = -607;

// Stock property bits in the stream's mask.
inline constexpr std::uint32_t STOCKPROP_BACKCOLOR = 0x01;
inline constexpr std::uint32_t STOCKPROP_ENABLED = 0x40;

// Mouse buttons and shift states of the stock mouse events.
inline constexpr std::int16_t LEFT_BUTTON = 1;
inline constexpr std::int16_t RIGHT_BUTTON = 2;
inline constexpr std::int16_t MIDDLE_BUTTON = 4;
inline constexpr std::int16_t SHIFT_MASK = 1;
inline constexpr std::int16_t CTRL_MASK = 2;
inline constexpr std::int16_t ALT_MASK = 4;

bool OnUiThread();

// What a control asks of the container that sites it. The container outlives the siting.
class IClientSite {
 public:
  virtual bool AmbientUserMode() = 0;                  // true while the container is running
  virtual gdi::OLE_COLOR AmbientBackColor() = 0;       // the container's background
  virtual void InvalidateControl() = 0;                // repaint the whole control soon
  virtual std::int32_t WindowHandle() = 0;             // the control's window, 0 when none

 protected:
  ~IClientSite() = default;
};

enum class MouseKind { Down, Move, Up, DblClick };

inline constexpr com::IID IID_IControl = com::Guid("{6F1C0A52-5E3B-4C8E-9B1D-2A7E4F3C9D01}");

// A control as its host uses it: siting, persistence, extent, painting, input and events.
class IControl : public com::IDispatch {
 public:
  virtual HRESULT SetClientSite(IClientSite* site) = 0;  // null before the host goes away
  virtual HRESULT InitNew() = 0;                          // fresh control: defaults
  // The stored block (without any length prefix). Fails with STG_E_READFAULT, changing
  // nothing, when the block is malformed or too short.
  virtual HRESULT Load(std::span<const std::uint8_t> block) = 0;
  virtual HRESULT Save(std::vector<std::uint8_t>* block, bool clearDirty) = 0;
  virtual HRESULT IsDirty() = 0;  // S_OK when modified since load or save, else S_FALSE
  virtual HRESULT GetExtent(std::int32_t* cx, std::int32_t* cy) = 0;  // HIMETRIC
  virtual HRESULT SetExtent(std::int32_t cx, std::int32_t cy) = 0;
  virtual HRESULT Draw(gdi::DC& dc, const gdi::Rect& bounds) = 0;
  virtual HRESULT DrawMetafile(gdi::DC& dc, const gdi::Rect& bounds) = 0;
  // Mouse input in pixels relative to the control; fires the stock mouse events.
  virtual HRESULT MouseEvent(MouseKind kind, std::int16_t button, std::int16_t shift, std::int32_t x,
                             std::int32_t y) = 0;
  // One event sink receives the events as method calls by dispatch id; null removes it.
  virtual HRESULT Advise(com::IDispatch* sink) = 0;
  virtual HRESULT GetPages(std::vector<com::CLSID>* pages) = 0;
  virtual HRESULT GetClassID(com::CLSID* clsid) = 0;
  virtual HRESULT GetUserType(std::string* name) = 0;
  virtual HRESULT GetMiscStatus(std::uint32_t* status) = 0;
};

// HIMETRIC <-> pixels at 96 pixels per inch, rounded, without overflow.
std::int32_t HimetricFromPixels(std::int64_t pixels);
std::int64_t PixelsFromHimetric(std::int64_t himetric);

struct ControlClassInfo {
  com::CLSID clsid;
  com::IID dispatchIid;
  com::IID eventsIid;
  int userTypeStringId = 0;
  std::uint32_t miscStatus = 0;
  std::vector<com::CLSID> pages;
};

class COleControl : public IControl {
 public:
  COleControl(COleControlModule& module, ControlClassInfo info);

  // IUnknown
  HRESULT QueryInterface(const com::IID& iid, void** out) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  // IDispatch. The one type information is the dispatch interface as the module's registered
  // type library describes it.
  HRESULT GetTypeInfoCount(unsigned* count) override;
  HRESULT GetTypeInfo(unsigned index, std::uint32_t lcid, com::TypeInfo* info) override;
  HRESULT GetIDsOfNames(std::string_view name, DISPID* id) override;
  HRESULT Invoke(DISPID id, std::uint16_t flags, std::span<const com::Variant> args, com::Variant* result,
                 com::ExcepInfo* excep) override;
  // IControl
  HRESULT SetClientSite(IClientSite* site) override;
  HRESULT InitNew() override;
  HRESULT Load(std::span<const std::uint8_t> block) override;
  HRESULT Save(std::vector<std::uint8_t>* block, bool clearDirty) override;
  HRESULT IsDirty() override;
  HRESULT GetExtent(std::int32_t* cx, std::int32_t* cy) override;
  HRESULT SetExtent(std::int32_t cx, std::int32_t cy) override;
  HRESULT Draw(gdi::DC& dc, const gdi::Rect& bounds) override;
  HRESULT DrawMetafile(gdi::DC& dc, const gdi::Rect& bounds) override;
  HRESULT MouseEvent(MouseKind kind, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) override;
  HRESULT Advise(com::IDispatch* sink) override;
  HRESULT GetPages(std::vector<com::CLSID>* pages) override;
  HRESULT GetClassID(com::CLSID* clsid) override;
  HRESULT GetUserType(std::string* name) override;
  HRESULT GetMiscStatus(std::uint32_t* status) override;

 protected:
  ~COleControl() override;

  // The dispatch table. A getter returns the value; a setter receives the argument already
  // converted to the member's type and returns S_OK or the automation error to raise (such as
  // CTL_E_INVALIDPROPERTYVALUE). A property without setter is read-only.
  using Getter = std::function<com::Variant()>;
  using Setter = std::function<HRESULT(const com::Variant&)>;
  using Method = std::function<HRESULT()>;
  void AddProperty(DISPID id, std::string name, com::VarType type, Getter get, Setter set);
  void AddMethod(DISPID id, std::string name, Method method);
  // A property put that fails: 382 at run time, 383 at design time.
  HRESULT SetNotSupported();

  // Stock properties. The construction value of BackColor is what a reset restores.
  void SetDefaultBackColor(gdi::OLE_COLOR color) { backColor_ = initialBackColor_ = color; }
  gdi::OLE_COLOR GetBackColor() const { return backColor_; }
  void SetBackColor(gdi::OLE_COLOR color);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Ambient properties from the client site (running, and the window colour, without one).
  bool AmbientUserMode();
  gdi::OLE_COLOR AmbientBackColor();
  // RGB of an OLE colour; black when it cannot be resolved (a bad system colour index).
  gdi::COLORREF TranslateColor(gdi::OLE_COLOR color) const;

  void InvalidateControl();
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }
  bool IsModified() const { return modified_; }
  void SetInitialSize(int cx, int cy);  // pixels
  bool GetControlSize(int* cx, int* cy) const;  // pixels; false when the extent is unusable
  void FireEvent(DISPID id, std::span<const com::Variant> args);

  COleControlModule& Module() const { return module_; }
  // The version word read by the last load (the framework keeps it).
  std::uint32_t LoadedVersion() const { return loadedVersion_; }

  // Overridables.
  virtual void OnDraw(gdi::DC& dc, const gdi::Rect& bounds, const gdi::Rect& invalid) = 0;
  virtual void OnDrawMetafile(gdi::DC& dc, const gdi::Rect& bounds);
  // The control's own: exchange the version, call ExchangeFrameworkState, then its properties.
  virtual void DoPropExchange(CPropExchange& px);
  // Stock properties back to their construction values; derived classes add their defaults.
  virtual void OnResetState();

  // Exchanges the persistence version (loading keeps the stored one; saving writes `version`).
  void ExchangeVersion(CPropExchange& px, std::uint32_t version);
  // The framework's own state: extent, stock property mask, BackColor, Enabled. A stored mask
  // other than this control's fails the exchange.
  void ExchangeFrameworkState(CPropExchange& px);

 private:
  struct Member {
    DISPID id;
    std::string name;
    com::VarType type;
    Getter get;
    Setter set;
    Method method;
  };
  const Member* Find(DISPID id) const;

  COleControlModule& module_;
  ControlClassInfo info_;
  std::atomic<std::uint32_t> refs_{1};
  std::vector<Member> members_;
  IClientSite* site_ = nullptr;
  com::IDispatch* sink_ = nullptr;
  gdi::OLE_COLOR backColor_ = 0x8000000F;
  gdi::OLE_COLOR initialBackColor_ = 0x8000000F;
  bool enabled_ = true;
  std::int32_t extentX_ = 0;
  std::int32_t extentY_ = 0;
  std::uint32_t loadedVersion_ = 0;
  bool modified_ = false;
  std::int16_t buttonsDown_ = 0;
};

}  // namespace plat::ax

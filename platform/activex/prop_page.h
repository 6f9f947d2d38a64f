#pragma once
// Property pages: the IPropertyPage interface a property sheet drives, dialog templates (laid
// out in dialog units), and the base class COlePropertyPage with the exchange helpers that
// connect a page member with a control property (DDP_*) and with a dialog control (DDX_*).
//
// Exchange pairs run in the order a page lists them. Showing the page reads each property into
// its member and the member into the dialog control; applying reads the dialog controls into the
// members (integer boxes accept only whole numbers in the 16-bit range, else a box says so and
// nothing is applied), then sets the properties whose dialog controls the user changed. A
// property setter's error is shown in a box and leaves the page dirty.

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <atomic>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/com/unknown.h"

namespace plat::ax {

class COleControlModule;
using com::HRESULT;

inline constexpr com::IID IID_IPropertyPage = com::Guid("{6F1C0A53-5E3B-4C8E-9B1D-2A7E4F3C9D01}");

struct PageInfo {
  std::string title;
  QSize size;  // pixels
};

class IPropertyPage : public com::IUnknown {
 public:
  // The objects whose properties the page edits (each must offer IDispatch).
  virtual HRESULT SetObjects(std::span<com::IUnknown* const> objects) = 0;
  // Builds the page inside `parent` and shows the objects' values.
  virtual HRESULT Activate(QWidget* parent) = 0;
  virtual HRESULT Deactivate() = 0;
  virtual HRESULT GetPageInfo(PageInfo* info) = 0;
  virtual HRESULT IsPageDirty() = 0;  // S_OK when dirty
  virtual HRESULT Apply() = 0;        // S_OK, or E_FAIL when a value was refused (page stays dirty)
  virtual QWidget* PageWidget() = 0;  // while active, else null
};

enum class DialogItemKind { GroupBox, DropDownList, Label, Edit };

struct DialogItem {
  int id;  // -1 for static items
  DialogItemKind kind;
  std::string text;
  int x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
  int cx = 0, cy = 0;  // dialog units
  std::string fontName;
  int pointSize = 8;
  std::vector<DialogItem> items;                                      // in tab order
  std::vector<std::pair<int, std::vector<std::string>>> comboItems;  // initial list contents
};

class COlePropertyPage;

class CDataExchange {
 public:
  CDataExchange(COlePropertyPage* owner, bool save) : page(owner), saveAndValidate(save) {}
  COlePropertyPage* page;
  bool saveAndValidate;
  bool failed = false;
};

class COlePropertyPage : public IPropertyPage {
 public:
  COlePropertyPage(COleControlModule& module, DialogTemplate dialog, std::string caption);

  HRESULT QueryInterface(const com::IID& iid, void** out) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  HRESULT SetObjects(std::span<com::IUnknown* const> objects) override;
  HRESULT Activate(QWidget* parent) override;
  HRESULT Deactivate() override;
  HRESULT GetPageInfo(PageInfo* info) override;
  HRESULT IsPageDirty() override;
  HRESULT Apply() override;
  QWidget* PageWidget() override { return widget_; }

  // The dialog control with this id while the page is active (object name "ctl<id>").
  QWidget* Control(int id) const;

 protected:
  ~COlePropertyPage() override;

  virtual void DoDataExchange(CDataExchange* dx) = 0;
  bool UpdateData(bool save);
  void SetModifiedFlag(bool modified = true) { dirty_ = modified; }

  // Member <-> property of the objects (as an integer).
  void DDP_CBIndex(CDataExchange* dx, int id, int& member, std::string_view property);
  void DDP_Text(CDataExchange* dx, int id, int& member, std::string_view property);
  // Member <-> dialog control: a drop-down list by its selected index (-1: none), an edit box as
  // decimal text.
  void DDX_CBIndex(CDataExchange* dx, int id, int& member);
  void DDX_Text(CDataExchange* dx, int id, int& member);
  // Sets the changed properties on every object; a refused value fails the exchange.
  void DDP_PostProcessing(CDataExchange* dx);

 private:
  void ExchangeProperty(CDataExchange* dx, int id, int& member, std::string_view property);
  void Changed(int id);

  struct Pending {
    int id;
    int* member;
    std::string property;
  };

  COleControlModule& module_;
  DialogTemplate dialog_;
  std::string caption_;
  std::atomic<std::uint32_t> refs_{1};
  std::vector<com::IDispatch*> objects_;
  QPointer<QWidget> widget_;
  std::vector<Pending> pending_;
  std::set<int> changed_;
  bool dirty_ = false;
};

}  // namespace plat::ax

#include "platform/activex/prop_page.h"

#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>
#include <limits>

#include "platform/activex/control.h"
#include "platform/activex/module.h"
#include "platform/ui/message_box.h"

namespace plat::ax {

using namespace plat::com;

COlePropertyPage::COlePropertyPage(COleControlModule& module, DialogTemplate dialog, std::string caption)
    : module_(module), dialog_(std::move(dialog)), caption_(std::move(caption)) {
  module_.ObjectCreated();
}

COlePropertyPage::~COlePropertyPage() {
  delete widget_.data();
  for (IDispatch* o : objects_) o->Release();
  module_.ObjectDestroyed();
}

HRESULT COlePropertyPage::QueryInterface(const IID& iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyPage) {
    *out = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

std::uint32_t COlePropertyPage::AddRef() { return ++refs_; }

std::uint32_t COlePropertyPage::Release() {
  const std::uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT COlePropertyPage::SetObjects(std::span<IUnknown* const> objects) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  std::vector<IDispatch*> found;
  for (IUnknown* u : objects) {
    void* p = nullptr;
    if (!u || Failed(u->QueryInterface(IID_IDispatch, &p))) {
      for (IDispatch* d : found) d->Release();
      return E_NOINTERFACE;
    }
    found.push_back(static_cast<IDispatch*>(p));
  }
  for (IDispatch* o : objects_) o->Release();
  objects_ = std::move(found);
  return S_OK;
}

namespace {

QFont DialogFont(const DialogTemplate& d) {
  QFont f(QString::fromStdString(d.fontName));
  f.setPointSize(d.pointSize);
  return f;
}

// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
QRect ToPixels(const QFontMetrics& fm, int x, int y, int cx, int cy) {
  const int bx = std::max(1, fm.averageCharWidth());
  const int by = std::max(1, fm.height());
  return QRect(x * bx / 4, y * by / 8, cx * bx / 4, cy * by / 8);
}

}  // namespace

HRESULT COlePropertyPage::Activate(QWidget* parent) {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  Deactivate();
  auto* page = new QWidget(parent);
  page->setObjectName("propertyPage");
  const QFont font = DialogFont(dialog_);
  page->setFont(font);
  const QFontMetrics fm(font);
  page->resize(ToPixels(fm, 0, 0, dialog_.cx, dialog_.cy).size());
  for (const DialogItem& item : dialog_.items) {
    QWidget* w = nullptr;
    const QString text = QString::fromStdString(item.text);
    const QRect r = ToPixels(fm, item.x, item.y, item.cx, item.cy);
    switch (item.kind) {
      case DialogItemKind::GroupBox: w = new QGroupBox(text, page); break;
      case DialogItemKind::Label: w = new QLabel(text, page); break;
      case DialogItemKind::Edit: {
        auto* edit = new QLineEdit(page);
        const int id = item.id;
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] { Changed(id); });
        w = edit;
        break;
      }
      case DialogItemKind::DropDownList: {
        auto* combo = new QComboBox(page);
        combo->setEditable(false);
        for (const auto& [id, texts] : dialog_.comboItems)
          if (id == item.id)
            for (const std::string& t : texts) combo->addItem(QString::fromStdString(t));
        const int id = item.id;
        QObject::connect(combo, &QComboBox::activated, combo, [this, id] { Changed(id); });
        w = combo;
        break;
      }
    }
    if (item.id >= 0) w->setObjectName(QString("ctl%1").arg(item.id));
    // A drop-down list's height in the template is that of its open list.
    if (item.kind == DialogItemKind::DropDownList)
      w->setGeometry(r.x(), r.y(), r.width(), w->sizeHint().height());
    else
      w->setGeometry(r);
  }
  widget_ = page;
  changed_.clear();
  UpdateData(false);
  dirty_ = false;
  page->show();
  return S_OK;
}

HRESULT COlePropertyPage::Deactivate() {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  delete widget_.data();
  widget_ = nullptr;
  return S_OK;
}

HRESULT COlePropertyPage::GetPageInfo(PageInfo* info) {
  if (!info) return E_POINTER;
  info->title = caption_;
  const QFontMetrics fm(DialogFont(dialog_));
  info->size = ToPixels(fm, 0, 0, dialog_.cx, dialog_.cy).size();
  return S_OK;
}

HRESULT COlePropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT COlePropertyPage::Apply() {
  if (!OnUiThread()) return RPC_E_WRONG_THREAD;
  if (!dirty_) return S_OK;
  if (!UpdateData(true)) return E_FAIL;
  dirty_ = false;
  return S_OK;
}

QWidget* COlePropertyPage::Control(int id) const {
  if (!widget_) return nullptr;
  return widget_->findChild<QWidget*>(QString("ctl%1").arg(id));
}

void COlePropertyPage::Changed(int id) {
  changed_.insert(id);
  dirty_ = true;
}

bool COlePropertyPage::UpdateData(bool save) {
  if (!widget_) return false;
  CDataExchange dx(this, save);
  pending_.clear();
  DoDataExchange(&dx);
  pending_.clear();
  return !dx.failed;
}

void COlePropertyPage::ExchangeProperty(CDataExchange* dx, int id, int& member, std::string_view property) {
  if (dx->failed) return;
  if (dx->saveAndValidate) {
    pending_.push_back(Pending{id, &member, std::string(property)});
    return;
  }
  if (objects_.empty()) return;
  IDispatch* o = objects_.front();
  DISPID dispid = DISPID_UNKNOWN;
  if (Failed(o->GetIDsOfNames(property, &dispid))) return;
  Variant v;
  ExcepInfo excep;
  if (Failed(o->Invoke(dispid, DISPATCH_PROPERTYGET, {}, &v, &excep))) return;
  std::int32_t value = 0;
  if (Succeeded(v.ToI4(&value))) member = value;
}

void COlePropertyPage::DDP_CBIndex(CDataExchange* dx, int id, int& member, std::string_view property) {
  ExchangeProperty(dx, id, member, property);
}

void COlePropertyPage::DDP_Text(CDataExchange* dx, int id, int& member, std::string_view property) {
  ExchangeProperty(dx, id, member, property);
}

void COlePropertyPage::DDX_CBIndex(CDataExchange* dx, int id, int& member) {
  if (dx->failed) return;
  auto* combo = qobject_cast<QComboBox*>(Control(id));
  if (!combo) return;
  if (dx->saveAndValidate) member = combo->currentIndex();
  else combo->setCurrentIndex(member >= 0 && member < combo->count() ? member : -1);
}

void COlePropertyPage::DDX_Text(CDataExchange* dx, int id, int& member) {
  if (dx->failed) return;
  auto* edit = qobject_cast<QLineEdit*>(Control(id));
  if (!edit) return;
  if (!dx->saveAndValidate) {
    edit->setText(QString::number(member));
    return;
  }
  bool ok = false;
  const long long v = edit->text().trimmed().toLongLong(&ok);
  if (!ok || v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
    ShowMessageBox(BoxRequest{"", "Please enter an integer between -32768 and 32767.", BoxIcon::Exclamation,
                              BoxButtons::Ok});
    edit->setFocus();
    edit->selectAll();
    dx->failed = true;
    return;
  }
  member = static_cast<int>(v);
}

void COlePropertyPage::DDP_PostProcessing(CDataExchange* dx) {
  if (!dx->saveAndValidate || dx->failed) return;
  for (const Pending& p : pending_) {
    if (!changed_.count(p.id)) continue;
    for (IDispatch* o : objects_) {
      DISPID dispid = DISPID_UNKNOWN;
      HRESULT hr = o->GetIDsOfNames(p.property, &dispid);
      ExcepInfo excep;
      if (Succeeded(hr)) {
        const Variant arg = Variant::I4(*p.member);
        hr = o->Invoke(dispid, DISPATCH_PROPERTYPUT, std::span<const Variant>(&arg, 1), nullptr, &excep);
      }
      if (Failed(hr)) {
        const HRESULT err = ErrorOf(hr, excep);
        char code[16];
        std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(err));
        std::string text = excep.description.empty() ? "Error " + std::string(code) : excep.description;
        ShowMessageBox(BoxRequest{"", p.property + ": " + text, BoxIcon::Exclamation, BoxButtons::Ok});
        if (QWidget* w = Control(p.id)) w->setFocus();
        dx->failed = true;
        return;
      }
    }
    changed_.erase(p.id);
  }
}

}  // namespace plat::ax

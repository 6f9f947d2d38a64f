#pragma once
// CLedPropPage: the "General" page that edits the bevel styles and widths and the border width.

#include "platform/activex/prop_page.h"

namespace glimmet {

class CLedPropPage final : public plat::ax::COlePropertyPage {
 public:
  explicit CLedPropPage(plat::ax::COleControlModule& module);

 protected:
  void DoDataExchange(plat::ax::CDataExchange* dx) override;

 private:
  ~CLedPropPage() override = default;

  int innerStyle_ = -1;
  int innerWidth_ = 0;
  int outerStyle_ = -1;
  int outerWidth_ = 0;
  int borderWidth_ = 0;
};

}  // namespace glimmet

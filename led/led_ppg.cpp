#include "led/led_ppg.h"

#include "led/led_ids.h"
#include "led/led_resources.h"
#include "platform/activex/module.h"

namespace glimmet {

CLedPropPage::CLedPropPage(plat::ax::COleControlModule& module)
    : COlePropertyPage(module, PropPageDialog(), module.LoadString(IDS_LED_PPG_CAPTION)) {}

void CLedPropPage::DoDataExchange(plat::ax::CDataExchange* dx) {
  DDP_CBIndex(dx, IDC_INNER_STYLE, innerStyle_, "BevelInner");
  DDX_CBIndex(dx, IDC_INNER_STYLE, innerStyle_);
  DDP_Text(dx, IDC_INNER_WIDTH, innerWidth_, "BevelWidthInner");
  DDX_Text(dx, IDC_INNER_WIDTH, innerWidth_);
  DDP_CBIndex(dx, IDC_OUTER_STYLE, outerStyle_, "BevelOuter");
  DDX_CBIndex(dx, IDC_OUTER_STYLE, outerStyle_);
  DDP_Text(dx, IDC_OUTER_WIDTH, outerWidth_, "BevelWidthOuter");
  DDX_Text(dx, IDC_OUTER_WIDTH, outerWidth_);
  DDP_Text(dx, IDC_BORDER_WIDTH, borderWidth_, "BorderWidth");
  DDX_Text(dx, IDC_BORDER_WIDTH, borderWidth_);
  DDP_PostProcessing(dx);
}

}  // namespace glimmet

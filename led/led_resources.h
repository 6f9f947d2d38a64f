#pragma once
// The library's resources: strings, the property page's dialog, and the resource table with the
// toolbox picture, the version information and the type library.

#include <string>
#include <string_view>

#include "platform/activex/module.h"
#include "platform/activex/prop_page.h"

namespace glimmet {

// A value of the version resource ("FileDescription", "ProductName", ...); empty when it has none.
std::string VersionValue(std::string_view key);

// Puts the string table and the type library (parsed from the resource table) into the module.
void LoadResources(plat::ax::COleControlModule& module);
plat::ax::DialogTemplate PropPageDialog();

}  // namespace glimmet

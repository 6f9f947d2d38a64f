#pragma once
// The library's resources: strings, the property page's dialog, the type library and the version.

#include "platform/activex/module.h"
#include "platform/activex/prop_page.h"

namespace glimmet {

struct VersionInfo {
  const char* fileVersion;
  const char* productVersion;
  const char* fileDescription;
  const char* internalName;
  const char* productName;
  const char* originalFilename;
};
const VersionInfo& Version();

// Puts the string table and the type library into the module.
void LoadResources(plat::ax::COleControlModule& module);
plat::ax::DialogTemplate PropPageDialog();

}  // namespace glimmet

#pragma once
// The lamp control's identity: the contract between the library, its hosts and the program.

#include <cstdint>

#include "platform/com/guid.h"

namespace glimmet {

using plat::com::Guid;

inline constexpr plat::com::CLSID CLSID_LED = Guid("{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr plat::com::IID IID_DLED = Guid("{3B9C41F0-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr plat::com::IID IID_DLEDEvents = Guid("{3B9C41F1-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr plat::com::GUID LIBID_LedLib = Guid("{3B9C41F2-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr plat::com::CLSID CLSID_LedPropPage = Guid("{3B9C41F3-0FF1-4DDF-8132-D472FDB12FE7}");
inline constexpr plat::com::CLSID CLSID_StockColorPage = Guid("{0BE35201-8F91-11CE-9DE3-00AA004BB851}");
inline constexpr std::uint16_t kLedLibMajor = 2;
inline constexpr std::uint16_t kLedLibMinor = 0;

inline constexpr const char* kLedProgId = "Pendrel.LED";
inline constexpr const char* kLedPropPageProgId = "Pendrel.LED.PropPage";

// OLEMISC: recompose on resize, cannot link inside, inside-out, activate when visible, set
// client site first.
inline constexpr std::uint32_t kLedMiscStatus = 0x20191;

// Stream persistence version 2.0.
inline constexpr std::uint32_t kLedPersistVersion = 0x00020000;
inline constexpr std::size_t kLedBlockSize = 48;

enum BevelConstants : std::int16_t {
  pnBevelNone = 0,
  pnBevelRaised = 1,
  pnBevelInset = 2,
  pnBevelLowered = 3,
  pnBevelSolid = 4,
};

enum ShapeConstants : std::int16_t {
  pnShapeRectangle = 0,
  pnShapeEllipse = 1,
};

// Dispatch ids of _DLED.
enum LedDispId : std::int32_t {
  dispidBevelInner = 1,
  dispidBevelShapeInner = 2,
  dispidBevelOuter = 3,
  dispidBevelShapeOuter = 4,
  dispidBevelWidthOuter = 5,
  dispidBevelWidthInner = 6,
  dispidBorderWidth = 7,
  dispidDisabledColor = 8,
  dispidOffColor = 9,
  dispidOnColor = 10,
  dispidValue = 11,
  dispidVersion = 12,
};

// Resource ids.
inline constexpr int IDS_LED = 1;
inline constexpr int IDS_LED_PPG = 2;
inline constexpr int IDS_LED_PPG_CAPTION = 101;
inline constexpr int IDB_LED = 1;
inline constexpr int IDD_PROPPAGE_LED = 101;
inline constexpr int IDC_OUTER_STYLE = 201;
inline constexpr int IDC_INNER_STYLE = 202;
inline constexpr int IDC_OUTER_WIDTH = 206;
inline constexpr int IDC_BORDER_WIDTH = 208;
inline constexpr int IDC_INNER_WIDTH = 210;

}  // namespace glimmet

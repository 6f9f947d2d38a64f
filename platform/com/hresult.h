#pragma once
// Result codes of the small COM layer: the HRESULT values the lamp library, its host and the
// registration tool hand each other. Negative values are failures.

#include <cstdint>

namespace plat::com {

using HRESULT = std::int32_t;

constexpr HRESULT MakeHr(std::uint32_t bits) { return static_cast<HRESULT>(bits); }
constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;

inline constexpr HRESULT E_NOTIMPL = MakeHr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHr(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHr(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHr(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeHr(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHr(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHr(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHr(0x80040154);
inline constexpr HRESULT REGDB_E_WRITEREGDB = MakeHr(0x80040151);
inline constexpr HRESULT SELFREG_E_TYPELIB = MakeHr(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = MakeHr(0x80040201);
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeHr(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeHr(0x800401F9);
inline constexpr HRESULT RPC_E_WRONG_THREAD = MakeHr(0x8001010E);
inline constexpr HRESULT STG_E_READFAULT = MakeHr(0x8003001E);

inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHr(0x80020003);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHr(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHr(0x80020006);
inline constexpr HRESULT DISP_E_EXCEPTION = MakeHr(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeHr(0x8002000A);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHr(0x8002000E);
inline constexpr HRESULT TYPE_E_REGISTRYACCESS = MakeHr(0x8002801C);

// Automation errors a control raises; they reach the caller as the scode of DISP_E_EXCEPTION.
inline constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = MakeHr(0x800A017C);  // 380
inline constexpr HRESULT CTL_E_SETNOTSUPPORTEDATRUNTIME = MakeHr(0x800A017E);  // 382
inline constexpr HRESULT CTL_E_SETNOTSUPPORTED = MakeHr(0x800A017F);  // 383

}  // namespace plat::com

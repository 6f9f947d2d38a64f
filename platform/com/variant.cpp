#include "platform/com/variant.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace plat::com {

namespace {

bool EqualsNoCase(const std::string& a, const char* b) {
  const std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != b[i]) return false;
  }
  return true;
}

// Whole decimal integer with optional sign and surrounding blanks.
HRESULT ParseInteger(const std::string& text, std::int64_t* out) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos) return DISP_E_TYPEMISMATCH;
  const char* b = text.data() + first;
  const char* e = text.data() + last + 1;
  if (*b == '+') ++b;
  if (b == e) return DISP_E_TYPEMISMATCH;
  std::int64_t v = 0;
  const auto [p, ec] = std::from_chars(b, e, v);
  if (ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (ec != std::errc() || p != e) return DISP_E_TYPEMISMATCH;
  *out = v;
  return S_OK;
}

}  // namespace

HRESULT Variant::ToI64(std::int64_t* out) const {
  switch (type_) {
    case VarType::Empty: *out = 0; return S_OK;
    case VarType::I2:
    case VarType::I4: *out = number_; return S_OK;
    case VarType::Bool: *out = number_ ? -1 : 0; return S_OK;
    case VarType::Text:
      if (EqualsNoCase(text_, "true")) { *out = -1; return S_OK; }
      if (EqualsNoCase(text_, "false")) { *out = 0; return S_OK; }
      return ParseInteger(text_, out);
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT Variant::ToI2(std::int16_t* out) const {
  std::int64_t v = 0;
  if (const HRESULT hr = ToI64(&v); Failed(hr)) return hr;
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
    return DISP_E_OVERFLOW;
  *out = static_cast<std::int16_t>(v);
  return S_OK;
}

HRESULT Variant::ToI4(std::int32_t* out) const {
  std::int64_t v = 0;
  if (const HRESULT hr = ToI64(&v); Failed(hr)) return hr;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    return DISP_E_OVERFLOW;
  *out = static_cast<std::int32_t>(v);
  return S_OK;
}

HRESULT Variant::ToBool(bool* out) const {
  std::int64_t v = 0;
  if (const HRESULT hr = ToI64(&v); Failed(hr)) return hr;
  *out = v != 0;
  return S_OK;
}

HRESULT Variant::ToText(std::string* out) const {
  switch (type_) {
    case VarType::Empty: out->clear(); return S_OK;
    case VarType::I2:
    case VarType::I4: *out = std::to_string(number_); return S_OK;
    case VarType::Bool: *out = number_ ? "True" : "False"; return S_OK;
    case VarType::Text: *out = text_; return S_OK;
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT Variant::ChangeType(VarType type, Variant* out) const {
  switch (type) {
    case VarType::Empty: *out = Variant(); return S_OK;
    case VarType::I2: {
      std::int16_t v = 0;
      const HRESULT hr = ToI2(&v);
      if (Succeeded(hr)) *out = I2(v);
      return hr;
    }
    case VarType::I4: {
      std::int32_t v = 0;
      const HRESULT hr = ToI4(&v);
      if (Succeeded(hr)) *out = I4(v);
      return hr;
    }
    case VarType::Bool: {
      bool v = false;
      const HRESULT hr = ToBool(&v);
      if (Succeeded(hr)) *out = Bool(v);
      return hr;
    }
    case VarType::Text: {
      std::string v;
      const HRESULT hr = ToText(&v);
      if (Succeeded(hr)) *out = Text(std::move(v));
      return hr;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

}  // namespace plat::com

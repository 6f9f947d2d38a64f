#pragma once
// The small variant that automation calls carry: empty, 16- and 32-bit integers, boolean and
// byte-string text. Conversions follow the automation rules the callers expect: booleans are
// -1 (true) and 0, text converts to numbers only when it is a whole decimal number, and a value
// that does not fit the target type fails with DISP_E_OVERFLOW instead of wrapping.

#include <cstdint>
#include <string>

#include "platform/com/hresult.h"

namespace plat::com {

enum class VarType : std::uint16_t { Empty = 0, I2 = 2, I4 = 3, Text = 8, Bool = 11 };

using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

class Variant {
 public:
  Variant() = default;
  static Variant I2(std::int16_t v) { return Variant(VarType::I2, v, {}); }
  static Variant I4(std::int32_t v) { return Variant(VarType::I4, v, {}); }
  static Variant Bool(bool v) { return Variant(VarType::Bool, v ? 1 : 0, {}); }
  static Variant Text(std::string v) { return Variant(VarType::Text, 0, std::move(v)); }

  VarType type() const { return type_; }
  bool empty() const { return type() == VarType::Empty; }

  // Conversions; on failure the output is left alone and the failure code returned.
  HRESULT ToI2(std::int16_t* out) const;
  HRESULT ToI4(std::int32_t* out) const;
  HRESULT ToBool(bool* out) const;
  HRESULT ToText(std::string* out) const;
  // Converts into a variant of `type` (Empty gives an empty variant).
  HRESULT ChangeType(VarType type, Variant* out) const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  Variant(VarType type, std::int32_t number, std::string text)
      : type_(type), number_(number), text_(std::move(text)) {}
  HRESULT ToI64(std::int64_t* out) const;
  // The number of I2, I4 and Bool (1 or 0); the text of Text.
  VarType type_ = VarType::Empty;
  std::int32_t number_ = 0;
  std::string text_;
};

}  // namespace plat::com

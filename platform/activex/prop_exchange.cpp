#include "platform/activex/prop_exchange.h"

#include <cstring>

namespace plat::ax {

bool CPropExchange::Uint(std::uint64_t* value, std::size_t n) {
  std::uint8_t bytes[8] = {};
  if (!IsLoading())
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(*value >> (8 * i));
  if (failed_ || !Bytes(bytes, n)) {
    failed_ = true;
    return false;
  }
  if (IsLoading()) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= std::uint64_t{bytes[i]} << (8 * i);
    *value = v;
  }
  return true;
}

bool CPropExchange::ExchangeVersion(std::uint32_t* loaded, std::uint32_t version) {
  std::uint64_t v = version;
  if (!Uint(&v, 4)) return false;
  if (IsLoading() && Commits() && loaded) *loaded = static_cast<std::uint32_t>(v);
  return true;
}

bool CPropExchange::PX_ULong(std::string_view, std::uint32_t& value) {
  std::uint64_t v = value;
  if (!Uint(&v, 4)) return false;
  if (IsLoading() && Commits()) value = static_cast<std::uint32_t>(v);
  return true;
}

bool CPropExchange::PX_Long(std::string_view name, std::int32_t& value) {
  std::uint32_t u = static_cast<std::uint32_t>(value);
  if (!PX_ULong(name, u)) return false;
  if (IsLoading() && Commits()) value = static_cast<std::int32_t>(u);
  return true;
}

bool CPropExchange::PX_Short(std::string_view, std::int16_t& value) {
  std::uint64_t v = static_cast<std::uint16_t>(value);
  if (!Uint(&v, 2)) return false;
  if (IsLoading() && Commits()) value = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
  return true;
}

bool CPropExchange::PX_ULongLocal(std::string_view, std::uint32_t& value) {
  std::uint64_t v = value;
  if (!Uint(&v, 4)) return false;
  if (IsLoading()) value = static_cast<std::uint32_t>(v);
  return true;
}

bool CPropExchange::PX_Color(std::string_view name, std::uint32_t& value) { return PX_ULong(name, value); }

bool CPropExchange::PX_Bool(std::string_view, bool& value) {
  std::uint64_t v = value ? 1 : 0;
  if (!Uint(&v, 1)) return false;
  if (IsLoading() && Commits()) value = v != 0;
  return true;
}

bool StreamWriter::Bytes(std::uint8_t* data, std::size_t n) {
  data_.insert(data_.end(), data, data + n);
  return true;
}

bool StreamReader::Bytes(std::uint8_t* data, std::size_t n) {
  if (n > data_.size() - pos_) return false;
  std::memcpy(data, data_.data() + pos_, n);
  pos_ += n;
  return true;
}

}  // namespace plat::ax

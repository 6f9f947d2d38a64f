#pragma once
// Property exchange: one routine of a control (DoPropExchange) serves saving and loading. The
// stream medium stores every value little-endian, byte by byte, in exchange order; names are
// kept for media keyed by name.
//
// Loading runs twice: a checking pass that reads without storing anything, and, only when every
// read succeeded, a committing pass. A short or malformed stream therefore changes nothing.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace plat::ax {

class CPropExchange {
 public:
  virtual ~CPropExchange() = default;
  virtual bool IsLoading() const = 0;

  // Loading: reads the stored version into *loaded. Saving: writes `version`.
  bool ExchangeVersion(std::uint32_t* loaded, std::uint32_t version);
  bool PX_Long(std::string_view name, std::int32_t& value);
  bool PX_ULong(std::string_view name, std::uint32_t& value);
  bool PX_Short(std::string_view name, std::int16_t& value);
  bool PX_Color(std::string_view name, std::uint32_t& value);
  // One byte; any non-zero byte loads as true.
  bool PX_Bool(std::string_view name, bool& value);
  // A value the exchange routine itself inspects (a mask, a count): loading stores it even
  // while only checking the stream.
  bool PX_ULongLocal(std::string_view name, std::uint32_t& value);

  // Marks the exchange as failed (a malformed value); nothing is committed.
  void Fail() { failed_ = true; }
  bool Failed() const { return failed_; }
  // False while a loading exchange only checks the stream.
  virtual bool Commits() const { return true; }

 protected:
  virtual bool Bytes(std::uint8_t* data, std::size_t n) = 0;  // read into or write from
  bool failed_ = false;

 private:
  bool Uint(std::uint64_t* value, std::size_t n);
};

class StreamWriter final : public CPropExchange {
 public:
  bool IsLoading() const override { return false; }
  const std::vector<std::uint8_t>& Data() const { return data_; }

 protected:
  bool Bytes(std::uint8_t* data, std::size_t n) override;

 private:
  std::vector<std::uint8_t> data_;
};

// Reads a stream. With commit false nothing is stored into the exchanged variables.
class StreamReader final : public CPropExchange {
 public:
  StreamReader(std::span<const std::uint8_t> data, bool commit) : data_(data), commit_(commit) {}
  bool IsLoading() const override { return true; }
  bool Commits() const override { return commit_; }
  std::size_t Consumed() const { return pos_; }

 protected:
  bool Bytes(std::uint8_t* data, std::size_t n) override;

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool commit_;
};

}  // namespace plat::ax

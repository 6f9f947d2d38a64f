#pragma once
// A MIDI message as the instrument sees it: one byte per position, positions counted from 1
// (the F0 byte is position 1). Every read and write goes through the bounds-checked accessors,
// so a short or damaged reply can never be read past its end.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Thrown when a position lies outside the message; the error traps turn it into the usual box.
struct ByteRangeError : std::out_of_range {
  using std::out_of_range::out_of_range;
};

class Bytes {
 public:
  Bytes() = default;
  Bytes(std::initializer_list<std::uint8_t> init) : data_(init) {}
  explicit Bytes(std::vector<std::uint8_t> v) : data_(std::move(v)) {}
  Bytes(const std::uint8_t* p, std::size_t n) : data_(p, p + n) {}
  // Latin-1 style: one character per byte, as names are carried in messages.
  static Bytes FromText(std::string_view text) {
    return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }

  std::size_t size() const { return data_.size(); }
  bool empty() const { return data_.empty(); }
  void clear() { data_.clear(); }

  // 1-based access, as message layouts count positions.
  std::uint8_t at(std::size_t pos) const {
    if (pos < 1 || pos > data_.size())
      throw ByteRangeError("message position " + std::to_string(pos) + " outside 1.." + std::to_string(data_.size()));
    return data_[pos - 1];
  }
  void set(std::size_t pos, std::uint8_t value) {
    if (pos < 1 || pos > data_.size())
      throw ByteRangeError("message position " + std::to_string(pos) + " outside 1.." + std::to_string(data_.size()));
    data_[pos - 1] = value;
  }
  // Positions first..first+count-1, checked as a whole.
  Bytes mid(std::size_t first, std::size_t count) const {
    if (first < 1 || count > data_.size() || first - 1 > data_.size() - count)
      throw ByteRangeError("message range " + std::to_string(first) + "+" + std::to_string(count) + " outside 1.." +
                           std::to_string(data_.size()));
    return Bytes(data_.data() + first - 1, count);
  }

  Bytes& append(std::uint8_t b) { data_.push_back(b); return *this; }
  Bytes& append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); return *this; }
  Bytes& operator+=(const Bytes& other) { return append(other); }
  Bytes& operator+=(std::uint8_t b) { return append(b); }
  friend Bytes operator+(Bytes a, const Bytes& b) { return a.append(b); }

  const std::vector<std::uint8_t>& vec() const { return data_; }
  const std::uint8_t* data() const { return data_.data(); }
  std::string text() const { return std::string(data_.begin(), data_.end()); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::vector<std::uint8_t> data_;
};

// "F0 00 1B ..." for messages in test failures and traces.
std::string ToHex(const Bytes& b);

}  // namespace plat

#pragma once
// The start-up trace file: emptied on open; each Write appends one line of quoted texts separated
// by commas, ended by CR LF and flushed at once, so a crash keeps what was traced.

#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

namespace plat {

class TraceFile {
 public:
  // False (and nothing traced) when the file cannot be created.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const;
  void Write(std::string_view text);
  void Write(std::initializer_list<std::string_view> texts);

 private:
  std::ofstream out_;
};

}  // namespace plat

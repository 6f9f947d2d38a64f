// The start-up trace file writer.
#include "platform/ui/trace.h"

namespace plat {

bool TraceFile::Open(const std::string& path) {
  Close();
  out_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  return out_.is_open();
}

void TraceFile::Close() {
  if (out_.is_open()) out_.close();
  out_.clear();
}

bool TraceFile::IsOpen() const { return out_.is_open(); }

void TraceFile::Write(std::string_view text) { Write({text}); }

void TraceFile::Write(std::initializer_list<std::string_view> texts) {
  if (!out_.is_open()) return;
  bool first = true;
  for (std::string_view text : texts) {
    if (!first) out_ << ',';
    first = false;
    out_ << '"' << text << '"';
  }
  out_ << "\r\n";
  out_.flush();
}

}  // namespace plat

#include "platform/registry/hive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

namespace plat::reg::detail {
namespace {

constexpr std::string_view kHeader = "TAVORO-REGISTRY 1\n";
constexpr std::string_view kTrailer = "END\n";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendCounted(std::string& out, std::string_view bytes) {
  out += std::to_string(bytes.size());
  out += ':';
  out.append(bytes);
}

void SerializeKey(const Key& key, const std::string& path, bool isRoot, std::string& out) {
  // The root is written only when it holds values; every other key always, so empty keys stay.
  if (!isRoot || !key.values.empty()) {
    out += "K ";
    AppendCounted(out, path);
    out += '\n';
    for (const Value& v : key.values) {
      out += "V ";
      AppendCounted(out, v.name);
      out += ' ';
      out += std::to_string(v.type);
      out += ' ';
      AppendCounted(out, v.data);
      out += '\n';
    }
  }
  for (const Key& sub : key.subkeys) SerializeKey(sub, isRoot ? sub.name : path + "\\" + sub.name, false, out);
}

// A cursor over the file text; every read is checked against the end.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ == text_.size(); }
  bool Literal(std::string_view s) {
    if (text_.substr(pos_, s.size()) != s) return false;
    pos_ += s.size();
    return true;
  }
  bool Number(std::uint64_t max, std::uint64_t* out) {
    std::uint64_t value = 0;
    std::size_t digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      if (++digits > 10) return false;
      value = value * 10 + static_cast<std::uint64_t>(text_[pos_] - '0');
      ++pos_;
    }
    if (digits == 0 || value > max) return false;
    *out = value;
    return true;
  }
  bool Counted(std::string_view* out) {
    std::uint64_t n = 0;
    if (!Number(text_.size(), &n) || !Literal(":")) return false;
    if (n > text_.size() - pos_) return false;
    *out = text_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Reports each damaged file once per process, however often it is met.
void ReportDamage(const std::string& path, const std::string& movedTo) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard lock(mutex);
  if (!reported.insert(path + "\n" + movedTo).second) return;
  if (movedTo.empty()) {
    std::fprintf(stderr, "tavoro: the settings file %s is damaged and could not be moved aside; reading it as empty\n",
                 path.c_str());
  } else {
    std::fprintf(stderr, "tavoro: the settings file %s was damaged; moved it to %s and started empty\n", path.c_str(),
                 movedTo.c_str());
  }
}

bool ReadWhole(int fd, std::string* out) {
  out->clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    out->append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteWhole(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool MakeDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = dir.find('/', pos + 1);
    std::string part = dir.substr(0, pos);
    if (part.empty()) continue;
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// An exclusive flock on "<hive>.lock", held for the life of the object.
class FileLock {
 public:
  explicit FileLock(const std::string& hivePath) {
    if (!MakeDirectories(DirectoryOf(hivePath))) return;
    std::string lockPath = hivePath + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

Key* Key::FindSubkey(std::string_view n) {
  for (Key& k : subkeys)
    if (SameName(k.name, n)) return &k;
  return nullptr;
}
const Key* Key::FindSubkey(std::string_view n) const { return const_cast<Key*>(this)->FindSubkey(n); }

Value* Key::FindValue(std::string_view n) {
  for (Value& v : values)
    if (SameName(v.name, n)) return &v;
  return nullptr;
}
const Value* Key::FindValue(std::string_view n) const { return const_cast<Key*>(this)->FindValue(n); }

Key* Key::Find(const std::vector<std::string>& path) {
  Key* key = this;
  for (const std::string& part : path) {
    key = key->FindSubkey(part);
    if (key == nullptr) return nullptr;
  }
  return key;
}
const Key* Key::Find(const std::vector<std::string>& path) const { return const_cast<Key*>(this)->Find(path); }

Key& Key::Make(const std::vector<std::string>& path, bool* created) {
  Key* key = this;
  bool made = false;
  for (const std::string& part : path) {
    Key* next = key->FindSubkey(part);
    made = next == nullptr;
    if (made) {
      key->subkeys.push_back(Key{part, {}, {}});
      next = &key->subkeys.back();
    }
    key = next;
  }
  if (created != nullptr) *created = made;
  return *key;
}

std::optional<std::vector<std::string>> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (end - start > kMaxKeyNameLength || parts.size() >= kMaxKeyDepth) return std::nullopt;
      parts.emplace_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return parts;
}

std::string Serialize(const Key& root) {
  std::string out(kHeader);
  SerializeKey(root, std::string(), true, out);
  out += kTrailer;
  return out;
}

std::optional<Key> Parse(std::string_view text) {
  Reader in(text);
  if (!in.Literal(kHeader)) return std::nullopt;
  Key root;
  Key* current = nullptr;
  for (;;) {
    if (in.Literal(kTrailer)) return in.AtEnd() ? std::optional<Key>(std::move(root)) : std::nullopt;
    if (in.Literal("K ")) {
      std::string_view path;
      if (!in.Counted(&path) || !in.Literal("\n")) return std::nullopt;
      auto parts = SplitPath(path);
      if (!parts) return std::nullopt;
      bool created = false;
      current = &root.Make(*parts, &created);
      // A key named twice means the file was not written by us.
      if (!created && !parts->empty()) return std::nullopt;
      if (parts->empty() && !current->values.empty()) return std::nullopt;
      continue;
    }
    if (in.Literal("V ")) {
      std::string_view name, data;
      std::uint64_t type = 0;
      if (current == nullptr || !in.Counted(&name) || !in.Literal(" ") || !in.Number(0xFFFFFFFFu, &type) ||
          !in.Literal(" ") || !in.Counted(&data) || !in.Literal("\n"))
        return std::nullopt;
      if (name.size() > kMaxValueNameLength || current->FindValue(name) != nullptr) return std::nullopt;
      current->values.push_back(Value{std::string(name), static_cast<std::uint32_t>(type), std::string(data)});
      continue;
    }
    return std::nullopt;
  }
}

std::optional<Key> HiveFile::Load(bool* damaged) const {
  *damaged = false;
  int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Key{};
    *damaged = true;  // present but unreadable
    return std::nullopt;
  }
  std::string text;
  bool ok = ReadWhole(fd, &text);
  ::close(fd);
  if (!ok) {
    *damaged = true;
    return std::nullopt;
  }
  std::optional<Key> root = Parse(text);
  if (!root) *damaged = true;
  return root;
}

Key HiveFile::LoadRepairing() const {
  bool damaged = false;
  std::optional<Key> root = Load(&damaged);
  if (root) return std::move(*root);
  const auto stamp = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
  std::string aside = path_ + ".damaged-" + std::to_string(stamp);
  if (::rename(path_.c_str(), aside.c_str()) != 0) aside.clear();
  ReportDamage(path_, aside);
  return Key{};
}

Key HiveFile::Read() const {
  bool damaged = false;
  std::optional<Key> root = Load(&damaged);
  if (root) return std::move(*root);
  // Look again under the lock before moving anything: a writer may have just replaced it.
  FileLock lock(path_);
  if (!lock.held()) {
    ReportDamage(path_, std::string());
    return Key{};
  }
  return LoadRepairing();
}

bool HiveFile::Modify(const std::function<bool(Key&)>& change) const {
  FileLock lock(path_);
  if (!lock.held()) return false;
  Key root = LoadRepairing();
  if (!change(root)) return true;
  const std::string text = Serialize(root);
  const std::string temp = path_ + ".tmp." + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteWhole(fd, text) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), path_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace plat::reg::detail

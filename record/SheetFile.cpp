#include "record/SheetFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/Cp1250.h"
#include "game/ZnError.h"

namespace zn {

namespace {

// The file name for the error box, which shows cp1250: UTF-8 letters the code page lacks become "?".
std::string ShownName(const std::string& path) {
  std::string out;
  for (std::size_t i = 0; i < path.size();) {
    const auto c = static_cast<unsigned char>(path[i]);
    const int extra = c < 0x80             ? 0
                      : (c & 0xE0) == 0xC0 ? 1
                      : (c & 0xF0) == 0xE0 ? 2
                      : (c & 0xF8) == 0xF0 ? 3
                                           : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= path.size()) {
      out += '?';
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(path[i + k]) & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    char byte = '?';
    for (int b = 0; b < 256; ++b)
      if (kCp1250ToUnicode[static_cast<std::size_t>(b)] == cp) byte = static_cast<char>(b);
    out += byte;
  }
  return out;
}

[[noreturn]] void Fail(const std::string& path, int err) {
  throw EZnError("Cannot create file \"" + ShownName(path) + "\". " + std::strerror(err));
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void WriteSheet(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";

  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(path, errno);
  }
  if (fd < 0) Fail(path, EEXIST);

  int err = 0;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) err = errno ? errno : EIO;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    Fail(path, err);
  }
}

}  // namespace zn

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

// The file name for the error box, which shows cp1250.
[[noreturn]] void Fail(const std::string& path, int err) {
  throw EZnError("Cannot create file \"" + Utf8ToCp1250(path) + "\". " + std::strerror(err));
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

#include "record/SheetFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/Cp1250.h"
#include "game/LinkTarget.h"
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

  // A symbolic link is written through to its target, so the link stays a link.
  std::string target;
  if (const int err = LinkTarget(path, target)) Fail(path, err);
  // A file that may not be written is refused, read-only mark included (the settings writer's
  // rule): the rename would otherwise replace it, since only the folder's rights count for that.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISREG(old.st_mode) && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
    Fail(path, EACCES);

  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(path, errno);
  }
  if (fd < 0) Fail(path, EEXIST);

  int err = 0;
  if (exists && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);  // the old file's mode stays
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) err = errno ? errno : EIO;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    Fail(path, err);
  }
}

}  // namespace zn

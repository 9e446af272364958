#include "game/LinkTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zn {

int LinkTarget(const std::string& path, std::string& target) {
  std::string at = path;
  target.clear();
  for (int hops = 0; hops < 40; ++hops) {  // the system's own limit of links followed
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = at;
      return 0;
    }
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = ::readlink(at.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= link.size()) return ENAMETOOLONG;
    link.resize(static_cast<std::size_t>(n));
    const std::size_t slash = at.rfind('/');
    at = link.front() == '/' || slash == std::string::npos ? link : at.substr(0, slash + 1) + link;
  }
  return ELOOP;
}

}  // namespace zn

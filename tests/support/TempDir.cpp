#include "tests/support/TempDir.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

namespace zn::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "zn-test-XXXXXX").string();
  path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
}

TempDir::~TempDir() {
  std::error_code ec;
  if (path_.empty()) return;
  // A test may have taken the permissions away; give them back so everything can go.
  for (const auto& e : std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ec))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::Names() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zn::test

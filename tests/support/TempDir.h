// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes.
#pragma once

#include <string>
#include <vector>

namespace zn::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // The names in the directory, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

}  // namespace zn::test

// The copy that brings an old settings file over: plain files are copied unchanged, files in the
// Windows compressed-file format ("SZDD") are expanded.
#pragma once

#include <string>

namespace zn {

// Copies source to dest, expanding the compressed-file format; throws EZnError on failure.
void ExpandCopy(const std::string& source, const std::string& dest);

// The result codes of the expander; every negative one is turned into an error.
enum class TExpandResult : int {
  Ok = 0,
  CannotOpen = -1,
  CannotCreate = -2,
  BadFormat = -3,
  DiskFull = -4,
  NoMemory = -5,
  BadHandle = -6,
  BadParameter = -7,
  UnknownCompression = -8,
};

// The message of the error raised for a negative result code.
std::string ExpandErrorText(int code, const std::string& source, const std::string& dest);

}  // namespace zn

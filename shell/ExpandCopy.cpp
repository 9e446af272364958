#include "shell/ExpandCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "game/ZnError.h"

namespace zn {

namespace {

constexpr std::array<unsigned char, 8> kSzddMagic = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
// The other compressed format of the same family; we do not expand it.
constexpr std::array<unsigned char, 8> kKwajMagic = {'K', 'W', 'A', 'J', 0x88, 0xF0, 0x27, 0xD1};
// Magic, mode 'A', the missing last character of the name, 32-bit uncompressed length.
constexpr std::size_t kSzddHeader = 14;
constexpr std::size_t kWindowSize = 4096;
constexpr std::size_t kBufferSize = 1 << 16;

// Thrown inside this file only; ExpandCopy turns it into the error with its message.
struct Failure {
  TExpandResult code;
};

class Reader {
 public:
  explicit Reader(const std::string& path) : buffer_(kBufferSize) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode))) {
      ::close(fd_);
      fd_ = -1;
    }
    if (fd_ < 0) throw Failure{TExpandResult::CannotOpen};
  }
  ~Reader() {
    if (fd_ >= 0) ::close(fd_);
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // The next byte, or -1 at the end of the file.
  int Next() {
    if (pos_ == len_ && !Fill()) return -1;
    return buffer_[pos_++];
  }
  // Whatever is buffered (reading more when the buffer is empty); empty at the end of the file.
  std::span<const unsigned char> TakeChunk() {
    if (pos_ == len_ && !Fill()) return {};
    std::span<const unsigned char> chunk(buffer_.data() + pos_, len_ - pos_);
    pos_ = len_;
    return chunk;
  }
  // Reads up to n bytes from the front without consuming them; fewer only at the end of the file.
  std::span<const unsigned char> Peek(std::size_t n) {
    while (len_ - pos_ < n) {
      if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, len_ - pos_);
        len_ -= pos_;
        pos_ = 0;
      }
      const ssize_t got = ReadMore();
      if (got == 0) break;
    }
    return {buffer_.data() + pos_, std::min(n, len_ - pos_)};
  }
  void Skip(std::size_t n) { pos_ += std::min(n, len_ - pos_); }

 private:
  bool Fill() {
    pos_ = len_ = 0;
    return ReadMore() > 0;
  }
  ssize_t ReadMore() {
    ssize_t got;
    do got = ::read(fd_, buffer_.data() + len_, buffer_.size() - len_);
    while (got < 0 && errno == EINTR);
    if (got < 0) throw Failure{TExpandResult::BadFormat};
    len_ += static_cast<std::size_t>(got);
    return got;
  }

  int fd_ = -1;
  std::vector<unsigned char> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
};

// Writes a temporary file beside the destination and renames it into place only when everything
// was written, so a failed copy never leaves a half-written file where a good one was.
class Writer {
 public:
  explicit Writer(const std::string& dest) : dest_(dest) {
    if (dest.empty()) throw Failure{TExpandResult::CannotCreate};
    buffer_.reserve(kBufferSize);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      temp_ = dest + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) throw Failure{TExpandResult::CannotCreate};
  }
  ~Writer() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Put(unsigned char b) {
    if (buffer_.size() == kBufferSize) Flush();
    buffer_.push_back(b);
  }
  void Write(std::span<const unsigned char> bytes) {
    Flush();
    WriteAll(bytes);
  }
  void Commit() {
    Flush();
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(dest_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd_, st.st_mode & 07777);
    if (::fsync(fd_) != 0) throw Failure{TExpandResult::DiskFull};
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw Failure{TExpandResult::DiskFull};
    if (::rename(temp_.c_str(), dest_.c_str()) != 0) throw Failure{TExpandResult::CannotCreate};
    committed_ = true;
  }

 private:
  void Flush() {
    WriteAll(buffer_);
    buffer_.clear();
  }
  void WriteAll(std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw Failure{TExpandResult::DiskFull};
      bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
  }

  std::string dest_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
  std::vector<unsigned char> buffer_;
};

// LZSS: a flag byte announces eight items, lowest bit first; a set bit is one literal byte, a clear
// bit a two-byte reference into the last 4096 bytes. Every window index is masked, so corrupt
// references read stale window bytes but never leave the window.
void ExpandSzdd(Reader& in, Writer& out, std::uint32_t length) {
  std::array<unsigned char, kWindowSize> window;
  window.fill(' ');
  std::size_t pos = kWindowSize - 16;
  std::uint64_t written = 0;
  const auto emit = [&](unsigned char b) {
    out.Put(b);
    window[pos] = b;
    pos = (pos + 1) & (kWindowSize - 1);
    ++written;
  };
  const auto next = [&in] {
    const int b = in.Next();
    // The data ends before the length the header promises: the file is cut short.
    if (b < 0) throw Failure{TExpandResult::BadFormat};
    return static_cast<unsigned char>(b);
  };
  while (written < length) {
    const unsigned flags = next();
    for (int bit = 0; bit < 8 && written < length; ++bit) {
      if (flags & (1u << bit)) {
        emit(next());
        continue;
      }
      const unsigned lo = next();
      const unsigned hi = next();
      const std::size_t offset = lo | ((hi & 0xF0u) << 4);
      const unsigned count = (hi & 0x0Fu) + 3;
      for (unsigned k = 0; k < count && written < length; ++k) emit(window[(offset + k) & (kWindowSize - 1)]);
    }
  }
}

bool StartsWith(std::span<const unsigned char> head, const std::array<unsigned char, 8>& magic) {
  return head.size() >= magic.size() && std::equal(magic.begin(), magic.end(), head.begin());
}

void Copy(const std::string& source, const std::string& dest) {
  Reader in(source);
  const std::span<const unsigned char> head = in.Peek(kSzddHeader);
  if (StartsWith(head, kKwajMagic)) throw Failure{TExpandResult::UnknownCompression};
  const bool compressed = StartsWith(head, kSzddMagic);
  if (compressed && (head.size() < kSzddHeader || head[8] != 'A')) throw Failure{TExpandResult::BadFormat};
  std::uint32_t length = 0;
  if (compressed)
    length = static_cast<std::uint32_t>(head[10]) | static_cast<std::uint32_t>(head[11]) << 8 |
             static_cast<std::uint32_t>(head[12]) << 16 | static_cast<std::uint32_t>(head[13]) << 24;

  Writer out(dest);
  if (compressed) {
    in.Skip(kSzddHeader);
    ExpandSzdd(in, out, length);
  } else {
    for (auto chunk = in.TakeChunk(); !chunk.empty(); chunk = in.TakeChunk()) out.Write(chunk);
  }
  out.Commit();
}

}  // namespace

std::string ExpandErrorText(int code, const std::string& source, const std::string& dest) {
  switch (static_cast<TExpandResult>(code)) {
    case TExpandResult::CannotOpen:
      return "Cannot open " + source;
    case TExpandResult::CannotCreate:
      return "Cannot create " + dest;
    case TExpandResult::BadFormat:
      return source + " file format is not valid";
    case TExpandResult::DiskFull:
      return "Insufficient disk space";
    case TExpandResult::NoMemory:
      return "Insufficient memory";
    case TExpandResult::BadHandle:
      return "Internal data structure handle invalid";
    case TExpandResult::BadParameter:
      return "Input parameter is out of range";
    case TExpandResult::UnknownCompression:
      return source + " file unrecognized compression";
    case TExpandResult::Ok:
      break;
  }
  return "Unknown error";
}

void ExpandCopy(const std::string& source, const std::string& dest) {
  int code = 0;
  try {
    Copy(source, dest);
  } catch (const Failure& f) {
    code = static_cast<int>(f.code);
  } catch (const std::bad_alloc&) {
    code = static_cast<int>(TExpandResult::NoMemory);
  }
  if (code < 0) throw EZnError(ExpandErrorText(code, source, dest));
}

}  // namespace zn

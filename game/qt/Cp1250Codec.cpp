#include "game/qt/Cp1250Codec.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

#include "game/Cp1250.h"

namespace zn {

namespace {

constexpr const char* kCodec = "windows-1250";
// What the ICU codec writes for a character it cannot encode.
constexpr char kIcuSubstitute = '\x1A';

std::string Encode(QStringView text, bool& failed) {
  QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  failed = encoder.hasError();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

// One table look-up a byte: every view converts its texts here, and opening the ICU converter
// for each of them cost more than the conversion itself.
QString ToQt(std::string_view cp1250) {
  QString text(static_cast<qsizetype>(cp1250.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : cp1250) *out++ = QChar(kCp1250ToUnicode[static_cast<unsigned char>(c)]);
  return text;
}

std::string FromQt(const QString& text) {
  bool failed = false;
  std::string out = Encode(text, failed);
  if (!failed) return out;
  // Some character has no byte: encode one character (or surrogate pair) at a time, so that
  // only the failing ones become "?" and a genuine U+001A keeps its byte.
  out.clear();
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const std::string one = Encode(QStringView(text).mid(i, n), failed);
    out += failed || one.size() != 1 || (one[0] == kIcuSubstitute && text[i] != QChar(0x1A))
               ? std::string("?")
               : one;
    i += n;
  }
  return out;
}

}  // namespace zn

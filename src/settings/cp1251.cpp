#include "settings/cp1251.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace kelmar {
namespace {

constexpr const char* kCodec = "windows-1251";

QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToStd(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool ValidUtf8(std::string_view utf8) {
  QStringDecoder dec(QStringDecoder::Utf8);
  (void)dec.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return !dec.hasError();
}

// A Qt without this converter would read every file as empty and then save the places away.
void RequireValid(bool valid) {
  if (!valid) throw std::runtime_error("no windows-1251 text converter in this Qt");
}

// The characters of the upper half of the code page, as the converter decodes them.
const std::array<char32_t, 128>& UpperHalf() {
  static const std::array<char32_t, 128> table = [] {
    QByteArray bytes;
    for (int b = 0x80; b < 0x100; ++b) bytes.append(static_cast<char>(b));
    QStringDecoder dec(kCodec);
    RequireValid(dec.isValid());
    const QList<uint> chars = QString(dec.decode(bytes)).toUcs4();
    std::array<char32_t, 128> t{};
    for (std::size_t i = 0; i < t.size() && i < static_cast<std::size_t>(chars.size()); ++i)
      t[i] = chars[static_cast<qsizetype>(i)];
    return t;
  }();
  return table;
}

// The byte of one character, or -1 when the code page has none.
int ByteOf(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  const auto& half = UpperHalf();
  for (std::size_t i = 0; i < half.size(); ++i)
    if (half[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// Only the code page's capital letters come here, all of them below U+0800.
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string DecodeCp1251(std::string_view bytes) {
  QStringDecoder dec(kCodec);
  RequireValid(dec.isValid());
  const QString s = dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return ToStd(s.toUtf8());
}

std::optional<std::string> EncodeCp1251(std::string_view utf8) {
  if (!ValidUtf8(utf8)) return std::nullopt;
  QStringEncoder enc(kCodec);
  RequireValid(enc.isValid());
  const QByteArray b = enc.encode(FromUtf8(utf8));
  if (enc.hasError()) return std::nullopt;
  return ToStd(b);
}

std::string EncodeCp1251Lossy(std::string_view utf8) {
  if (auto exact = EncodeCp1251(utf8)) return *std::move(exact);
  std::string out;
  for (const uint c : FromUtf8(utf8).toUcs4()) {
    const int b = ByteOf(c);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

bool FitsCp1251(std::string_view utf8) { return EncodeCp1251(utf8).has_value(); }

std::string UpperCp1251(std::string_view utf8) {
  // Capitals of the code page's upper half, taken from Qt's case tables once.
  static const std::unordered_map<char32_t, char32_t> capitals = [] {
    std::unordered_map<char32_t, char32_t> m;
    for (const char32_t c : UpperHalf()) {
      const char32_t u = QChar::toUpper(c);
      if (u != c && c < 0x800 && u < 0x800 && ByteOf(u) >= 0) m.emplace(c, u);
    }
    return m;
  }();
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : static_cast<char>(b));
      ++i;
      continue;
    }
    // The code page's letters are all two-byte sequences; anything else is copied unchanged.
    if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size() &&
        (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) |
                         (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      const auto it = capitals.find(c);
      if (it != capitals.end()) {
        AppendUtf8(out, it->second);
        i += 2;
        continue;
      }
    }
    out.push_back(static_cast<char>(b));
    ++i;
  }
  return out;
}

}  // namespace kelmar

// The code page's table and UTF-8 reader against Qt's converters, which earlier versions of the
// program used: every byte, every character and many random byte strings must agree.
#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "settings/cp1251.h"

namespace kelmar {
namespace {

std::string ToStd(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }
QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string QtDecode(std::string_view bytes) {
  QStringDecoder dec("windows-1251");
  return ToStd(QString(dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))).toUtf8());
}

std::optional<std::string> QtEncode(std::string_view utf8) {
  QStringDecoder check(QStringDecoder::Utf8);
  (void)check.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
  if (check.hasError()) return std::nullopt;
  QStringEncoder enc("windows-1251");
  const QByteArray b = enc.encode(FromUtf8(utf8));
  if (enc.hasError()) return std::nullopt;
  return ToStd(b);
}

// Qt's reading of bad UTF-8: one replacement character per rejected sequence, written as "?".
std::string QtLossy(std::string_view utf8) {
  if (auto exact = QtEncode(utf8)) return *exact;
  std::string out;
  for (const uint c : FromUtf8(utf8).toUcs4()) {
    const auto b = QtEncode(ToStd(QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1).toUtf8()));
    out.push_back(b && b->size() == 1 ? (*b)[0] : '?');
  }
  return out;
}

std::string Utf8Of(char32_t c) { return ToStd(QString::fromUcs4(&c, 1).toUtf8()); }

TEST(Cp1251AgainstQt, EveryByteDecodesAndEncodesBack) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(DecodeCp1251(byte), QtDecode(byte)) << b;
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(byte)), byte) << b;
  }
}

TEST(Cp1251AgainstQt, EveryCharacterEncodesAndRaisesAlike) {
  for (char32_t c = 0; c <= 0x10FFFF; c += c < 0x3000 ? 1 : 97) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string s = Utf8Of(c);
    EXPECT_EQ(EncodeCp1251(s), QtEncode(s)) << std::hex << static_cast<unsigned>(c);
    // Only a letter whose capital also has a byte is raised.
    const char32_t u = QChar::toUpper(c);
    const bool raised = u != c && c < 0x800 && u < 0x800 && QtEncode(s) && QtEncode(Utf8Of(u));
    EXPECT_EQ(UpperCp1251(s), raised ? Utf8Of(u) : (c < 0x80 ? Utf8Of(u) : s)) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(Cp1251AgainstQt, RandomBytesReadAlike) {
  // Bytes chosen to hit the edges of UTF-8: lead bytes, their limits, continuations, ASCII.
  const unsigned char pool[] = {0x41, 0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xD0,
                                0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xD1, 0x91, 0xB8};
  std::mt19937 rng(20);
  for (int n = 0; n < 20000; ++n) {
    std::string s(rng() % 7, '\0');
    for (char& c : s) c = static_cast<char>(pool[rng() % sizeof pool]);
    ASSERT_EQ(EncodeCp1251(s), QtEncode(s)) << QByteArray::fromStdString(s).toHex().toStdString();
    ASSERT_EQ(EncodeCp1251Lossy(s), QtLossy(s)) << QByteArray::fromStdString(s).toHex().toStdString();
  }
}

}  // namespace
}  // namespace kelmar

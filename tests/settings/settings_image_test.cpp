// Reading, looking up, writing and erasing in the in-memory image of a settings file.
#include "settings/settings_image.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/cp1251.h"
#include "test_files.h"

namespace kelmar {
namespace {

using std::string_literals::operator""s;

// "[Name]k=v|raw|" per section: "=" marks a name/value line, a raw line has none.
std::string Dump(const SettingsImage& image) {
  std::string out;
  for (const auto& s : image.Sections()) {
    out += "[" + s.name + "]";
    for (const auto& l : s.lines) out += (l.has_eq ? l.name + "=" + l.value : l.value) + "|";
  }
  return out;
}

TEST(SettingsImageRead, LinesSectionsAndComments) {
  struct Case {
    std::string text;
    std::string dump;
  };
  const Case cases[] = {
      {"", ""},                                                   // empty file: no section
      {"[A]\r\nx=1\r\ny=2\r\n", "[A]x=1|y=2|"},                  // CR LF
      {"[A]\nx=1\ny=2\n", "[A]x=1|y=2|"},                        // lone LF
      {"[A]\rx=1\ry=2", "[A]x=1|y=2|"},                          // lone CR, no final line end
      {"[A]\r\rx=1\n\ny=2\r\n\r\n", "[A]x=1|y=2|"},              // empty lines in any ending
      {"[A]\n\rx=1", "[A]x=1|"},                                  // LF CR is two line ends
      {"x=0\r\n[A]\r\nx=1", "[A]x=1|"},                          // lines before any section drop
      {"[A]\r\n;x=1\r\n  ; y=2\r\nz=3", "[A]z=3|"},              // comments, also after blanks
      {"[A]\r\n a = 1 ; 2 \r\n", "[A]a=1 ; 2|"},                 // name and value trimmed, halves not
      {"[A]\r\n\t\x01k\x1f=\x02v\t\r\n", "[A]k=v|"},             // every code up to 32 trims
      {"[A]\r\na=b=c\r\n", "[A]a=b=c|"},                         // the first "=" splits
      {"[A]\r\n=v\r\n", "[A]=v|"},                               // empty name with "="
      {"[A]\r\nno equals here \r\n", "[A]no equals here|"},      // raw line, empty name
      {"[ Sp ace ]\r\n", "[Sp ace]"},                            // section name trimmed
      {"  [A]  \r\nk=v", "[A]k=v|"},                             // header line trimmed first
      {"[]\r\nk=v", "[]k=v|"},                                   // empty section name
      {"[A\r\nk=v", ""},                                         // "[A" is no header
      {"[A]\r\n[B\r\nk]=v", "[A][B|k]=v|"},                      // "[B" is a raw line of A
      {"[A]x\r\n", ""},                                          // must end with "]"
      {"[A]\r\nk=1\r\n[B]\r\n[A]\r\nk=2", "[A]k=1|[B][A]k=2|"},  // repeated sections all kept
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(SettingsImage::FromText(c.text)), c.dump) << c.text;
}

TEST(SettingsImageRead, BytesAreWindows1251AndNulEndsTheText) {
  struct Case {
    std::string bytes;
    std::string dump;
  };
  const Case cases[] = {
      // "Москва" in Windows-1251.
      {"[Points]\r\n\xCC\xEE\xF1\xEA\xE2\xE0=1;2\r\n", "[Points]Москва=1;2|"},
      // ё, Ё, №, €, and 0x98, which the code page leaves undefined.
      {"[A]\r\nk=\xB8\xA8\xB9\x88\x98", "[A]k=ёЁ№€\u0098|"},
      // A NUL byte ends the text, whatever follows.
      {"[A]\r\nx=1\r\ny=2\0\r\nz=3"s, "[A]x=1|y=2|"},
      {"[A]\r\nx=1\0y=2"s, "[A]x=1|"},
      {"\0[A]\r\nx=1"s, ""},
      // 0xA0 (no-break space) is above 32 and is not trimmed.
      {"[A]\r\nk=\xA0v\xA0", "[A]k=\u00A0v\u00A0|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(SettingsImage::FromBytes(c.bytes)), c.dump);
}

TEST(SettingsImageLookup, CaseBlindLaterWinsDefaultsWhenMissing) {
  struct Case {
    std::string text;
    std::string section, key;
    std::string expected;  // "<default>" when not found
  };
  const std::string d = "<default>";
  const Case cases[] = {
      {"[Form]\r\nind=1", "Form", "Ind", "1"},                      // ASCII case
      {"[FORM]\r\nInd=1", "form", "IND", "1"},                      // section name case
      {"[Points]\r\nмосква=1;2", "POINTS", "МОСКВА", "1;2"},        // Cyrillic case
      {"[A]\r\nёлка=1", "A", "ЁЛКА", "1"},                          // ё / Ё
      {"[A]\r\nґанок=1", "A", "ҐАНОК", "1"},                        // ґ / Ґ
      {"[A]\r\nўзор=1", "A", "ЎЗОР", "1"},                          // ў / Ў
      {"[A]\r\nk=1\r\nK=2", "A", "k", "2"},                         // later line wins
      {"[A]\r\nk=1\r\n[a]\r\nk=2", "A", "k", "2"},                  // later section wins
      {"[A]\r\nk=1\r\n[a]\r\nj=2", "A", "k", d},                    // ...even without the key
      {"[A]\r\nk=a=b", "A", "k", "a=b"},                            // value after the first "="
      {"[A]\r\nk=", "A", "k", ""},                                  // empty value is found
      {"[A]\r\nk=1", "B", "k", d},                                  // missing section
      {"[A]\r\nk=1", "A", "j", d},                                  // missing key
      {"[A]\r\nk", "A", "k", d},                                    // a raw line is no key
      {"[A]\r\nµ=1", "A", "Μ", d},                                  // µ has no capital in the page
      {"[A]\r\nkey=1", "A", "KEY ", d},                             // no trimming of the asked key
  };
  for (const auto& c : cases) {
    const auto image = SettingsImage::FromText(c.text);
    EXPECT_EQ(image.ReadString(c.section, c.key, d), c.expected) << c.text << " / " << c.key;
  }
}

TEST(SettingsImageWrite, ReplacesAppendsAndErases) {
  struct Step {
    enum { Write, Erase } op;
    std::string section, key, value;
  };
  struct Case {
    std::string text;
    std::vector<Step> steps;
    std::string dump;
  };
  const Case cases[] = {
      // A new section goes to the end, a new key to the end of its section.
      {"[A]\r\nx=1", {{Step::Write, "B", "k", "v"}, {Step::Write, "A", "y", "2"}},
       "[A]x=1|y=2|[B]k=v|"},
      // An existing key is replaced in place, under the writer's spelling.
      {"[Form]\r\nind=5\r\nEK=1", {{Step::Write, "form", "Ind", "0"}}, "[Form]Ind=0|EK=1|"},
      // Of two equal keys the later one is replaced; the earlier stays shadowed.
      {"[A]\r\nk=1\r\nk=2", {{Step::Write, "A", "K", "3"}}, "[A]k=1|K=3|"},
      // Erasing removes the section with its lines, and only the one lookups find.
      {"[P]\r\na=1\r\n[X]\r\nb=2\r\n[p]\r\nc=3", {{Step::Erase, "P", "", ""}}, "[P]a=1|[X]b=2|"},
      {"[X]\r\nb=2", {{Step::Erase, "P", "", ""}}, "[X]b=2|"},
      // Erase then write appends the section anew at the end.
      {"[P]\r\na=1\r\n[X]", {{Step::Erase, "P", "", ""}, {Step::Write, "P", "b", "2"}}, "[X][P]b=2|"},
  };
  for (const auto& c : cases) {
    auto image = SettingsImage::FromText(c.text);
    for (const auto& s : c.steps) {
      if (s.op == Step::Write) {
        image.WriteString(s.section, s.key, s.value);
      } else {
        image.EraseSection(s.section);
      }
    }
    EXPECT_EQ(Dump(image), c.dump) << c.text;
  }
}

TEST(SettingsImageWrite, TextHasCrLfEveryLineAndAnEmptyLineAfterEachSection) {
  const auto image = SettingsImage::FromText("[A]\nx = 1\nraw line\n=v\n[B]\n[C]\r\nk=\n");
  EXPECT_EQ(image.ToText(), "[A]\r\nx=1\r\nraw line\r\n=v\r\n\r\n[B]\r\n\r\n[C]\r\nk=\r\n\r\n");
  EXPECT_EQ(SettingsImage().ToText(), "");
}

TEST(SettingsImageWrite, EveryByteOfAValueSurvivesReadAndWrite) {
  // Every byte that can stand inside a value: all but NUL, CR and LF; the edges are kept
  // above 32 so that trimming has nothing to take.
  std::string value = "!";
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') value.push_back(static_cast<char>(b));
  value += "!";
  const std::string file = "[A]\r\nk=" + value + "\r\n\r\n";
  EXPECT_EQ(SettingsImage::FromBytes(file).ToBytes(), file);
}

TEST(Cp1251, DecodesAndEncodesLikeTheCodePage) {
  struct Case {
    std::string bytes;
    std::string utf8;
  };
  const Case cases[] = {
      {"\xC0\xDF\xE0\xFF", "АЯая"},    // the Russian alphabet's ends
      {"\xA8\xB8", "Ёё"},              // Ё outside the alphabet block
      {"\x88\xB9\x80\x90", "€№Ђђ"},    // punctuation and Serbian letters
      {"\x98", "\u0098"},              // undefined byte ↔ U+0098
      {"abc", "abc"},                  // ASCII unchanged
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeCp1251(c.bytes), c.utf8);
    EXPECT_EQ(EncodeCp1251(c.utf8), c.bytes);
  }
  EXPECT_EQ(testing::Cp1251("Москва"), *EncodeCp1251("Москва"));  // agrees with iconv
}

TEST(Cp1251, TextsTheCodePageCannotHold) {
  struct Case {
    std::string utf8;
    bool fits;
    std::string lossy;
  };
  const Case cases[] = {
      {"Самара", true, "\xD1\xE0\xEC\xE0\xF0\xE0"},  // Cyrillic fits
      {"日本", false, "??"},                          // CJK does not
      {"a\u00E4b", false, "a?b"},                     // ä is not in the page
      {"\xFF\xFE", false, "??"},                      // not UTF-8 at all
      {"", true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitsCp1251(c.utf8), c.fits) << c.utf8;
    EXPECT_EQ(EncodeCp1251Lossy(c.utf8), c.lossy) << c.utf8;
  }
}

TEST(Cp1251, UpperCaseAsThePageKnowsIt) {
  struct Case {
    std::string in, up;
  };
  const Case cases[] = {
      {"abc xyz 123", "ABC XYZ 123"},           // ASCII
      {"москва", "МОСКВА"},                     // Russian
      {"ёжик", "ЁЖИК"},                         // ё
      {"ґїєіўђџ", "ҐЇЄІЎЂЏ"},                   // the other Cyrillic letters of the page
      {"µß", "µß"},                             // no capital in the page: unchanged
      {"€№«»", "€№«»"},                         // not letters
  };
  for (const auto& c : cases) EXPECT_EQ(UpperCp1251(c.in), c.up) << c.in;
  EXPECT_TRUE(SameKey("Нижний Новгород", "НИЖНИЙ новгород"));
  EXPECT_FALSE(SameKey("Е", "Ё"));  // different letters stay different
}

}  // namespace
}  // namespace kelmar

// UTF-8 texts as UTF-16 code units, as the browser's strings hold them.
#include <gtest/gtest.h>

#include <string>

#include "core/utf8.h"

namespace kelmar {
namespace {

TEST(WriteUtf16, CharactersAndBadBytes) {
  struct Case {
    const char* utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"01.07.26   Пн", u"01.07.26   Пн"},      // two-byte letters
      {"\xE2\x82\xAC \xEF\xBB\xBF", u"€ \uFEFF"},  // three bytes; a byte-order mark is a character
      {"\xF0\x9F\x98\x80!", u"\U0001F600!"},       // four bytes: a surrogate pair
      {"\xC0\x80", u"\uFFFD\uFFFD"},               // an overlong zero
      {"\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},     // an overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},     // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xF8\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // no lead byte of five
      {"a\xE2\x82", u"a\uFFFD\uFFFD"},             // cut short at the end
      {"\xD0 \xBF", u"\uFFFD \uFFFD"},             // a lead without its continuation, a lone continuation
  };
  for (const Case& c : cases) {
    const std::string text = c.utf8;
    std::u16string out(text.size(), u'\0');  // never more units than bytes
    out.resize(static_cast<std::size_t>(WriteUtf16(text, out.data()) - out.data()));
    EXPECT_EQ(out, c.utf16) << text;
  }
}

}  // namespace
}  // namespace kelmar

// Texts of the number fields and cells: what a field may hold, and how numbers are written back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/calc_error.h"
#include "core/number_text.h"

namespace kelmar {
namespace {

TEST(ParseFloat, AcceptsPlainDecimalTexts) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"0", 0.0},             // a single digit
      {"55.75", 55.75},       // the usual latitude
      {"-37.62", -37.62},     // a minus sign
      {"+3", 3.0},            // a plus sign
      {"1.", 1.0},            // nothing after the point
      {".5", 0.5},            // nothing before the point
      {"-.5", -0.5},          // sign straight before the point
      {"  12.345  ", 12.345}, // blanks around the number
      {" -3 ", -3.0},         // blanks around a signed number
      {"1e3", 1000.0},        // exponent
      {"1E3", 1000.0},        // upper-case exponent mark
      {"2.5e-3", 0.0025},     // negative exponent
      {"2.5E+2", 250.0},      // explicit plus in the exponent
      {".5e1", 5.0},          // exponent after a bare fraction
      {"1.e2", 100.0},        // exponent after a bare point
      {"007", 7.0},           // leading zeros
      {"1e300", 1e300},       // large but finite
      {"-1.7976931348623157e308", -1.7976931348623157e308},  // the largest double
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto v = ParseFloat(c.text);
    ASSERT_TRUE(v.has_value());
    EXPECT_DOUBLE_EQ(*v, c.value);
    EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value);
  }
}

TEST(ParseFloat, RejectsEverythingElseWithTheTextAsTyped) {
  const char* const cases[] = {
      "",          // empty field
      "   ",       // blanks only
      ".",         // a point without digits
      "-",         // a sign alone
      "+.",        // sign and point without digits
      "1,5",       // comma as separator (the comma rule runs only when the field is left)
      "1.5.2",     // two points
      "abc",       // letters
      "12abc",     // trailing garbage
      "nan",       // not-a-number spelled out
      "NaN",       // in any case
      "inf",       // infinity spelled out
      "-Infinity", // long form
      "0x10",      // hexadecimal
      "1 000",     // thousands separated by a blank
      "1'000",     // thousands separated by an apostrophe
      "\t1",       // a tab is not one of the allowed blanks
      "1\n",       // nor a line end
      "1e",        // exponent mark without digits
      "1e+",       // exponent sign without digits
      "e3",        // exponent without a mantissa
      "--1",       // two signs
      "+-1",       // mixed signs
      "1e400",     // overflows a double
      "-1e400",    // overflows a double, negative
      "1e99999",   // far beyond
  };
  for (const char* text : cases) {
    SCOPED_TRACE(std::string("text: [") + text + "]");
    EXPECT_FALSE(ParseFloat(text).has_value());
    try {
      StrToFloat(text);
      ADD_FAILURE() << "no error";
    } catch (const CalcError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid floating point value");
    }
  }
}

TEST(ParseFloat, ErrorMessageKeepsTheBlanksAsTyped) {
  try {
    StrToFloat(" 1,5 ");
    FAIL() << "no error";
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "' 1,5 ' is not a valid floating point value");
  }
}

TEST(ParseInt, AcceptsDecimalIntegersAndRejectsTheRest) {
  EXPECT_EQ(StrToInt("3"), 3);     // plain
  EXPECT_EQ(StrToInt("-12"), -12); // signed
  EXPECT_EQ(StrToInt(" 7 "), 7);   // blanks around
  EXPECT_FALSE(ParseInt("1.5").has_value());  // a fraction is not an integer
  EXPECT_FALSE(ParseInt("").has_value());     // empty
  EXPECT_FALSE(ParseInt("x").has_value());    // letters
  try {
    StrToInt("1.5");
    FAIL() << "no error";
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
  }
}

TEST(FloatToStr, ShortestGeneralForm) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {3.5, "3.5"},                       // one decimal
      {3.5 + 0.5, "4"},                   // whole number: no point
      {0 - 0.5, "-0.5"},                  // negative, leading zero kept
      {12.345 + 1, "13.345"},             // binary noise beyond 15 digits disappears
      {0.1 + 0.2, "0.3"},                 // the classic
      {0.945 - 0.05, "0.895"},            // a height step down
      {1.0 / 3, "0.333333333333333"},     // 15 significant digits
      {2.0 / 3, "0.666666666666667"},     // rounded in the 15th digit
      {123456.7890123456, "123456.789012346"},  // 15 digits across the point
      {100, "100"},                       // trailing zeros of an integer stay
      {0, "0"},                           // zero
      {55.7708333333333, "55.7708333333333"},  // a locator centre before the cut
      {999999999999999.0, "999999999999999"},  // 15 digits before the point: still fixed
      {1e15, "1E15"},                     // 16 digits before the point: exponent
      {1e20, "1E20"},                     // the example
      {1.5e20, "1.5E20"},                 // mantissa with a fraction
      {-1e20, "-1E20"},                   // negative exponent form
      {123456789012345678.0, "1.23456789012346E17"},  // exponent form keeps 15 digits
      {0.0001, "0.0001"},                 // three zeros after the point
      {0.00001, "0.00001"},               // four zeros after the point: still fixed
      {0.000012, "0.000012"},             // four zeros, then two digits
      {0.000001, "1E-6"},                 // five zeros: exponent
      {1e-7, "1E-7"},                     // the example
      {-2.5e-10, "-2.5E-10"},             // negative, fraction in the mantissa
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStr(c.value), c.text);
  }
}

TEST(FloatToStr, TextReadsBackToTheSameFifteenDigits) {
  // Each stepping press starts from the field's text, so the text must parse back.
  const double values[] = {-11.5, 0.001, 0.022, 549.0, 4.845, 1e-7, 1e20, -0.0416666666666667};
  for (double v : values) {
    SCOPED_TRACE(v);
    const auto back = ParseFloat(FloatToStr(v));
    ASSERT_TRUE(back.has_value());
    EXPECT_NEAR(*back, v, std::abs(v) * 1e-14);
  }
}

TEST(FormatOneDecimal, FixedOneDecimalWithTheSignOfTheUnroundedValue) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {43.27, "43.3"},      // rounds to the nearest tenth
      {316.66, "316.7"},    // three digits before the point
      {7.1, "7.1"},         // no leading blanks
      {-2.94, "-2.9"},      // negative
      {-34.06, "-34.1"},    // negative rounding away from zero
      {359.96, "360.0"},    // rounding may reach 360
      {360.0, "360.0"},     // trailing zero kept
      {0.0, "0.0"},         // exact zero
      {-0.0, "0.0"},        // negative zero is still an exact zero
      {-0.03, "-0.0"},      // small negative keeps its sign
      {-0.049, "-0.0"},     // just below the rounding edge
      {0.04, "0.0"},        // small positive
      {-0.06, "-0.1"},      // rounds to a real tenth
      {1234567.89, "1234567.9"},  // wider than the minimum field
      {88.75, "88.8"},      // a tie that is exact in binary rounds up here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatOneDecimal(c.value), c.text);
  }
}

TEST(CommaRule, OnlyTheFirstCommaBecomesAPoint) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"3,5", "3.5"},      // the usual slip
      {"1,2,3", "1.2,3"},  // only the first comma
      {",5", ".5"},        // comma at the start
      {"12.345", "12.345"},// nothing to do
      {"", ""},            // empty field
      {"abc", "abc"},      // not validated
      {"1.5,", "1.5."},    // not validated either
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(CommaRule(c.in), c.out);
  }
}

}  // namespace
}  // namespace kelmar

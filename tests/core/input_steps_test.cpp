// The stepping buttons' rules: zone and angle in half units with bounds, height in 1-2-5 steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/calc_error.h"
#include "core/input_steps.h"

namespace kelmar {
namespace {

struct StepCase {
  const char* text;
  bool up;
  const char* result;
};

void ExpectSteps(std::string (*step)(std::string_view, bool), const std::vector<StepCase>& cases) {
  for (const StepCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "[" << c.text << "] " << (c.up ? "up" : "down"));
    EXPECT_EQ(step(c.text, c.up), c.result);
  }
}

TEST(StepZone, HalfHoursWithinTwelve) {
  ExpectSteps(StepZone, {
                            {"3", true, "3.5"},       // half an hour
                            {"3.5", true, "4"},       // whole hours without a point
                            {"0", false, "-0.5"},     // below zero
                            {"11.5", true, "12"},     // reaches the bound
                            {"12", true, "12"},       // the bound holds
                            {"11.7", true, "12.2"},   // tested before the step: may pass 12
                            {"-11.5", false, "-12"},  // reaches the lower bound
                            {"-12", false, "-12"},    // and holds
                            {"13", true, "13"},       // beyond the bound: no step up
                            {"13", false, "12.5"},    // but down is allowed
                            {"-13", true, "-12.5"},   // and below −12 up is allowed
                        });
}

TEST(StepAngle, HalfDegreesWithinFifty) {
  ExpectSteps(StepAngle, {
                             {"6", true, "6.5"},       // half a degree
                             {"6", false, "5.5"},      // both ways
                             {"49.5", true, "50"},    // reaches the bound
                             {"50", true, "50"},      // and holds
                             {"0.3", false, "-0.2"},  // tested before the step: may pass 0
                             {"-0.2", false, "-0.2"}, // and then holds
                             {"0", false, "0"},        // zero holds
                             {" 6 ", true, "6.5"},    // blanks around the text are allowed
                         });
}

TEST(StepHeight, OneTwoFiveSteps) {
  ExpectSteps(StepHeight, {
                              {"0", true, "0.001"},     // below 0.02: thousandths
                              {"0", false, "0"},        // nothing below zero
                              {"0.0005", false, "-0.0005"},  // tested before the step: may pass 0
                              {"0.019", true, "0.02"},  // a thousandth up to the 0.02 mark
                              {"0.02", true, "0.022"},  // from 0.02: 1-2-5 of the decade
                              {"0.02", false, "0.019"}, // down from 0.02: still a thousandth
                              {"10", true, "11"},       // a tenth of the decade
                              {"10", false, "9.5"},     // a power of ten: half a step of the decade below
                              {"100", true, "110"},     // the same one decade up
                              {"100", false, "95"},     // and half a step of the decade below
                              {"2", true, "2.2"},       // at 2 up takes the larger step
                              {"2", false, "1.9"},      // and down the smaller one
                              {"5", true, "5.5"},       // at 5 up takes the larger step
                              {"5", false, "4.8"},      // and down the smaller one
                              {"499", true, "549"},     // tested before the step: may pass 500
                              {"549", true, "549"},     // then holds
                              {"500", false, "480"},    // 500 lies below 10^0.7 of its decade
                              {"500", true, "500"},     // the upper bound holds
                          });
}

TEST(StepHeight, WorkedSequencesFrom12345) {
  std::vector<std::string> up;
  for (int v = 13; v <= 19; ++v) up.push_back(std::to_string(v) + ".345");
  for (int v = 20; v <= 48; v += 2) up.push_back(std::to_string(v) + ".345");
  for (int v = 50; v <= 95; v += 5) up.push_back(std::to_string(v) + ".345");
  for (int v = 100; v <= 190; v += 10) up.push_back(std::to_string(v) + ".345");
  for (int v = 200; v <= 480; v += 20) up.push_back(std::to_string(v) + ".345");
  up.push_back("500.345");
  up.push_back("500.345");  // 500.345 ≥ 500: further presses change nothing
  std::string text = "12.345";
  for (const std::string& want : up) {
    text = StepHeight(text, true);
    ASSERT_EQ(text, want);
  }

  const std::vector<std::string> down = {
      "11.345", "10.345", "9.345", "8.845", "8.345", "7.845", "7.345", "6.845", "6.345", "5.845",
      "5.345",  "4.845",  "4.645", "4.445", "4.245", "4.045", "3.845", "3.645", "3.445", "3.245",
      "3.045",  "2.845",  "2.645", "2.445", "2.245", "2.045", "1.845", "1.745", "1.645", "1.545",
      "1.445",  "1.345",  "1.245", "1.145", "1.045", "0.945", "0.895", "0.845", "0.795", "0.745",
      "0.695",  "0.645",  "0.595", "0.545", "0.495", "0.475"};
  text = "12.345";
  for (const std::string& want : down) {
    text = StepHeight(text, false);
    ASSERT_EQ(text, want);
  }
}

TEST(HeightSteps, StepSizesAroundTheDecadeMarks) {
  struct Case {
    double v;
    double up, down;
  };
  const Case cases[] = {
      {0, 0.001, 0},          // (down undefined at 0: not asked)
      {0.019, 0.001, 0.001},  // below 0.02 both ways a thousandth
      {0.02, 0.002, 0.001},   // 0.02 is 2·10⁻²: up the larger, down the smaller step
      {1, 0.1, 0.05},         // a power of ten: down half a tenth
      {1.99, 0.1, 0.1},       // below 10^0.3
      {2, 0.2, 0.1},          // 10^0.301 ≥ 10^0.3 up, < 10^0.31 down
      {2.05, 0.2, 0.2},       // above 10^0.31
      {4.9, 0.5, 0.2},        // above 10^0.69 up, below 10^0.7 down
      {5, 0.5, 0.2},          // 5·10⁰: up the larger, down the smaller step
      {5.02, 0.5, 0.5},       // above 10^0.7 down
      {12.345, 1, 1},         // the usual height: a tenth of its decade
      {499, 50, 20},          // just below the upper bound
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_NEAR(HeightStepUp(c.v), c.up, c.up * 1e-12);
    if (c.v > 0) {
      EXPECT_NEAR(HeightStepDown(c.v), c.down, c.down * 1e-12);
    }
  }
}

TEST(Steps, NotANumberFailsWithTheTextAsTyped) {
  struct Case {
    std::string (*step)(std::string_view, bool);
    const char* text;
  };
  const Case cases[] = {
      {StepZone, "abc"},     // letters
      {StepZone, "3,5"},     // a comma not yet replaced
      {StepAngle, ""},       // empty
      {StepHeight, "abc"},   // the height mode's example
      {StepHeight, "1e400"}, // overflow
  };
  for (const Case& c : cases) {
    for (bool up : {true, false}) {
      SCOPED_TRACE(testing::Message() << "[" << c.text << "] " << up);
      try {
        c.step(c.text, up);
        ADD_FAILURE() << "no error";
      } catch (const CalcError& e) {
        EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' is not a valid floating point value");
      }
    }
  }
}

}  // namespace
}  // namespace kelmar

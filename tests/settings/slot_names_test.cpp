// The user's names for slots: read from a file written by hand, shown at the table's slots,
// edited, and a file without them left byte for byte as it was.
#include <gtest/gtest.h>

#include "core/calc_error.h"
#include "core/input_fields.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"
#include "settings/slot_names.h"

namespace kelmar {
namespace {

const char* const kFile =
    "[Points]\r\nМосква=55.75;37.62\r\n\r\n"
    "[Names]\r\n36E=Eutelsat 36\r\n19.2 E=Astra\r\n13 E=Hot Bird\r\n12.5 W=Eutelsat 12\r\nnowhere=Кто-то\r\n"
    "180 W=Край\r\n\r\n";

TEST(SlotNames, ShownAtTheNearestTableSlot) {
  const SlotNames names = NamesFromImage(SettingsImage::FromText(kFile));
  struct Case {
    int slot;
    const char* shown;
  } cases[] = {
      {36, "Eutelsat 36"},       // written without the blank, found all the same
      {19, "Astra (19.2 E)"},    // a fractional position with its exact place
      {13, "Hot Bird"},
      {-13, "Eutelsat 12 (12.5 W)"},  // half a degree rounds away from 0
      {-12, ""},
      {180, "Край"},             // "180 W" is the table's "180"
      {0, ""},                   // a line naming no slot is shown nowhere
  };
  for (const Case& c : cases) EXPECT_EQ(NamesAtSlot(names, c.slot), c.shown) << c.slot;
  EXPECT_EQ(NameOf(names, 19.2), "Astra");
  EXPECT_EQ(NameOf(names, 19), "");
  EXPECT_EQ(NamedPositionAt(names, 19), 19.2);
  EXPECT_EQ(NamedPositionAt(names, 20), 20);
}

TEST(SlotNames, EditedAndStored) {
  SlotNames names = NamesFromImage(SettingsImage::FromText(kFile));
  SetSlotName(names, 36, "  Экспресс  ");  // the line keeps its key as the file wrote it
  SetSlotName(names, 13, "");              // an empty name takes it away
  SetSlotName(names, -5, "Amos");
  EXPECT_EQ(names.at("36E"), "Экспресс");
  EXPECT_EQ(names.count("13 E"), 0u);
  EXPECT_EQ(names.at("5 W"), "Amos");
  try {
    SetSlotName(names, 7, "Sat 😀");
    FAIL();
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "Недопустимое название пункта: символа \"😀\" нет в кодировке Windows-1251");
  }
  EXPECT_EQ(names.count("7 E"), 0u);
  SettingsImage image = SettingsImage::FromText(kFile);
  StoreNames(image, names);
  EXPECT_EQ(NamesFromImage(SettingsImage::FromBytes(image.ToBytes())), names);
  EXPECT_EQ(*image.Read(kSectionNames, "nowhere"), "Кто-то");  // not ours to drop
}

TEST(SlotNames, AFileWithoutNamesStaysAsItWas) {
  const std::string text = "[Form]\r\nInd=0\r\nEK=0\r\nEU=0\r\nEM=0\r\nEG=0\r\nRBG=0\r\nRB3=0\r\n\r\n[Points]\r\nМосква=55.75;37.62\r\n\r\n";
  SettingsImage image = SettingsImage::FromText(text);
  const LoadedSettings loaded = LoadedFromImage(image);
  EXPECT_TRUE(loaded.names.empty());
  const SlotNames none;
  StoreIntoImage(image, loaded.places, 0, loaded.Fields(), nullptr, &none);
  EXPECT_EQ(image.ToText(), text);
}

}  // namespace
}  // namespace kelmar

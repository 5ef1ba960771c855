#pragma once
// The month's sun table.
#include "calc_state.h"
#include "input_fields.h"
#include "text_grid.h"

namespace kelmar {

// Appends a formatted time ("hh:nn" or "hh:nn:ss") to cell (col, row).
void TtoCell(TextGrid& grid, bool seconds, int col, int row, double hours);

// The zone's offset from GMT in hours: EditMSK + 4 or EditGMT, as the radio buttons choose.
double ZoneHoursOf(const InputFields& in);
// The sine of the altitude at which twilight begins or ends, by angle or by height.
double TwilightThreshold(const InputFields& in);

// Clears rows 1..33 of StringGridVos, then fills them for st.Year / st.Month from the fields:
// the observer and st.Locator from EditSir / EditDolg, then the zone and the twilight fields.
// Throws CalcError; the cells written before the failure stay.
void Calc(CalcState& st, const InputFields& in, TextGrid& StringGridVos);

}  // namespace kelmar

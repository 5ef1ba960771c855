#pragma once
// The month's sun table.
#include "calc_state.h"
#include "input_fields.h"
#include "text_grid.h"

namespace kelmar {

// The zone of the tables' times, hours east of GMT: GMT+N, or MSK+N as GMT+(N+4).
double ZoneHoursOf(const InputFields& in);

// Appends a formatted time ("hh:nn" or "hh:nn:ss") to cell (col, row).
void TtoCell(TextGrid& grid, bool seconds, int col, int row, double hours);

// Fills rows 1..33 of StringGridVos for st.Year / st.Month from the fields.
// Throws CalcError; the cells written before the failure stay.
void Calc(CalcState& st, const InputFields& in, TextGrid& StringGridVos);

}  // namespace kelmar

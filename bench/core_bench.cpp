// Timings of the two tables as the window recomputes them: the grids persist between runs.
#include <benchmark/benchmark.h>

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/sun_table.h"

namespace {

kelmar::InputFields Moscow() {
  kelmar::InputFields in;
  in.latitude = "55.75";
  in.longitude = "37.62";
  in.gmt_offset = "3";
  in.zone = kelmar::ZoneKind::FromGmt;
  return in;
}

void BM_SunTableMonth(benchmark::State& state) {
  kelmar::CalcState st;
  st.Year = 2026;
  st.Month = 7;  // 31 days
  const kelmar::InputFields in = Moscow();
  kelmar::TextGrid grid = kelmar::MakeSunGrid();
  for (auto _ : state) {
    kelmar::Calc(st, in, grid);
    benchmark::DoNotOptimize(grid.Cell(8, 31).data());
  }
}
BENCHMARK(BM_SunTableMonth);

void BM_SatelliteTable(benchmark::State& state) {
  const kelmar::Observer obs = kelmar::ObserverFromFields(Moscow());
  kelmar::TextGrid grid = kelmar::MakeSatGrid();
  for (auto _ : state) {
    kelmar::Satel(obs, grid);
    benchmark::DoNotOptimize(grid.Cell(18, 40).data());
  }
}
BENCHMARK(BM_SatelliteTable);

// Sun outages of a year: one slot, and every slot of the satellite table as --slot all does.
void BM_OutageYearOneSlot(benchmark::State& state) {
  kelmar::InputFields in = Moscow();
  in.slot = "36 E";
  for (auto _ : state) benchmark::DoNotOptimize(kelmar::ComputeOutages(in, 2026).rows.size());
}
BENCHMARK(BM_OutageYearOneSlot)->Unit(benchmark::kMicrosecond);

void BM_OutageYearAllSlots(benchmark::State& state) {
  const kelmar::InputFields in = Moscow();
  const kelmar::Observer obs = kelmar::ObserverFromFields(in);
  const double zone = kelmar::ZoneHoursOf(in);
  const double angle = kelmar::OutageAngle(0.9, 12);
  for (auto _ : state)
    for (int slot = -42; slot <= 117; ++slot)  // the table's 160 positions for Moscow
      benchmark::DoNotOptimize(kelmar::ComputeOutages(obs, zone, slot, angle, 2026).rows.size());
}
BENCHMARK(BM_OutageYearAllSlots)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Timings of the two tables as the window recomputes them: the grids persist between runs.
#include <benchmark/benchmark.h>

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "core/sat_table.h"
#include "core/sun_table.h"

namespace {

kelmar::InputFields Moscow() {
  kelmar::InputFields in;
  in.EditSir = "55.75";
  in.EditDolg = "37.62";
  in.EditGMT = "3";
  in.RadioButtonMSK = false;
  return in;
}

void BM_SunTableMonth(benchmark::State& state) {
  kelmar::CalcState st;
  kelmar::InitRiseAltSin(st);
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

}  // namespace

BENCHMARK_MAIN();

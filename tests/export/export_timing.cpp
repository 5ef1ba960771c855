// Export timing into a private LibreOffice: the cold export (office not running, seeded profile)
// and warm exports into the running office.
//   kelmar_export_timing                 headless, prints the times
//   kelmar_export_timing --visible N     with windows (needs a display), holds the office N
//                                        seconds for a screenshot, tab given by --sat
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "export/excel_export.h"
#include "export/plugin_loader.h"
#include "office_support.h"

using namespace kelmar;
using namespace kelmar::testing;

int main(int argc, char** argv) {
  int hold = -1;
  bool sat_last = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--visible") && i + 1 < argc) hold = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--sat")) sat_last = true;
  }
  const std::string bin = KELMAR_TEST_BIN_DIR;
  TempDir dir("kelmar-timing");
  fs::copy_file(bin + "/Sun.xls", dir.Path() / "Sun.xls");
  fs::copy_file(bin + "/Sat.xls", dir.Path() / "Sat.xls");
  PrivateOffice office;
  OfficeOptions options = office.Options(bin + "/libkelmar_calc.so");
  if (hold >= 0) options.Headless = options.HiddenDocuments = false;

  TextGrid sun = SunGridOf(31), sat = SatGridOf();
  InputFields fields;
  // The application object is timed on its own: it is the connection to the office.
  double connect_ms = 0;
  auto exporter = std::make_unique<ExcelExporter>([&](const std::string& exe_dir) {
    const auto t0 = std::chrono::steady_clock::now();
    auto app = CreateCalcApplication(options, exe_dir);
    connect_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    return app;
  });
  auto request = [&](int tab) {
    return ExcelRequest{.TabIndex = tab, .StringGridVos = sun, .StringGridSat = sat, .Fields = fields,
                        .PlaceName = "Самара", .Locator = "LO43BF", .Month = 11, .ExeDir = dir.Dir()};
  };
  using Clock = std::chrono::steady_clock;
  auto time_ms = [&](int tab) {
    const auto t0 = Clock::now();
    exporter->ButtonExcelClick(request(tab));
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  };
  int rc = 0;
  try {
    if (hold >= 0) {
      const double first = time_ms(sat_last ? 0 : 1);
      const double second = time_ms(sat_last ? 1 : 0);
      std::printf("visible: %.0f ms, %.0f ms; showing %s\n", first, second, exporter->ExportFileName().c_str());
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::seconds(hold));
    } else {
      const double cold = time_ms(0);
      std::printf("cold export (sun, office started on a seeded profile): %.0f ms, of which %.0f ms to start "
                  "and reach the office\n", cold, connect_ms);
      for (int tab : {0, 1}) {
        std::vector<double> t, c;
        for (int i = 0; i < 15; ++i) {
          t.push_back(time_ms(tab));
          c.push_back(connect_ms);
        }
        std::sort(t.begin(), t.end());
        std::sort(c.begin(), c.end());
        std::printf("warm export (%s), 15 runs: min %.0f ms, median %.0f ms, max %.0f ms "
                    "(connection: median %.0f ms)\n",
                    tab ? "satellites 40x19" : "sun 31x9", t.front(), t[t.size() / 2], t.back(), c[c.size() / 2]);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "export failed: %s\n", e.what());
    rc = 1;
  }
  exporter.reset();  // the office's objects go before the office
  office.Kill();
  return rc;
}

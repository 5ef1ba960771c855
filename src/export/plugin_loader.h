#pragma once
// Loads the LibreOffice back end at run time, so that the program itself never links against
// LibreOffice: without it installed only the export fails, with a message saying why.
#include <memory>
#include <string>

#include "export/automation.h"

namespace kelmar {

inline constexpr const char* kCalcPluginName = "libkelmar_calc.so";

// Every refusal of the office to start begins so; the reason follows.
inline constexpr const char* kStartFailed = "Не удалось запустить LibreOffice Calc: ";

// A new application object from the plugin; throws ExportError
// (kStartFailed + reason) when the plugin or the office fails.
std::unique_ptr<automation::Application> CreateCalcApplication(const OfficeOptions& options,
                                                               const std::string& exe_dir);

}  // namespace kelmar

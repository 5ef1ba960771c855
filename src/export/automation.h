#pragma once
// The automation layer: the few operations the export sends to a spreadsheet application, named
// after the application's own object model (Visible, Workbooks.Open, Worksheets, Activate,
// DisplayAlerts, Cells, Range.Value, SaveAs). A back end implements them; the LibreOffice one lives
// in a plugin (calc/), tests use a recording fake.
//
// Back ends report failures as std::runtime_error with the office's own text; the export turns
// them into messages a user can read. A workbook is closed only to make way for a save under its own
// file name, or when its own save failed; the application is quit only when it has nothing to show.
#include <memory>
#include <string>
#include <vector>

namespace kelmar::automation {

// A block of texts, [row][column], of the shape of the range it is assigned to.
using TextArray = std::vector<std::vector<std::string>>;

class Range {
 public:
  virtual ~Range() = default;
  virtual void Value(const TextArray& values) = 0;  // property put, one call for the whole block
};

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  virtual void Activate() = 0;
  // Cells(row, column) := text; row and column count from 1. The cell keeps the text as text.
  virtual void Cells(int row, int column, const std::string& text) = 0;
  virtual std::unique_ptr<automation::Range> Range(const std::string& address) = 0;  // "A5:I35"
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  // nullptr when the workbook has no worksheet of that name.
  virtual std::unique_ptr<Worksheet> Worksheets(const std::string& name) = 0;
  virtual void SaveAs(const std::string& path) = 0;  // binds the workbook to path
  virtual bool Saved() = 0;  // no changes since it was loaded or saved
  virtual void Close() = 0;  // without saving; the object is of no further use
};

class Workbooks {
 public:
  virtual ~Workbooks() = default;
  virtual std::unique_ptr<Workbook> Open(const std::string& path) = 0;
  // The open workbook loaded from or saved to the file at path (links resolved); nullptr if none.
  virtual std::unique_ptr<Workbook> Item(const std::string& path) = 0;
  virtual int Count() = 0;  // open workbooks, untitled ones included
};

class Application {
 public:
  virtual ~Application() = default;
  virtual void Visible(bool visible) = 0;
  virtual void DisplayAlerts(bool display) = 0;
  virtual std::unique_ptr<automation::Workbooks> Workbooks() = 0;
  // Ends the application when this program started it and it holds no workbook at all; one the
  // user already ran, or one showing a workbook, stays. True when it was ended.
  virtual bool Quit() = 0;
};

}  // namespace kelmar::automation

namespace kelmar {

// The office's program folder: soffice, and the UNO libraries and settings the plugin needs.
inline constexpr const char* kOfficeProgramDir = "/usr/lib/libreoffice/program";

// How the LibreOffice back end is reached. The defaults suit the window.
struct OfficeOptions {
  std::string PluginPath;        // empty: "libkelmar_calc.so" in the executable's directory
  std::string OfficeProgram;     // empty: "/usr/lib/libreoffice/program/soffice"
  std::string PipeName;          // empty: one pipe per user, so later runs find the same office
  std::string UserInstallation;  // file URL of a profile; empty: the user's own
  bool Headless = false;         // start the office without any window
  bool HiddenDocuments = false;  // load workbooks hidden; forced when there is no display
  int StartTimeoutMs = 60000;    // how long a starting office may take to answer
};

}  // namespace kelmar

// The plugin's one entry point, looked up with dlsym. Returns the application, or nullptr with a
// readable reason in *error (Russian, for the user).
extern "C" {
using KelmarCalcCreateFn = kelmar::automation::Application* (*)(const kelmar::OfficeOptions* options,
                                                                 std::string* error);
}
inline constexpr const char* kKelmarCalcCreateName = "kelmar_calc_create";

#pragma once
// A spreadsheet application that records every call, for checking what the export sends and in
// which order without an office. Saving writes a small file so that file handling is real.
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/automation.h"

namespace kelmar::testing {

struct FakeOffice {
  std::vector<std::string> log;                         // "Open /x/Sun.xls", "Cells(3,1)=…"
  std::map<std::string, automation::TextArray> values;  // range address → last block assigned
  std::map<std::pair<int, int>, std::string> cells;     // (row, column) → last text
  std::vector<std::string> sheet_names = {"Sun", "Satel"};
  std::string fail_on;        // a log prefix whose call throws, as an office rejecting it would
  int apps_created = 0;
  int apps_alive = 0;

  void Call(const std::string& entry) {
    log.push_back(entry);
    if (!fail_on.empty() && entry.rfind(fail_on, 0) == 0) throw std::runtime_error("office says no: " + entry);
  }
  std::unique_ptr<automation::Application> Create();
};

class FakeRange : public automation::Range {
 public:
  FakeRange(FakeOffice& o, std::string address) : o_(o), address_(std::move(address)) {}
  void Value(const automation::TextArray& v) override {
    o_.Call("Value " + address_ + " " + std::to_string(v.size()) + "x" + std::to_string(v.empty() ? 0 : v[0].size()));
    o_.values[address_] = v;
  }

 private:
  FakeOffice& o_;
  std::string address_;
};

class FakeSheet : public automation::Worksheet {
 public:
  FakeSheet(FakeOffice& o, std::string name) : o_(o), name_(std::move(name)) {}
  void Activate() override { o_.Call("Activate " + name_); }
  void Cells(int row, int column, const std::string& text) override {
    o_.Call("Cells(" + std::to_string(row) + "," + std::to_string(column) + ")=" + text);
    o_.cells[{row, column}] = text;
  }
  std::unique_ptr<automation::Range> Range(const std::string& address) override {
    o_.Call("Range " + address);
    return std::make_unique<FakeRange>(o_, address);
  }

 private:
  FakeOffice& o_;
  std::string name_;
};

class FakeBook : public automation::Workbook {
 public:
  explicit FakeBook(FakeOffice& o) : o_(o) {}
  ~FakeBook() override { o_.log.push_back("~Workbook"); }
  std::unique_ptr<automation::Worksheet> Worksheets(const std::string& name) override {
    o_.Call("Worksheets " + name);
    for (const auto& n : o_.sheet_names)
      if (n == name) return std::make_unique<FakeSheet>(o_, name);
    return nullptr;
  }
  void SaveAs(const std::string& path) override {
    o_.Call("SaveAs " + path);
    std::ofstream(path) << "saved by fake";
    if (!std::ifstream(path)) throw std::runtime_error("cannot write " + path);
  }
  bool Saved() override { return true; }
  void Close() override { o_.Call("Close"); }

 private:
  FakeOffice& o_;
};

class FakeBooks : public automation::Workbooks {
 public:
  explicit FakeBooks(FakeOffice& o) : o_(o) {}
  std::unique_ptr<automation::Workbook> Open(const std::string& path) override {
    o_.Call("Open " + path);
    return std::make_unique<FakeBook>(o_);
  }
  std::unique_ptr<automation::Workbook> Item(const std::string& path) override {
    o_.Call("Item " + path);  // nothing of ours is ever open
    return nullptr;
  }
  int Count() override { return 0; }

 private:
  FakeOffice& o_;
};

class FakeApp : public automation::Application {
 public:
  explicit FakeApp(FakeOffice& o) : o_(o) { ++o_.apps_alive; }
  ~FakeApp() override {
    --o_.apps_alive;
    o_.log.push_back("~Application");
  }
  void Visible(bool v) override { o_.Call(std::string("Visible=") + (v ? "true" : "false")); }
  void DisplayAlerts(bool d) override { o_.Call(std::string("DisplayAlerts=") + (d ? "true" : "false")); }
  std::unique_ptr<automation::Workbooks> Workbooks() override {
    o_.Call("Workbooks");
    return std::make_unique<FakeBooks>(o_);
  }
  bool Quit() override {
    o_.Call("Quit");
    return true;
  }

 private:
  FakeOffice& o_;
};

inline std::unique_ptr<automation::Application> FakeOffice::Create() {
  Call("Create");
  ++apps_created;
  return std::make_unique<FakeApp>(*this);
}

}  // namespace kelmar::testing

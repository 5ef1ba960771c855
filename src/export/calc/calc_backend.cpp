// The LibreOffice Calc back end of the automation layer, loaded by the export at run time.
//
// The office runs as its own process; we talk to it over a named pipe (UNO remote protocol). If
// nothing answers on the pipe we start soffice ourselves, detached, and wait for it: connecting
// to a process we started gives clear errors, where a bootstrap that starts the office itself
// only reports "unknown error". An office the user runs is never terminated from here: other
// documents of the user live in it. Only one that we started and that holds no document at all
// is ended, when the program is done with it.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ustring.hxx>

#include "export/automation.h"

namespace {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OString;
using rtl::OUString;

constexpr const char* kXlsFilter = "MS Excel 97";  // templates and exports alike

OUString U(const std::string& s) { return OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8); }
std::string S(const OUString& s) {
  const OString o = OUStringToOString(s, RTL_TEXTENCODING_UTF8);
  return std::string(o.getStr(), static_cast<std::size_t>(o.getLength()));
}

// The URL is built from the UTF-8 bytes of the path, so it does not depend on the locale of the
// program (a C locale cannot encode a Cyrillic name).
OUString FileUrl(const std::string& path) {
  std::error_code ec;
  const std::string abs = std::filesystem::absolute(path, ec).string();
  std::string url = "file://";
  for (unsigned char c : ec ? path : abs) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) {
      url += static_cast<char>(c);
    } else {
      static const char hex[] = "0123456789ABCDEF";
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return OUString::createFromAscii(url.c_str());
}

// One spelling per file, whatever the URL escaped or whichever link led to it: the decoded path of
// a file URL, resolved. Empty for a document that has no file (untitled) or another kind of URL.
std::string FileOfUrl(const OUString& url) {
  const std::string text = S(url);
  if (text.rfind("file://", 0) != 0) return {};
  std::string path;
  for (std::size_t i = 7; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      path += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += text[i];
    }
  }
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : resolved.string();
}

// Whatever the office would ask the user during a load or a store (an error box, the text
// import of a file that is not a workbook, a password) is answered "abort": the call then fails
// at once and the export reports it. Without our handler a visible office shows its own modal box
// and the call does not return until someone clicks it in the office; Silent does not cover
// storing.
class AbortEveryRequest final : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
 public:
  void SAL_CALL handle(const Reference<css::task::XInteractionRequest>& request) override {
    const Sequence<Reference<css::task::XInteractionContinuation>> choices = request->getContinuations();
    for (const auto& choice : choices)
      if (const Reference<css::task::XInteractionAbort> abort{choice, UNO_QUERY}; abort.is()) return abort->select();
  }
};

// The media descriptor of every load and store: the given properties, our filter and our handler.
Sequence<css::beans::PropertyValue> Media(std::initializer_list<std::pair<const char*, Any>> list) {
  Sequence<css::beans::PropertyValue> props(static_cast<sal_Int32>(list.size() + 2));
  auto* out = props.getArray();
  for (const auto& [name, value] : list) {
    out->Name = OUString::createFromAscii(name);
    out->Value = value;
    ++out;
  }
  out->Name = "FilterName";
  out->Value <<= OUString::createFromAscii(kXlsFilter);
  ++out;
  out->Name = "InteractionHandler";
  out->Value <<= Reference<css::task::XInteractionHandler>(new AbortEveryRequest);
  return props;
}

// UNO exceptions are not std::exceptions: every call from the export goes through here.
template <class F>
auto Call(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const css::uno::Exception& e) {
    const std::string msg = S(e.Message);
    throw std::runtime_error(msg.empty() ? std::string("UNO exception") : msg);
  }
}

// The local UNO runtime, bootstrapped once and kept for the life of the process.
Reference<css::uno::XComponentContext> LocalContext() {
  static Reference<css::uno::XComponentContext>* ctx = [] {
    // Without it the client runtime finds no types and the first service call crashes.
    setenv("URE_BOOTSTRAP", (std::string("vnd.sun.star.pathname:") + kelmar::kOfficeProgramDir + "/fundamentalrc").c_str(), 0);
    return new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
  }();
  return *ctx;
}

bool Utf8Locale() {
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      std::string s(v);
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return s.find("utf-8") != std::string::npos || s.find("utf8") != std::string::npos;
    }
  }
  return false;
}

// Starts the office detached: its own session, output to /dev/null, and a double fork so that
// no launcher is left behind as a zombie of ours. Returns the office launcher's pid.
pid_t StartOffice(const kelmar::OfficeOptions& o, const std::string& program, const std::string& pipe) {
  std::vector<std::string> args = {program, "--accept=pipe,name=" + pipe + ";urp;StarOffice.ComponentContext",
                                   "--norestore", "--nologo", "--nodefault", "--nofirststartwizard"};
  if (o.Headless) args.push_back("--headless");
  if (!o.UserInstallation.empty()) args.push_back("-env:UserInstallation=" + o.UserInstallation);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // A Cyrillic file name cannot be saved by an office running in a non-UTF-8 locale.
  // Everything is prepared before fork(): the child of a threaded process may only exec.
  std::vector<std::string> env;
  const bool fix_locale = !Utf8Locale();
  for (char** e = environ; *e; ++e)
    if (!fix_locale || std::strncmp(*e, "LC_ALL=", 7) != 0) env.emplace_back(*e);
  if (fix_locale) env.emplace_back("LC_ALL=C.UTF-8");
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    if (null >= 0) close(null);
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }
  const pid_t child = fork();
  if (child < 0) {
    if (null >= 0) close(null);
    close(fds[0]);
    close(fds[1]);
    throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  }
  if (child == 0) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild != 0) {
      (void)!write(fds[1], &grandchild, sizeof grandchild);
      _exit(0);
    }
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    close_range(3, ~0U, 0);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (null >= 0) close(null);
  close(fds[1]);
  pid_t office = -1;
  if (read(fds[0], &office, sizeof office) != static_cast<ssize_t>(sizeof office)) office = -1;
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (office <= 0) throw std::runtime_error("fork failed");
  return office;
}

// The launcher is not our child: once it ends it may linger as a zombie until init reaps it.
bool Alive(pid_t pid) {
  if (kill(pid, 0) != 0) return false;
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  FILE* f = std::fopen(path, "r");
  if (!f) return false;
  char state = '?';
  // "pid (comm) S ...": the state follows the last ')'.
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, f) != nullptr;
  std::fclose(f);
  if (const char* close = read ? std::strrchr(line, ')') : nullptr; close && close[1] == ' ') state = close[2];
  return state != 'Z' && state != 'X';
}

Reference<css::uno::XComponentContext> TryConnect(const Reference<css::bridge::XUnoUrlResolver>& resolver,
                                                  const std::string& pipe) {
  try {
    const Reference<css::uno::XInterface> remote =
        resolver->resolve(U("uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext"));
    return Reference<css::uno::XComponentContext>(remote, UNO_QUERY_THROW);
  } catch (const css::connection::NoConnectException&) {
    return {};
  }
}

std::string DefaultPipe() { return "kelmar_office_" + std::to_string(getuid()); }

// The pipes of the offices this process started. A later application object connects to the
// same office without starting it, yet may end it all the same.
std::set<std::string>& StartedPipes() {
  static std::set<std::string> pipes;
  return pipes;
}

bool HaveDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

class CalcRange final : public kelmar::automation::Range {
 public:
  explicit CalcRange(Reference<css::sheet::XCellRangeData> data) : data_(std::move(data)) {}
  void Value(const kelmar::automation::TextArray& values) override {
    Call([&] {
      Sequence<Sequence<Any>> rows(static_cast<sal_Int32>(values.size()));
      auto* row_out = rows.getArray();
      for (const auto& row : values) {
        Sequence<Any> cells(static_cast<sal_Int32>(row.size()));
        auto* cell_out = cells.getArray();
        for (const auto& text : row) *cell_out++ <<= U(text);
        *row_out++ = cells;
      }
      data_->setDataArray(rows);
    });
  }

 private:
  Reference<css::sheet::XCellRangeData> data_;
};

class CalcSheet final : public kelmar::automation::Worksheet {
 public:
  CalcSheet(Reference<css::lang::XComponent> doc, Reference<css::sheet::XSpreadsheet> sheet)
      : doc_(std::move(doc)), sheet_(std::move(sheet)) {}
  void Activate() override {
    Call([&] {
      Reference<css::frame::XModel> model(doc_, UNO_QUERY_THROW);
      Reference<css::sheet::XSpreadsheetView> view(model->getCurrentController(), UNO_QUERY);
      if (view.is()) view->setActiveSheet(sheet_);
    });
  }
  void Cells(int row, int column, const std::string& text) override {
    Call([&] {
      // setString keeps the text a text: "12.5" does not become a number.
      Reference<css::text::XText>(sheet_->getCellByPosition(column - 1, row - 1), UNO_QUERY_THROW)
          ->setString(U(text));
    });
  }
  std::unique_ptr<kelmar::automation::Range> Range(const std::string& address) override {
    return Call([&] {
      Reference<css::table::XCellRange> range(sheet_, UNO_QUERY_THROW);
      return std::make_unique<CalcRange>(
          Reference<css::sheet::XCellRangeData>(range->getCellRangeByName(U(address)), UNO_QUERY_THROW));
    });
  }

 private:
  Reference<css::lang::XComponent> doc_;
  Reference<css::sheet::XSpreadsheet> sheet_;
};

class CalcBook final : public kelmar::automation::Workbook {
 public:
  explicit CalcBook(Reference<css::lang::XComponent> doc) : doc_(std::move(doc)) {}
  std::unique_ptr<kelmar::automation::Worksheet> Worksheets(const std::string& name) override {
    return Call([&]() -> std::unique_ptr<kelmar::automation::Worksheet> {
      Reference<css::sheet::XSpreadsheetDocument> sdoc(doc_, UNO_QUERY_THROW);
      Reference<css::container::XNameAccess> sheets(sdoc->getSheets(), UNO_QUERY_THROW);
      if (!sheets->hasByName(U(name))) return nullptr;
      Reference<css::sheet::XSpreadsheet> sheet(sheets->getByName(U(name)), UNO_QUERY_THROW);
      return std::make_unique<CalcSheet>(doc_, sheet);
    });
  }
  void SaveAs(const std::string& path) override {
    Call([&] {
      Reference<css::frame::XStorable> store(doc_, UNO_QUERY_THROW);
      store->storeAsURL(FileUrl(path), Media({{"Overwrite", Any(true)}}));
    });
  }
  bool Saved() override {
    return Call([&] {
      Reference<css::util::XModifiable> modifiable(doc_, UNO_QUERY);
      return !modifiable.is() || !modifiable->isModified();
    });
  }
  void Close() override {
    Call([&] {
      Reference<css::util::XCloseable> closeable(doc_, UNO_QUERY);
      try {
        if (closeable.is()) return closeable->close(true);
      } catch (const css::util::CloseVetoException&) {
        // A listener in the office vetoed the close: the document goes all the same.
      }
      doc_->dispose();
    });
  }

 private:
  Reference<css::lang::XComponent> doc_;
};

// Every document open in the office, the user's own included.
std::vector<Reference<css::frame::XModel>> ModelsOf(const Reference<css::frame::XDesktop2>& desktop) {
  std::vector<Reference<css::frame::XModel>> models;
  const Reference<css::container::XEnumeration> all = desktop->getComponents()->createEnumeration();
  while (all->hasMoreElements())
    if (Reference<css::frame::XModel> model{all->nextElement(), UNO_QUERY}; model.is()) models.push_back(model);
  return models;
}

class CalcBooks final : public kelmar::automation::Workbooks {
 public:
  CalcBooks(Reference<css::frame::XDesktop2> desktop, bool hidden) : desktop_(std::move(desktop)), hidden_(hidden) {}
  std::unique_ptr<kelmar::automation::Workbook> Open(const std::string& path) override {
    return Call([&] {
      // As a template: the template file itself is neither locked nor bound to the new workbook.
      // The filter is named, so a damaged template fails here instead of being detected as text
      // and offered to the user in the office's import dialog, which would block the export.
      Reference<css::lang::XComponent> doc = desktop_->loadComponentFromURL(
          FileUrl(path), "_blank", 0,
          Media({{"Hidden", Any(hidden_)}, {"AsTemplate", Any(true)}, {"Silent", Any(true)}}));
      if (!doc.is()) throw std::runtime_error("документ не открылся");
      if (!Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY).is()) {
        // Not a workbook (the office opened it in another module): nobody would ever see it.
        if (Reference<css::util::XCloseable> closeable{doc, UNO_QUERY}; closeable.is()) closeable->close(true);
        throw std::runtime_error("не рабочая книга");
      }
      return std::make_unique<CalcBook>(doc);
    });
  }
  std::unique_ptr<kelmar::automation::Workbook> Item(const std::string& path) override {
    return Call([&]() -> std::unique_ptr<kelmar::automation::Workbook> {
      const std::string wanted = FileOfUrl(FileUrl(path));
      for (const auto& model : Models())
        if (FileOfUrl(model->getURL()) == wanted)
          return std::make_unique<CalcBook>(Reference<css::lang::XComponent>(model, UNO_QUERY_THROW));
      return nullptr;
    });
  }
  int Count() override {
    return Call([&] { return static_cast<int>(Models().size()); });
  }

 private:
  std::vector<Reference<css::frame::XModel>> Models() { return ModelsOf(desktop_); }

  Reference<css::frame::XDesktop2> desktop_;
  bool hidden_;
};

class CalcApp final : public kelmar::automation::Application {
 public:
  CalcApp(Reference<css::frame::XDesktop2> desktop, bool force_hidden, std::string pipe)
      : desktop_(std::move(desktop)), force_hidden_(force_hidden), pipe_(std::move(pipe)) {}
  void Visible(bool visible) override { visible_ = visible; }
  // Calc asks nothing of an API caller; the flag is kept for symmetry with the object model.
  void DisplayAlerts(bool display) override { alerts_ = display; }
  std::unique_ptr<kelmar::automation::Workbooks> Workbooks() override {
    return std::make_unique<CalcBooks>(desktop_, force_hidden_ || !visible_);
  }
  bool Quit() override {
    if (StartedPipes().count(pipe_) == 0) return false;
    if (!Call([&] { return ModelsOf(desktop_).empty(); })) return false;
    StartedPipes().erase(pipe_);
    try {
      return desktop_->terminate();
    } catch (const css::uno::Exception&) {
      return true;  // the bridge went down with the office before the answer came
    }
  }

 private:
  Reference<css::frame::XDesktop2> desktop_;
  bool force_hidden_;
  std::string pipe_;
  bool visible_ = false;
  bool alerts_ = false;
};

kelmar::automation::Application* Create(const kelmar::OfficeOptions& o) {
  const std::string program = o.OfficeProgram.empty() ? std::string(kelmar::kOfficeProgramDir) + "/soffice" : o.OfficeProgram;
  const std::string pipe = o.PipeName.empty() ? DefaultPipe() : o.PipeName;
  const Reference<css::uno::XComponentContext> local = Call([] { return LocalContext(); });
  const Reference<css::bridge::XUnoUrlResolver> resolver =
      Call([&] { return css::bridge::UnoUrlResolver::create(local); });

  Reference<css::uno::XComponentContext> remote = Call([&] { return TryConnect(resolver, pipe); });
  if (!remote.is()) {
    if (access(program.c_str(), X_OK) != 0) throw std::runtime_error("не найдена программа " + program);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(o.StartTimeoutMs);
    // An office on a new profile, or one still closing down on the same profile, can end the
    // launcher without answering; a second launch then gets through, so only the second end
    // counts as a failure.
    for (int launch = 1; !remote.is(); ++launch) {
      const pid_t office = StartOffice(o, program, pipe);
      // An office already running on the same profile takes our request and the launcher exits
      // at once, so the launcher's end only shortens the wait, it is no failure by itself.
      auto gone_deadline = Clock::time_point::max();
      for (;;) {
        remote = Call([&] { return TryConnect(resolver, pipe); });
        if (remote.is()) break;
        const auto now = Clock::now();
        if (gone_deadline == Clock::time_point::max() && !Alive(office))
          gone_deadline = now + std::chrono::seconds(3);
        if (now > deadline)
          throw std::runtime_error("LibreOffice не ответил за " + std::to_string(o.StartTimeoutMs / 1000) + " с");
        if (now > gone_deadline) {
          if (launch == 2) throw std::runtime_error("LibreOffice завершился, не открыв соединение");
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
    StartedPipes().insert(pipe);
  }
  Reference<css::frame::XDesktop2> desktop = Call([&] { return css::frame::Desktop::create(remote); });
  // A visible load without a display brings the office down.
  const bool force_hidden = o.Headless || o.HiddenDocuments || !HaveDisplay();
  return new CalcApp(desktop, force_hidden, pipe);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) kelmar::automation::Application* kelmar_calc_create(
    const kelmar::OfficeOptions* options, std::string* error) {
  // The bridge writes to the office's pipe; an office that goes away must give a failed call,
  // not a SIGPIPE that ends the whole program.
  signal(SIGPIPE, SIG_IGN);
  try {
    return Create(*options);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
  } catch (const css::uno::Exception& e) {
    if (error) *error = S(e.Message);
  } catch (...) {
    if (error) *error = "неизвестная ошибка";
  }
  return nullptr;
}

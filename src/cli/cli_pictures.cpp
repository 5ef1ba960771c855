#include "cli/cli_pictures.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cli/cli.h"
#include "core/day_serial.h"
#include "cli/cli_places.h"
#include "pictures/pictures.h"
#include "settings/horizon_profile.h"

namespace kelmar {
namespace {

struct Output {
  std::string path;
  QSize size;
};

Output OutputOf(const CliOptions& opts) {
  if (opts.Has("--svg") == opts.Has("--png")) throw UsageError("give exactly one of --svg and --png");
  const bool svg = opts.Has("--svg");
  Output out{pictures::WithPictureExtension(*opts.Value(svg ? "--svg" : "--png"), svg), QSize(1200, 600)};
  if (const std::string* size = opts.Value("--size")) {
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(size->c_str(), "%dx%d%c", &w, &h, &end) != 2 || w < 200 || w > 4000 || h < 200 || h > 4000)
      throw UsageError("--size takes WxH, each from 200 to 4000");
    out.size = QSize(w, h);
  }
  return out;
}

// Qt's own chatter (such as a missing XDG_RUNTIME_DIR) is no business of the tool's user, whose
// errors come as the tool's messages; only what stops Qt reaches stderr.
QtMessageHandler qt_default_handler = nullptr;
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) qt_default_handler(type, context, text);
}

// The file's pixels must not depend on the desktop: offscreen, unless the user chose a platform.
void Draw(const CliOptions& opts, const pictures::Painting& paint) {
  const Output out = OutputOf(opts);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qt_default_handler = qInstallMessageHandler(QuietQtMessages);
  static int argc = 1;
  static char name[] = "kelmar-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  if (opts.Has("--svg")) {
    pictures::SaveSvg(out.path, out.size, paint);
  } else {
    pictures::SavePng(out.path, out.size, paint);
  }
}

std::string PlaceTitle(const CliOptions& opts, const InputFields& in) {
  if (const std::string* place = opts.Value("--place")) return *place;
  return in.latitude + ", " + in.longitude;
}

std::string TwoDigits(int n) { return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)}; }

}  // namespace

int RunSky(const std::vector<std::string>& args) {
  const CliOptions opts = ParseOptions(
      args, 1, {"--lat", "--lon", "--date", "--horizon", "--horizon-file", "--gmt", "--msk", "--svg", "--png", "--size", "--place", "--settings"}, {});
  OutputOf(opts);
  const InputFields in = FieldsFromOptions(opts);
  const CalendarDate date = DateOption(opts);
  const int y = date.year, m = date.month, d = date.day;
  std::string horizon_text;
  if (opts.Has("--place")) horizon_text = StoredHorizon(opts);
  if (opts.Has("--horizon") && opts.Has("--horizon-file")) throw UsageError("--horizon and --horizon-file exclude each other");
  if (const std::string* h = opts.Value("--horizon")) horizon_text = *h;
  if (const std::string* file = opts.Value("--horizon-file")) {
    std::ifstream in_file(*file, std::ios::binary);
    std::stringstream bytes;
    bytes << in_file.rdbuf();
    if (!in_file) throw std::runtime_error("Cannot open file " + *file);
    horizon_text = HorizonFromProfile(bytes.str());
  }
  pictures::SkyScene scene = pictures::MakeSkyScene(in, y, m, d, Horizon::Parse(horizon_text));
  scene.title = PlaceTitle(opts, in) + "   " + TwoDigits(d) + "." + TwoDigits(m) + "." + std::to_string(y) + "   " +
                pictures::ZoneTitle(in);
  Draw(opts, [&](QPainter& p, QSizeF size) { pictures::DrawSky(p, size, scene); });
  return 0;
}

int RunYear(const std::vector<std::string>& args) {
  const CliOptions opts =
      ParseOptions(args, 1, {"--lat", "--lon", "--year", "--gmt", "--msk", "--angle", "--height", "--svg", "--png", "--size",
                             "--place", "--settings"},
                   {});
  OutputOf(opts);
  const InputFields in = FieldsFromOptions(opts);
  const int year = NumberOption(opts, "--year", Today().tm_year + 1900, 1, 9999);
  pictures::YearScene scene = pictures::MakeYearScene(in, year);
  scene.title = PlaceTitle(opts, in) + "   " + std::to_string(year) + "   " + pictures::ZoneTitle(in);
  Draw(opts, [&](QPainter& p, QSizeF size) { pictures::DrawYear(p, size, scene); });
  return 0;
}

}  // namespace kelmar

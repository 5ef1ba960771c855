#include "cli/cli_host.h"

#include <QGuiApplication>
#include <optional>

#include "core/magnetic.h"
#include "pictures/pictures.h"
#include "settings/file_layout.h"
#include "settings/settings_io.h"

namespace kelmar {
namespace {

// The layout of the "kelmar" executable beside this one; nothing when this one's folder is unknown.
std::optional<FileLayout> WindowLayout() {
  const std::string exe = ExecutablePath();
  const std::size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string dir = exe.substr(0, slash);
  return ChooseLayout(dir, SettingsPathFor(dir + "/kelmar"), EnvironmentUserDirs());
}

// Qt's own chatter (such as a missing XDG_RUNTIME_DIR) is no business of the tool's user, whose
// errors come as the tool's messages; only what stops Qt reaches stderr.
QtMessageHandler qt_default_handler = nullptr;
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) qt_default_handler(type, context, text);
}

// The file's pixels must not depend on the desktop: offscreen, unless the user chose a platform.
void Draw(const PictureFile& file, const pictures::Painting& paint) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qt_default_handler = qInstallMessageHandler(QuietQtMessages);
  static int argc = 1;
  static char name[] = "kelmar-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  const QSize size(file.width, file.height);
  if (file.svg) {
    pictures::SaveSvg(file.path, size, paint);
  } else {
    pictures::SavePng(file.path, size, paint);
  }
}

}  // namespace

std::string DefaultSettingsPath() {
  // The window's file: the settings path of the "kelmar" executable beside this one, or, when
  // installed, the user's file (the starter file while there is none; it is never made here).
  const std::optional<FileLayout> layout = WindowLayout();
  return layout ? SettingsToRead(*layout) : SettingsPathFor("kelmar");
}

std::string DefaultMagneticModelDir() {
  const std::optional<FileLayout> layout = WindowLayout();
  return layout ? layout->data_dir + "magnetic" : MagneticModelDir();
}

LoadedSettings ReadSettingsFile(const std::string& path) { return LoadSettings(path); }

void SaveSkyPicture(const PictureFile& file, const SkyScene& scene) {
  Draw(file, [&](QPainter& p, QSizeF size) { pictures::DrawSky(p, size, scene); });
}

void SaveYearPicture(const PictureFile& file, const YearScene& scene) {
  Draw(file, [&](QPainter& p, QSizeF size) { pictures::DrawYear(p, size, scene); });
}

}  // namespace kelmar

#include "settings/settings_file.h"

#include <QByteArray>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "core/number_text.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

constexpr const char* kPoints = kSectionPoints;
constexpr const char* kForm = kSectionForm;

std::string CannotOpen(const std::string& path) { return "Cannot open file " + path; }
std::string CannotCreate(const std::string& path) { return "Cannot create file " + path; }

// The file's bytes; nullopt when there is no file; throws `error` when a file (or something
// else) is there but cannot be read whole.
std::optional<std::string> ReadFileBytes(const std::string& path, const std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;  // dangling links included
    throw SettingsError(error);
  }
  if (S_ISDIR(st.st_mode)) throw SettingsError(error);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw SettingsError(error);
  std::string bytes;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      throw SettingsError(error);
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

SettingsImage ReadImage(const std::string& path, const std::string& error) {
  const auto bytes = ReadFileBytes(path, error);
  return bytes ? SettingsImage::FromBytes(*bytes) : SettingsImage();
}

// A place is a "Points" line with "=" and a name; anything else in the section (a line
// without "=", "=1;2") names no place.
bool IsPlaceLine(const SettingsImage::Line& line) { return line.has_eq && !line.name.empty(); }

// A line end inside a text would split its line in the file (and could start a section).
std::string OneLine(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return s;
}

}  // namespace

std::string BoolToText(bool value) { return value ? "1" : "0"; }

bool TextToBool(std::string_view text) { return text == "1"; }

std::string SettingsPathFor(std::string_view exe_path) {
  const std::size_t slash = exe_path.rfind('/');
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = exe_path.rfind('.');
  std::string path(exe_path);
  if (dot != std::string_view::npos && dot >= name_start) path.resize(dot);
  return path + ".INI";
}

std::string ExecutablePath() {
  std::error_code ec;
  const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

LoadedSettings LoadSettings(const std::string& SettingsPath) {
  return LoadedFromImage(ReadImage(SettingsPath, CannotOpen(SettingsPath)));
}

LoadedSettings LoadedFromImage(const SettingsImage& image) {
  LoadedSettings out;
  if (const SettingsImage::Section* points = image.FindSection(kPoints)) {
    for (const SettingsImage::Line& line : points->lines) {
      if (!IsPlaceLine(line)) continue;
      // Looked up by name, so of two lines with one name the later one's value is read.
      const std::string value = image.ReadString(kPoints, line.name, "0");
      const std::size_t semi = value.find(';');
      if (semi == std::string::npos) {
        out.places.Append(line.name, std::string(), value);
      } else {
        out.places.Append(line.name, value.substr(0, semi), value.substr(semi + 1));
      }
    }
  }
  out.EditKm = image.ReadString(kForm, "EK", "0");
  out.EditUg = image.ReadString(kForm, "EU", "0");
  out.EditMSK = image.ReadString(kForm, "EM", "0");
  out.EditGMT = image.ReadString(kForm, "EG", "0");

  const std::optional<int> ind = ParseInt(image.ReadString(kForm, "Ind", "0"));
  out.PlaceIndex = ind && *ind >= 0 && *ind < out.places.Count() ? *ind : 0;
  if (!out.places.Empty()) {
    out.EditSir = out.places.lats[static_cast<std::size_t>(out.PlaceIndex)];
    out.EditDolg = out.places.lons[static_cast<std::size_t>(out.PlaceIndex)];
  }
  out.RadioButtonGMT = TextToBool(image.ReadString(kForm, "RBG", "0"));
  out.RadioButtonUgol = TextToBool(image.ReadString(kForm, "RB3", "0"));
  return out;
}

void ApplyLoadedSettings(const LoadedSettings& loaded, PlaceList& places, CalcState& st,
                         InputFields& in) {
  places = loaded.places;
  st.PlaceCount = loaded.places.Count();
  st.PlaceIndex = loaded.PlaceIndex;
  in.EditSir = loaded.EditSir;
  in.EditDolg = loaded.EditDolg;
  in.EditKm = loaded.EditKm;
  in.EditUg = loaded.EditUg;
  in.EditMSK = loaded.EditMSK;
  in.EditGMT = loaded.EditGMT;
  in.RadioButtonMSK = !loaded.RadioButtonGMT;
  in.RadioButtonUgol = loaded.RadioButtonUgol;
}

void StoreIntoImage(SettingsImage& image, const PlaceList& places, int PlaceIndex,
                    const InputFields& in) {
  // Lines of "Points" that name no place are not ours to drop.
  std::vector<SettingsImage::Line> kept;
  if (const SettingsImage::Section* points = image.FindSection(kPoints))
    for (const SettingsImage::Line& line : points->lines)
      if (!IsPlaceLine(line)) kept.push_back(line);

  image.EraseSection(kPoints);
  for (int i = 0; i < places.Count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (places.names[k].empty()) break;
    image.WriteString(kPoints, OneLine(places.names[k]),
                      OneLine(places.lats[k] + ";" + places.lons[k]));
  }
  for (SettingsImage::Line& line : kept) image.AppendLine(kPoints, std::move(line));
  image.WriteString(kForm, "Ind", std::to_string(PlaceIndex));
  image.WriteString(kForm, "RB3", BoolToText(in.RadioButtonUgol));
  image.WriteString(kForm, "RBG", BoolToText(in.RadioButtonGMT()));
  image.WriteString(kForm, "EK", OneLine(in.EditKm));
  image.WriteString(kForm, "EU", OneLine(in.EditUg));
  image.WriteString(kForm, "EM", OneLine(in.EditMSK));
  image.WriteString(kForm, "EG", OneLine(in.EditGMT));
}

void SaveSettings(const std::string& SettingsPath, const PlaceList& places, int PlaceIndex,
                  const InputFields& in) {
  const std::string error = CannotCreate(SettingsPath);
  // What cannot be read cannot be carried over: refuse rather than drop it.
  SettingsImage image = ReadImage(SettingsPath, error);
  StoreIntoImage(image, places, PlaceIndex, in);

  const std::string bytes = image.ToBytes();
  // QSaveFile writes a temporary file beside the target (a symbolic link's target, not the
  // link) and renames it over the old file only after everything is written and synced, so
  // a crash or a full disk leaves the old file whole.
  QSaveFile file(QString::fromStdString(SettingsPath));
  if (!file.open(QIODevice::WriteOnly)) throw SettingsError(error);
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size) {
    file.cancelWriting();
    throw SettingsError(error);
  }
  if (!file.commit()) throw SettingsError(error);
}

}  // namespace kelmar

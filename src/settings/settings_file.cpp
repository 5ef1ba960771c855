#include "settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>
#include <unistd.h>

#include "core/number_text.h"
#include "settings/cp1251.h"
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

// The file a path finally names: symbolic links followed, also when the last one dangles.
std::string FinalTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = path;
  std::error_code ec;
  for (int depth = 0; depth < 40 && fs::is_symlink(p, ec); ++depth) {
    const fs::path t = fs::read_symlink(p, ec);
    if (ec) break;
    p = t.is_absolute() ? t : p.parent_path() / t;
  }
  return p.string();
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // a short write is followed by the error (full disk, quota)
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes the whole text into a new file beside the target and renames it over the target
// only when it is complete and on disk, so a crash or a full disk leaves the old file whole.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::string target = FinalTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  if (ok && exists) {
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    // Keeps the owner when run as root; anyone else's new file is theirs already.
    [[maybe_unused]] const int owner_kept = ::fchown(fd, old.st_uid, old.st_gid);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const std::string dir = std::filesystem::path(target).parent_path().string();
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
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
  const auto bytes = ReadFileBytes(SettingsPath, CannotOpen(SettingsPath));
  LoadedSettings out = LoadedFromImage(bytes ? SettingsImage::FromBytes(*bytes) : SettingsImage());
  out.cut_short = bytes && bytes->find('\0') != std::string::npos;
  return out;
}

std::string CutShortMessage(const std::string& SettingsPath) {
  return "Файл настроек " + SettingsPath +
         " повреждён (обрывается на нулевом байте) и не будет перезаписан. Исправьте или удалите его.";
}

std::optional<std::string> CaseTwinsMessage(const PlaceList& places) {
  // The names of each line that more than one place shares, in the order of the list.
  std::vector<std::string> keys;
  std::unordered_map<std::string, std::vector<std::string>> names_of;
  for (const std::string& name : places.names) {
    auto& names = names_of[UpperCp1251(name)];
    if (names.empty()) keys.push_back(UpperCp1251(name));
    names.push_back(name);
  }
  std::string list;
  for (const std::string& key : keys) {
    const auto& names = names_of[key];
    if (names.size() < 2) continue;
    if (!list.empty()) list += "; ";
    for (std::size_t i = 0; i < names.size(); ++i) list += (i > 0 ? ", " : "") + names[i];
  }
  if (list.empty()) return std::nullopt;
  return "Названия пунктов, различающиеся только регистром букв, занимают в файле одну строку "
         "и будут объединены при закрытии: " + list;
}

LoadedSettings LoadedFromImage(const SettingsImage& image) {
  LoadedSettings out;
  if (const SettingsImage::Section* points = image.FindSection(kPoints)) {
    // Names are looked up regardless of case, so of two lines with one name every entry
    // reads the later line's value.
    std::unordered_map<std::string, const std::string*> last;
    std::vector<std::string> keys;
    for (const SettingsImage::Line& line : points->lines) {
      keys.push_back(IsPlaceLine(line) ? UpperCp1251(line.name) : std::string());
      if (IsPlaceLine(line)) last[keys.back()] = &line.value;
    }
    for (std::size_t i = 0; i < points->lines.size(); ++i) {
      const SettingsImage::Line& line = points->lines[i];
      if (!IsPlaceLine(line)) continue;
      const std::string& value = *last.at(keys[i]);
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
  // A new section at the end, written even with no place: a hand-edited file may hold an
  // older "Points" further up, which must neither receive the places nor show at next start.
  image.AppendSection(kPoints);
  // One line per name regardless of case, as writing each key in turn would give: a later
  // place of an equal name replaces the earlier one's line in its position.
  std::vector<SettingsImage::Line> lines;
  std::unordered_map<std::string, std::size_t> line_of;
  for (int i = 0; i < places.Count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (places.names[k].empty()) break;
    SettingsImage::Line line{OneLine(places.names[k]), OneLine(places.lats[k] + ";" + places.lons[k]), true};
    const auto [it, added] = line_of.emplace(UpperCp1251(line.name), lines.size());
    if (added) {
      lines.push_back(std::move(line));
    } else {
      lines[it->second] = std::move(line);
    }
  }
  // The selection is stored as the line its place ends up in: names merged into one line
  // would otherwise leave it pointing past the end or at another place.
  int stored_index = PlaceIndex;
  if (PlaceIndex >= 0 && PlaceIndex < places.Count()) {
    const auto it = line_of.find(UpperCp1251(OneLine(places.names[static_cast<std::size_t>(PlaceIndex)])));
    if (it != line_of.end()) stored_index = static_cast<int>(it->second);
  }
  for (SettingsImage::Line& line : lines) image.AppendLine(kPoints, std::move(line));
  for (SettingsImage::Line& line : kept) image.AppendLine(kPoints, std::move(line));
  image.WriteString(kForm, "Ind", std::to_string(stored_index));
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

  if (!ReplaceFile(SettingsPath, image.ToBytes())) throw SettingsError(error);
}

}  // namespace kelmar

#include "settings/settings_file.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
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
#include "settings/starter_bytes.h"

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

// True for a name that an interrupted save of `file` leaves beside it: the writer's unfinished
// file "<file>.XXXXXX" (six random letters and digits), or "<file>.tmp<pid>-<n>" of earlier
// versions. Six characters of one kind only ("backup", "BACKUP") are taken for the user's own
// file and kept; the rare random name of that shape is left for the user to remove.
bool IsSaveLeftover(std::string_view name, std::string_view file) {
  if (name.size() <= file.size() + 1 || !name.starts_with(file) || name[file.size()] != '.') return false;
  const std::string_view rest = name.substr(file.size() + 1);
  auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  auto digits = [](std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (rest.size() == 6 && std::all_of(rest.begin(), rest.end(), alnum)) {
    const bool lower = std::any_of(rest.begin(), rest.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    const bool upper = std::any_of(rest.begin(), rest.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    const bool digit = std::any_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
    return lower + upper + digit >= 2;
  }
  if (!rest.starts_with("tmp")) return false;
  const std::size_t dash = rest.find('-');
  return dash != std::string_view::npos && digits(rest.substr(3, dash - 3)) && digits(rest.substr(dash + 1));
}

// Removes the regular files an interrupted save of `target` left beside it.
void RemoveSaveLeftovers(const std::string& target) {
  namespace fs = std::filesystem;
  const fs::path t = target;
  const std::string file = t.filename().string();
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(t.parent_path().empty() ? "." : t.parent_path(), ec))
    if (IsSaveLeftover(e.path().filename().string(), file) && e.is_regular_file(ec) && !e.is_symlink(ec))
      fs::remove(e.path(), ec);
}

// Writes the whole text into a new file beside the target and renames it over the target
// only when it is complete and on disk, so a crash or a full disk leaves the old file whole.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::string target = FinalTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;
  RemoveSaveLeftovers(target);

  QSaveFile file(QFile::decodeName(QByteArray::fromStdString(target)));
  // Unbuffered, so a short write (a full disk) shows in the count rather than being lost in a flush.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
    return false;  // the unfinished file goes with `file`
  if (exists) {
    // QSaveFile keeps the read and write bits only; the file keeps every mode bit it had.
    if (::fchmod(file.handle(), old.st_mode & 07777) != 0) return false;
    // Keeps the owner when run as root; anyone else's new file is theirs already.
    [[maybe_unused]] const int owner_kept = ::fchown(file.handle(), old.st_uid, old.st_gid);
  }
  if (!file.commit()) return false;
  // QSaveFile syncs the file, not the folder: make the rename itself durable.
  const std::string dir = std::filesystem::path(target).parent_path().string();
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

// The outage tab's "Form" keys with their defaults.
template <class Text>
auto OutageKeys(Text& slot, Text& dish, Text& frequency) {
  struct Key {
    const char* name;
    Text& value;
    const char* fallback;
  };
  static const InputFields defaults;
  return std::array<Key, 3>{Key{"ESlot", slot, defaults.slot.c_str()}, Key{"EDish", dish, defaults.dish.c_str()},
                            Key{"EFreq", frequency, defaults.frequency.c_str()}};
}

}  // namespace

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
  // With no file, or nothing in it, the window starts as the starter file sets it up rather
  // than with every field 0; the starter's places are not taken.
  if (!bytes || bytes->find_first_not_of(" \t\r\n") == std::string::npos) {
    SettingsImage starter = SettingsImage::FromBytes(std::string_view(kStarterBytes, sizeof kStarterBytes - 1));
    starter.EraseSection(kPoints);
    return LoadedFromImage(starter);
  }
  LoadedSettings out = LoadedFromImage(SettingsImage::FromBytes(*bytes));
  out.cut_short = bytes->find('\0') != std::string::npos;
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
  for (const Place& place : places) {
    auto& names = names_of[UpperCp1251(place.name)];
    if (names.empty()) keys.push_back(UpperCp1251(place.name));
    names.push_back(place.name);
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
    out.EditSir = out.places[out.PlaceIndex].lat;
    out.EditDolg = out.places[out.PlaceIndex].lon;
  }
  out.RadioButtonGMT = TextToBool(image.ReadString(kForm, "RBG", "0"));
  out.RadioButtonUgol = TextToBool(image.ReadString(kForm, "RB3", "0"));
  for (auto& [key, value, fallback] : OutageKeys(out.ESlot, out.EDish, out.EFreq)) value = image.ReadString(kForm, key, fallback);
  out.CheckBoxMagAz = TextToBool(image.ReadString(kForm, kMagAzKey, "0"));
  out.horizons = HorizonsFromImage(image);
  out.names = NamesFromImage(image);
  return out;
}

InputFields LoadedSettings::Fields() const {
  InputFields in;
  in.latitude = EditSir;
  in.longitude = EditDolg;
  in.twilight_height = EditKm;
  in.twilight_angle = EditUg;
  in.msk_offset = EditMSK;
  in.gmt_offset = EditGMT;
  in.zone = RadioButtonGMT ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
  in.twilight = RadioButtonUgol ? TwilightKind::ByAngle : TwilightKind::ByHeight;
  in.slot = ESlot;
  in.dish = EDish;
  in.frequency = EFreq;
  in.compass = CheckBoxMagAz;
  return in;
}

void ApplyLoadedSettings(const LoadedSettings& loaded, PlaceList& places, int& PlaceIndex,
                         InputFields& in) {
  places = loaded.places;
  PlaceIndex = loaded.PlaceIndex;
  const bool seconds = in.seconds;
  in = loaded.Fields();
  in.seconds = seconds;
}

void StoreIntoImage(SettingsImage& image, const PlaceList& places, int PlaceIndex,
                    const InputFields& in, const HorizonTexts* horizons, const SlotNames* names) {
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
  for (const Place& place : places) {
    if (place.name.empty()) break;
    SettingsImage::Line line{OneLine(place.name), OneLine(place.lat + ";" + place.lon), true};
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
    const auto it = line_of.find(UpperCp1251(OneLine(places[PlaceIndex].name)));
    if (it != line_of.end()) stored_index = static_cast<int>(it->second);
  }
  for (SettingsImage::Line& line : lines) image.AppendLine(kPoints, std::move(line));
  for (SettingsImage::Line& line : kept) image.AppendLine(kPoints, std::move(line));
  image.WriteString(kForm, "Ind", std::to_string(stored_index));
  image.WriteString(kForm, "RB3", BoolToText(in.ByAngle()));
  image.WriteString(kForm, "RBG", BoolToText(!in.FromMoscow()));
  image.WriteString(kForm, "EK", OneLine(in.twilight_height));
  image.WriteString(kForm, "EU", OneLine(in.twilight_angle));
  image.WriteString(kForm, "EM", OneLine(in.msk_offset));
  image.WriteString(kForm, "EG", OneLine(in.gmt_offset));
  // Keys younger than the file are written only once they differ from their defaults or the
  // file has them: a file whose user never used the outage tab or compass azimuths stays byte
  // for byte as it was.
  auto write_new_key = [&](const char* key, const std::string& value, std::string_view fallback) {
    if (value != fallback || image.Read(kForm, key)) image.WriteString(kForm, key, OneLine(value));
  };
  for (const auto& [key, value, fallback] : OutageKeys(in.slot, in.dish, in.frequency)) write_new_key(key, value, fallback);
  write_new_key(kMagAzKey, BoolToText(in.compass), "0");
  if (horizons != nullptr) StoreHorizons(image, places, *horizons);
  if (names != nullptr) StoreNames(image, *names);
}

void SaveSettings(const std::string& SettingsPath, const PlaceList& places, int PlaceIndex,
                  const InputFields& in, const HorizonTexts* horizons, const SlotNames* names) {
  const std::string error = CannotCreate(SettingsPath);
  // What cannot be read cannot be carried over: refuse rather than drop it.
  SettingsImage image = ReadImage(SettingsPath, error);
  StoreIntoImage(image, places, PlaceIndex, in, horizons, names);

  if (!ReplaceFile(SettingsPath, image.ToBytes())) throw SettingsError(error);
}

}  // namespace kelmar

#include "settings/settings_io.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/settings_image.h"

namespace kelmar {
namespace {

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

void SaveSettings(const std::string& SettingsPath, const PlaceList& places, int PlaceIndex,
                  const InputFields& in, const HorizonTexts* horizons) {
  const std::string error = CannotCreate(SettingsPath);
  // What cannot be read cannot be carried over: refuse rather than drop it.
  SettingsImage image = ReadImage(SettingsPath, error);
  StoreIntoImage(image, places, PlaceIndex, in, horizons);

  if (!ReplaceFile(SettingsPath, image.ToBytes())) throw SettingsError(error);
}

}  // namespace kelmar

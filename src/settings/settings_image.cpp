#include "settings/settings_image.h"

#include <utility>

#include "settings/cp1251.h"

namespace kelmar {
namespace {

bool IsLow(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string_view TrimLow(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && IsLow(text[b])) ++b;
  while (e > b && IsLow(text[e - 1])) --e;
  return text.substr(b, e - b);
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a == b) return true;
  return UpperCp1251(a) == UpperCp1251(b);
}

SettingsImage SettingsImage::FromText(std::string_view text) {
  SettingsImage image;
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line = TrimLow(text.substr(pos, end - pos));
    // CR LF is one line end; a lone CR or a lone LF is one as well.
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
      pos = end + 2;
    } else {
      pos = end + 1;
    }

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      image.sections_.push_back({std::string(TrimLow(line.substr(1, line.size() - 2))), {}});
      current = &image.sections_.back();
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->lines.push_back({std::string(), std::string(line), false});
    } else {
      current->lines.push_back({std::string(TrimLow(line.substr(0, eq))),
                                std::string(TrimLow(line.substr(eq + 1))), true});
    }
  }
  return image;
}

SettingsImage SettingsImage::FromBytes(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  return FromText(DecodeCp1251(bytes));
}

std::string SettingsImage::ToText() const {
  std::string out;
  for (const Section& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const Line& l : s.lines) {
      if (l.has_eq) {
        out += l.name;
        out += '=';
      }
      out += l.value;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

std::string SettingsImage::ToBytes() const { return EncodeCp1251Lossy(ToText()); }

const SettingsImage::Section* SettingsImage::FindSection(std::string_view name) const {
  const std::string up = UpperCp1251(name);
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it)
    if (it->name == name || UpperCp1251(it->name) == up) return &*it;
  return nullptr;
}

SettingsImage::Section* SettingsImage::FindSectionMut(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> SettingsImage::Read(std::string_view section,
                                               std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  const std::string up = UpperCp1251(key);
  for (auto it = s->lines.rbegin(); it != s->lines.rend(); ++it)
    if (it->has_eq && (it->name == key || UpperCp1251(it->name) == up)) return it->value;
  return std::nullopt;
}

std::string SettingsImage::ReadString(std::string_view section, std::string_view key,
                                      std::string_view default_value) const {
  if (auto v = Read(section, key)) return *std::move(v);
  return std::string(default_value);
}

void SettingsImage::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  Section* s = FindSectionMut(section);
  if (s == nullptr) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  const std::string up = UpperCp1251(key);
  for (auto it = s->lines.rbegin(); it != s->lines.rend(); ++it) {
    if (it->has_eq && (it->name == key || UpperCp1251(it->name) == up)) {
      *it = {std::string(key), std::string(value), true};
      return;
    }
  }
  s->lines.push_back({std::string(key), std::string(value), true});
}

void SettingsImage::AppendSection(std::string_view name) {
  sections_.push_back({std::string(name), {}});
}

void SettingsImage::AppendLine(std::string_view section, Line line) {
  Section* s = FindSectionMut(section);
  if (s == nullptr) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  s->lines.push_back(std::move(line));
}

void SettingsImage::EraseSection(std::string_view name) {
  const Section* s = FindSection(name);
  if (s == nullptr) return;
  sections_.erase(sections_.begin() + (s - sections_.data()));
}

}  // namespace kelmar

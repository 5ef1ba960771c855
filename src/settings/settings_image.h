#pragma once
// SettingsImage: the in-memory copy of an INI settings file, an ordered list of sections each
// holding an ordered list of lines. Texts are UTF-8; the file's bytes are Windows-1251.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

// Removes leading and trailing characters whose code is 32 or less.
std::string_view TrimLow(std::string_view text);

class SettingsImage {
 public:
  struct Line {
    std::string name;   // trimmed text before the first "="; empty for a line without "="
    std::string value;  // trimmed text after it; the whole line when there is no "="
    bool has_eq = true;
    bool operator==(const Line&) const = default;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    bool operator==(const Section&) const = default;
  };

  SettingsImage() = default;

  // Parses UTF-8 text: CR LF, lone CR or lone LF end a line; lines are trimmed; empty lines,
  // ";" comments and lines before the first "[section]" are dropped.
  static SettingsImage FromText(std::string_view utf8);
  // Parses the file's bytes (Windows-1251; a NUL byte ends the text).
  static SettingsImage FromBytes(std::string_view bytes);

  // "[name]", its lines, one empty line, for every section; every line ends with CR LF.
  std::string ToText() const;
  // ToText in Windows-1251; a character the code page cannot hold is written as "?".
  std::string ToBytes() const;

  // Case-insensitive lookups (upper case of the code page); the later section or line wins.
  const Section* FindSection(std::string_view name) const;
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

  // Replaces the line of that name in the section (appending the line, or the section at the
  // end, when missing).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Appends an empty section at the end; lookups find it from then on.
  void AppendSection(std::string_view name);
  // Appends a line as it is to the section (appending the section when missing).
  void AppendLine(std::string_view section, Line line);
  // Removes the section that lookups find (the later one when the name occurs twice).
  void EraseSection(std::string_view name);

  const std::vector<Section>& Sections() const { return sections_; }
  bool operator==(const SettingsImage&) const = default;

 private:
  Section* FindSectionMut(std::string_view name);
  std::vector<Section> sections_;
};

// Keys compare equal when their code-page upper cases do.
bool SameKey(std::string_view a, std::string_view b);

}  // namespace kelmar

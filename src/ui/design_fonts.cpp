#include "design_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <algorithm>
#include <QStringList>

namespace kelmar::ui {

// Qt keeps its font engines and its fallback lists per family name, and every new one costs a
// round of fontconfig at start-up. Where the designed faces are missing, all three names end
// on the same substitute: naming it straight away makes them one font.
QString DesignFamily(const QString& family) {
  const QStringList candidates = QStringList{family} + QFont::substitutes(family);
  static QHash<QString, QString> resolved;  // by the names tried: the substitutes may be set later
  const QString key = candidates.join(QLatin1Char('\n'));
  if (const auto it = resolved.constFind(key); it != resolved.cend()) return *it;
  const QStringList installed = QFontDatabase::families();
  QString face = family;
  for (const QString& name : candidates) {
    const auto found = std::find_if(installed.begin(), installed.end(),
                                    [&](const QString& f) { return f.compare(name, Qt::CaseInsensitive) == 0; });
    if (found != installed.end()) {
      face = *found;
      break;
    }
  }
  resolved.insert(key, face);
  return face;
}

}  // namespace kelmar::ui

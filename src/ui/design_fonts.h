#pragma once
// The faces the window was designed in, as the fonts Qt will really use.
#include <QString>

namespace kelmar::ui {

// `family` as designed ("Tahoma", "MS Sans Serif", "Arial") when it is installed; otherwise the
// first of its substitutes that is, the face Qt would settle on for it; `family` itself when
// none is.
QString DesignFamily(const QString& family);

}  // namespace kelmar::ui

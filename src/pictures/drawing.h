#pragma once
// What the two pictures share: fonts in pixels (so a picture does not depend on the screen's
// dots per inch) and times written as the sun table writes them.
#include <QFont>
#include <QString>

namespace kelmar::pictures {

QFont PixelFont(int px, bool bold = false);
// "hh:nn" of local hours, rounded as the sun table rounds.
QString TimeText(double hours);

}  // namespace kelmar::pictures

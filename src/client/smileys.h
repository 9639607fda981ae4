#pragma once
// The chat's 18 smiley pictures (17 × 16), painted in code: index 0 to 17, the code ":)#10" to
// ":)#27" less 10.

#include <QPixmap>

namespace art {

QPixmap smiley(int index, qreal dpr);

} // namespace art

#pragma once
// Colour texts for Qt colours: the toolkit's 0x00BBGGRR values of colortext.h to QColor and
// back.

#include "colortext.h"

#include <QColor>
#include <QString>

#include <optional>

namespace bg {

inline QColor toQColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

inline std::uint32_t fromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

inline std::optional<QColor> qcolorFromText(const QString& text) {
    const std::optional<std::uint32_t> v = colorFromText(text.toStdString());
    if (!v) return std::nullopt;
    return toQColor(*v);
}

inline QString qcolorToText(const QColor& c) {
    return QString::fromStdString(colorToText(fromQColor(c)));
}

} // namespace bg

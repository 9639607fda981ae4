#pragma once
// The program's style: the platform's own, except for the menu bar's overflow chevron, which is
// drawn here. The window is never narrow enough to show it, yet the style would read its
// picture files while the menu bar is made, on the way to the first paint.

#include <QProxyStyle>

class AppStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

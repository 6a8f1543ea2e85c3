#pragma once

#include <QIcon>
#include <QStyle>

// The shared 32x32 images of every tool bar, by index; an empty icon for an unknown one.
QIcon toolImage(int index);

// The desktop theme's icon of name; the style's fallback where the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback);

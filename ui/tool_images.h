#pragma once

#include <QIcon>

// The shared 32x32 images of every tool bar, by index; an empty icon for an unknown one.
QIcon toolImage(int index);

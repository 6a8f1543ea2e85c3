#pragma once

#include <QSize>

class QEvent;
class QFontMetrics;
class QTabWidget;

// The average width of a letter of the font (over "A".."Z", "a".."z") and the text height.
QSize averageCharWidth(const QFontMetrics& metrics);

// Hides the tab of every page.
void hideAllTabSheets(QTabWidget* pageControl);

// True for a press of Enter or Return: the key that moves the focus on in the program's forms.
bool isEnterKeyPress(const QEvent* event);

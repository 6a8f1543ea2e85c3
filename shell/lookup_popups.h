#pragma once

#include <QVariant>
#include <QWidget>

// Lookup drop-downs: the top-level windows that list the matches of what is typed into a field.
// A drop-down marks itself when it is created; the main window hides every one that is open
// when the application loses the focus, and a drop-down hidden so closes as cancelled.

inline constexpr char kLookupPopupProperty[] = "lookupPopup";

inline void markAsLookupPopup(QWidget* popup) {
    popup->setProperty(kLookupPopupProperty, true);
}

inline bool isLookupPopup(const QWidget* widget) {
    return widget->property(kLookupPopupProperty).toBool();
}

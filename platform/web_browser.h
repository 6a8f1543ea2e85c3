#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Web pages opened in the desktop's browser, by the desktop's own opener ("xdg-open"), without
// waiting for the browser.
//
// Opens address; failed, when the page could not be opened (no opener on the machine, or the
// opener ended with an error, as it does where no browser is installed), is called later on the
// GUI thread, while context lives.
void openWebAddress(const QString& address, QObject* context, std::function<void()> failed);

// The next openings run program in place of the desktop's opener; an empty program means the
// desktop's opener again.
void setWebOpenerProgram(const QString& program);

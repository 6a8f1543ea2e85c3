#pragma once

#include "ui/action_builder.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// The program's help, a viewer of our own. The help file keeps the executable's name with
// ".chm"; it is a folder that holds
//   - the topics, HTML files addressed by their paths inside it ("startup/whatsnew.htm"),
//     "index.htm" being the topic the help opens on;
//   - "Map.txt": the context numbers, one "number=topic path" a line;
//   - "Context.txt": the text pop-ups, each a line ".topic number" followed by its text.
// A topic is addressed as the help file + "::/" + its path; a ">window" behind the path names a
// window of the help file and is ignored. Where the help file, a topic or a context is missing,
// every call is silent.
namespace help {

void setHelpContext(QWidget* widget, int context);
int helpContext(const QWidget* widget);
// The help context of widget, or else of its nearest parent in the same window that has one.
int helpContextAt(const QWidget* widget);

// The file of a topic address: the help file's folder + the path; empty when the help file,
// or the topic in it, does not exist. An address without a path means "index.htm".
QString topicFile(const QString& address);

// The topic of a context number ("Map.txt"); empty when the number is not there.
QString contextTopic(const QString& helpFile, int context);

// The text of a pop-up from a "Context.txt" address; empty when there is none.
QString popupText(const QString& address, int context);

// Where a pop-up of size goes: at its wanted top-left point, moved back inside the screen.
QPoint keepOnScreen(const QRect& popup, const QRect& screen);

// Shows a topic in the help viewer. False when it is missing.
bool displayTopic(const QString& address);

// Shows the topic of a context number. False when it is missing.
bool displayContextTopic(const QString& helpFile, int context);

// Shows the text pop-up of a context at a screen point: a small window that closes on the next
// click or key, laid inside the screen under that point and kept above other windows. Returns the
// pop-up, or nullptr when there is no text.
QWidget* displayTextPopup(const QString& address, int context, const QPoint& at);

} // namespace help

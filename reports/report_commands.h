#pragma once

#include <QIcon>
#include <QStyle>

class QAction;
class QObject;
class QToolBar;
class QWidget;

// The commands the report windows share, one action each, named for its role, with its caption
// and image: "Печать", "Экспорт", "Документ", "Справка", "Что это?", "Закрыть". The window
// connects them, adds its own and places them on its bars.
struct ReportCommands {
    QAction* print = nullptr;
    QAction* exportSheet = nullptr;
    QAction* document = nullptr;
    QAction* help = nullptr;
    QAction* contextHelp = nullptr;
    QAction* close = nullptr;
};

ReportCommands buildReportCommands(QObject* owner);

// A bar of a report window's commands: 32x32 images, the captions under them, not movable.
QToolBar* commandBar(QWidget* parent, const QString& name);

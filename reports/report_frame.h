#pragma once

#include "reports/report_commands.h"

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QVBoxLayout;
class QWidget;
class ReportSheet;

// Shows window maximized, first as large as its screen's available area: a desktop without a
// window manager maximizes nothing and would leave the window at its small size in a corner.
void showReportMaximized(QWidget* window);

// What every report window is built of, made into the window it is given: the window font
// (Arial 13 px bold), the sheet, the shared commands (ReportCommands, owned by the window),
// the bars of large buttons over the sheet, the rights of print and export, and the print,
// export, help and context-help commands themselves. The window adds its own commands, and
// connects "Документ" and "Закрыть" to what they mean for it.
//
//   m_frame = new ReportFrame(this, QString::fromLatin1(kMovementReportWindow));
//   m_frame->layOut({saveAction, m_frame->commands().print, ...});
//
// "Печать" prints the whole sheet with the print settings kept under the key given; "Экспорт"
// exports it with the window's caption as its title; "Справка" shows help topic 2 and "Что
// это?" enters the what-is-this mode, both through the main window. Errors are shown to the
// user.
class ReportFrame : public QObject {
    Q_OBJECT
public:
    // printSettingsKey: the window name the book keeps the sheet's print settings under
    // (store/sheet_print_settings.h).
    ReportFrame(QWidget* window, const QString& printSettingsKey);

    ReportSheet* sheet() const { return m_sheet; }
    const ReportCommands& commands() const { return m_commands; }

    // Lays the window out: on top a bar with a button per action of commands, in their order,
    // each shown and hidden with its action, and "Закрыть" apart on the right; below them the
    // widgets of between; then the sheet, taking the rest. Every command is also the window's
    // own action, under its shortcut while the window is active. Returns the window's layout,
    // for what goes under the sheet.
    QVBoxLayout* layOut(const QList<QAction*>& commands, const QList<QWidget*>& between = {});

    // "Печать" enabled by the rights key word + "7", "Экспорт" by word + "8".
    void applyPrintRights(const QString& word);

private slots:
    void onPrintTriggered();
    void onExportTriggered();
    void onHelpTriggered();
    void onContextHelpTriggered();

private:
    QWidget* m_window = nullptr;
    QString m_printSettingsKey;
    ReportSheet* m_sheet = nullptr;
    ReportCommands m_commands;
};

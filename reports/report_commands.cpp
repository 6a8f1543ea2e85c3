#include "reports/report_commands.h"

#include "ui/action_builder.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QToolBar>

ReportCommands buildReportCommands(QObject* owner) {
    ReportCommands commands;
    commands.print = buildAction(
        owner, {.name = QStringLiteral("printAction"), .text = QStringLiteral("Печать")});
    commands.print->setIcon(themeIcon("document-print", QStyle::SP_FileDialogDetailedView));
    commands.exportSheet = buildAction(
        owner,
        {.name = QStringLiteral("exportAction"), .text = QStringLiteral("Экспорт"), .image = 0});
    commands.document = buildAction(
        owner,
        {.name = QStringLiteral("documentAction"), .text = QStringLiteral("Документ"), .image = 8});
    commands.help = buildAction(
        owner,
        {.name = QStringLiteral("helpAction"), .text = QStringLiteral("Справка"), .image = 17});
    commands.contextHelp = buildAction(owner, {.name = QStringLiteral("contextHelpAction"),
                                               .text = QStringLiteral("Что это?"),
                                               .image = 16});
    commands.close = buildAction(
        owner,
        {.name = QStringLiteral("closeAction"), .text = QStringLiteral("Закрыть"), .image = 11});
    return commands;
}

QToolBar* commandBar(QWidget* parent, const QString& name) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setMovable(false);
    return bar;
}

#include "reports/report_browser.h"

#include "platform/firebird/data_set.h"
#include "reports/report_layout.h"
#include "store/data_store.h"
#include "store/stored_reports.h"
#include "store/user_rights.h"
#include "ui/guard.h"

#include <QAction>
#include <memory>

ReportBrowser::ReportBrowser(QWidget* owner) : PeriodBrowserPane(owner) {}

QString ReportBrowser::monthYearText(const QVariant& value) {
    if (value.isNull())
        return QString();
    const QDate date = value.typeId() == QMetaType::QDateTime
                           ? value.toDateTime().date()
                           : datetime::decodeDate(value.toDouble());
    return reportlayout::monthText(datetime::encode(date));
}

void ReportBrowser::prepareQuery() {
    fb::DataSet& rows = query();
    const Period period = sharedPeriod();
    StoredReports::selectBrowserRows(rows, reportType(), period.start, period.end);
    rows.prepare();
    rows.field(QStringLiteral("DAT")).setOnGetText(m_monthDates ? monthYearText : dateFieldText);
    for (const char* name : {"SUM1", "SUM2"})
        rows.field(QString::fromLatin1(name)).setDisplayFormat(QStringLiteral("#0.00"));
}

void ReportBrowser::refreshRows(int key) {
    PeriodBrowserPane::refreshRows(key);
    const Period period = sharedPeriod();
    setPeriodCaption(periodDateText(period.start) + QLatin1Char('-') + periodDateText(period.end));
    afterRefresh();
}

void ReportBrowser::afterRefresh() {}

void ReportBrowser::enableNewByRights(const QString& word) {
    newAction()->setEnabled(
        UserRights(DataStore::instance()).hasPermission(word + QLatin1Char('2')));
}

void ReportBrowser::runReport(const ReportRequest& request) {
    runGuarded([&] {
        std::unique_ptr<ReportWindow> window(createReport());
        window->execute(request);
        window.release(); // it frees itself once closed
    });
}

void ReportBrowser::onNewTriggered() {
    runReport({ReportMode::New, 0, 0});
}

void ReportBrowser::onOpenTriggered() {
    if (query().isEmpty())
        return;
    runReport({ReportMode::Open, int(query().field(QStringLiteral("PRKEY")).asInteger()), 0});
}

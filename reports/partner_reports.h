#pragma once

#include "reports/report_browser.h"
#include "reports/report_figures.h"
#include "reports/report_window.h"

#include <optional>

class ReportSheet;

// One of the two reports that cross the partners of a period with its payment types.
struct PartnerReportKind {
    int reportType;      // OPER.TYP of the stored report
    int documentType;    // OPER.TYP of the documents read
    const char* caption; // of the window and the browser
    const char* titlePrefix;
    const char* nameCaption; // over the partner names
    const char* groupCaption;
    const char* reasonId; // COL_ID of the payment type columns
    const char* totalId;  // COL_ID of the total column
    const char* rightsWord;
    const char* printSettingsKey; // the window class name of the stored print settings
    const char* layoutKey;        // of the browser's grid
};

// Rows: 0 the title (ROW_TITLE), 1 the captions (ROW_CAPTION), 2 the payment types (ROW_HEADER),
// then one row per partner name with documents (ROW_NAME_ID = the name when any of its amounts
// is not 0) and the totals (ROW_TOTAL). Columns: the names (COL_NAME), one per payment type
// (COL_ID = the kind's reasonId), the total (COL_ID = totalId). A payment type's amount of a
// name is a hot cell.
void layoutPartnerReport(ReportSheet& sheet, const PartnerReportKind& kind,
                         const PartnerFigures& figures, const Period& period,
                         const QString& bookName);

// The documents behind cell (x, y) of a partner sheet: those of its row's partner name and its
// column's payment type over the whole period; none for a cell that is not hot or whose row or
// column names no partner or no direction.
std::optional<CellDocuments> partnerCellDocuments(const ReportSheet& sheet, int x, int y,
                                                  const Period& period);

// The window of a partner report; it stores the grand total in SUM2.
class PartnerReport : public ReportWindow {
    Q_OBJECT
public:
    explicit PartnerReport(const PartnerReportKind& kind);

protected:
    int reportType() const override { return m_kind.reportType; }
    void recalc() override;
    void viewDocument() override;
    void initRights() override;
    // A report saved without a recalc keeps the grand total it was read with.
    void storeGrid(StoredReport& report) override;

private:
    const PartnerReportKind& m_kind;
    std::optional<Currency> m_grandTotal; // of the last recalc
};

// The payers report (type 102), "Плательщики": the incoming documents.
class PayersReport final : public PartnerReport {
    Q_OBJECT
public:
    static const PartnerReportKind kKind;
    PayersReport() : PartnerReport(kKind) {}
};

// The recipients report (type 103), "Получатели платежей": the outgoing documents.
class RecipientsReport final : public PartnerReport {
    Q_OBJECT
public:
    static const PartnerReportKind kKind;
    RecipientsReport() : PartnerReport(kKind) {}
};

// The stored reports of a partner kind.
class PartnerReportBrowser : public ReportBrowser {
    Q_OBJECT
public:
    PartnerReportBrowser(const PartnerReportKind& kind, QWidget* owner);
    QString layoutKey() const override { return QString::fromLatin1(m_kind.layoutKey); }
    int reportType() const override { return m_kind.reportType; }
    void prepare() override;

private:
    const PartnerReportKind& m_kind;
};

class PayersReportBrowser final : public PartnerReportBrowser {
    Q_OBJECT
public:
    explicit PayersReportBrowser(QWidget* owner = nullptr)
        : PartnerReportBrowser(PayersReport::kKind, owner) {}

protected:
    ReportWindow* createReport() const override { return new PayersReport; }
};

class RecipientsReportBrowser final : public PartnerReportBrowser {
    Q_OBJECT
public:
    explicit RecipientsReportBrowser(QWidget* owner = nullptr)
        : PartnerReportBrowser(RecipientsReport::kKind, owner) {}

protected:
    ReportWindow* createReport() const override { return new RecipientsReport; }
};

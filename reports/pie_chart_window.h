#pragma once

#include "core/numbers.h"
#include "printing/report_renderer.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QChart;
class QChartView;
class QPieSeries;
class QStatusBar;

// A slice of a pie chart.
struct PieSlice {
    QString label;
    Currency value;
    friend bool operator==(const PieSlice&, const PieSlice&) = default;
};

// The chart of a window that owns it: one flat pie, a slice per item in the order given, each
// labelled with its text and coloured by the chart's own turn of colours; a two-line title
// above. No zoom, pan or axes. A snapshot: it keeps what it was given. "Печать" shows the
// print preview of the chart (its enabled state is the owner's to set), "Выход" closes. A
// top-level window that stays with its owner, modeless, freed when closed.
class PieChartWindow : public QWidget {
    Q_OBJECT
public:
    // title: the lines separated by "\n".
    PieChartWindow(QWidget* owner, const QString& title, const QList<PieSlice>& slices);

    QChart* chart() const { return m_chart; }
    QPieSeries* series() const { return m_series; }
    QAction* printAction() const { return m_printAction; }
    QAction* closeAction() const { return m_closeAction; }

    // The chart on a lying A4 page within 10 mm margins, laid out for the page.
    printing::PaintedPage page() const;

private slots:
    void onPrintTriggered();

private:
    QString m_title;
    QList<PieSlice> m_slices;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QPieSeries* m_series = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_closeAction = nullptr;
};

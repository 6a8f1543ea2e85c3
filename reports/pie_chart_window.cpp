#include "reports/pie_chart_window.h"

#include "printing/report_output.h"
#include "ui/action_builder.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QFont titleFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

} // namespace

PieChartWindow::PieChartWindow(QWidget* owner, const QString& title, const QList<PieSlice>& slices)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("pieChartWindow"));
    setWindowTitle(QStringLiteral("Диаграмма"));

    m_printAction = buildAction(
        this, {.name = QStringLiteral("printAction"), .text = QStringLiteral("Печать")});
    m_printAction->setIcon(
        QIcon::fromTheme(QStringLiteral("document-print"),
                         QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton)));
    m_closeAction = buildAction(
        this,
        {.name = QStringLiteral("closeAction"), .text = QStringLiteral("Выход"), .image = 11});
    connect(m_printAction, &QAction::triggered, this, &PieChartWindow::onPrintTriggered);
    connect(m_closeAction, &QAction::triggered, this, &QWidget::close);

    m_series = new QPieSeries;
    m_series->setObjectName(QStringLiteral("series"));
    for (const PieSlice& slice : slices) {
        QPieSlice* added = m_series->append(slice.label, slice.value.toDouble());
        added->setLabelVisible(true);
    }
    m_chart = new QChart;
    m_chart->addSeries(m_series);
    m_chart->setTitle(title.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    m_chart->setTitleFont(titleFont());
    m_chart->setTitleBrush(Qt::black);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setRubberBand(QChartView::NoRubberBand);
    m_view->setInteractive(false);

    auto* top = new QHBoxLayout;
    top->addWidget(addActionPushButton(this, m_printAction, QStringLiteral("printButton")));
    top->addStretch();
    top->addWidget(addActionPushButton(this, m_closeAction, QStringLiteral("closeButton")));
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_statusBar);
}

printing::PaintedPage PieChartWindow::page() const {
    printing::PaintedPage page;
    page.page.orientation = printing::Orientation::Landscape;
    page.paint = [view = QPointer<QChartView>(m_view)](QPainter& painter, const QRectF& area) {
        if (view)
            view->render(&painter, area, view->viewport()->rect(), Qt::KeepAspectRatio);
    };
    return page;
}

void PieChartWindow::onPrintTriggered() {
    execWithCursor(Qt::WaitCursor, [this] { printing::previewPage(this, page()); });
}

#include "reports/pie_chart_window.h"

#include "printing/report_output.h"
#include "reports/report_commands.h"
#include "ui/action_builder.h"
#include "ui/tool_images.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QFont titleFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// The chart of the slices under the title, with nothing that moves or zooms.
QChart* makeChart(const QString& title, const QList<PieSlice>& slices) {
    auto* series = new QPieSeries;
    series->setObjectName(QStringLiteral("series"));
    for (const PieSlice& slice : slices) {
        QPieSlice* added = series->append(slice.label, slice.value.toDouble());
        added->setLabelVisible(true);
    }
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(title.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    chart->setTitleFont(titleFont());
    chart->setTitleBrush(Qt::black);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

// The width, in the screen's pixels, of the chart laid out for a page: the labels and the title
// keep the size they have on the screen, the pie takes the rest.
constexpr qreal kPageChartWidth = 1100;

} // namespace

PieChartWindow::PieChartWindow(QWidget* owner, const QString& title, const QList<PieSlice>& slices)
    : QWidget(owner, Qt::Window), m_title(title), m_slices(slices) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("pieChartWindow"));
    setWindowTitle(QStringLiteral("Диаграмма"));

    m_printAction = buildAction(
        this, {.name = QStringLiteral("printAction"), .text = QStringLiteral("Печать")});
    m_printAction->setIcon(themeIcon("document-print", QStyle::SP_FileDialogDetailedView));
    m_closeAction = buildAction(
        this,
        {.name = QStringLiteral("closeAction"), .text = QStringLiteral("Выход"), .image = 11});
    connect(m_printAction, &QAction::triggered, this, &PieChartWindow::onPrintTriggered);
    connect(m_closeAction, &QAction::triggered, this, &QWidget::close);

    m_chart = makeChart(m_title, m_slices);
    m_series = static_cast<QPieSeries*>(m_chart->series().constFirst());
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
    page.paint = [title = m_title, slices = m_slices](QPainter& painter, const QRectF& area) {
        // A chart of its own, laid out in the page's proportions, whatever the window's size.
        QGraphicsScene scene;
        QChart* chart = makeChart(title, slices);
        scene.addItem(chart);
        const QSizeF size(kPageChartWidth, kPageChartWidth * area.height() / area.width());
        chart->resize(size);
        scene.setSceneRect(QRectF(QPointF(), size));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        scene.render(&painter, area, scene.sceneRect(), Qt::KeepAspectRatio);
    };
    return page;
}

void PieChartWindow::onPrintTriggered() {
    execWithCursor(Qt::WaitCursor, [this] { printing::previewPage(this, page()); });
}

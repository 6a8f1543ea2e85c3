#include "tests/support/shell/pane_machine.h"

#include "reports/document_register.h"
#include "reports/expense_analysis.h"
#include "reports/movement_report.h"
#include "reports/partner_reports.h"
#include "shell/period_dialog.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// Confirms the next period dialog as it proposes.
void confirmNextPeriod() {
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
}

QRect availableArea(const QWidget* window) {
    return window->screen()->availableGeometry();
}

// The window's font is the reports' one, its commands lie at its left and "Закрыть" at its
// right end.
void checkFrame(const QWidget* window) {
    QCOMPARE(window->font().family(), QStringLiteral("Arial"));
    QCOMPARE(window->font().pixelSize(), 13);
    QVERIFY(window->font().bold());
    const auto* print = window->findChild<QToolButton*>(QStringLiteral("printButton"));
    const auto* close = window->findChild<QToolButton*>(QStringLiteral("closeButton"));
    QVERIFY(print && close);
    QVERIFY(print->mapTo(window, QPoint(0, 0)).x() < window->width() / 2);
    const int closeRight = close->mapTo(window, QPoint(close->width(), 0)).x();
    QVERIFY2(closeRight > window->width() - 30, qPrintable(QString::number(closeRight)));
}

using WindowOpener = std::function<QWidget*()>;

template <class Report> WindowOpener newReport() {
    return [] {
        auto* window = new Report;
        confirmNextPeriod();
        window->execute({ReportMode::New, 0, 0});
        return static_cast<QWidget*>(window);
    };
}

} // namespace

Q_DECLARE_METATYPE(WindowOpener)

// Where the report windows open on an X server without a window manager, which maximizes
// nothing itself: each fills the screen's available area.
class TestReportPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<PaneMachine> m_machine;

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_machine = std::make_unique<PaneMachine>(BookKind::CashDesk, QStringLiteral("Касса"));
        m_machine->start();
    }

    void cleanupTestCase() { m_machine.reset(); }

    void reportWindowsFillTheScreen_data() {
        QTest::addColumn<WindowOpener>("open");
        QTest::newRow("movement") << newReport<MovementReport>();
        QTest::newRow("payers") << newReport<PayersReport>();
        QTest::newRow("recipients") << newReport<RecipientsReport>();
        QTest::newRow("register") << WindowOpener([] {
            confirmNextPeriod();
            return static_cast<QWidget*>(DocumentRegister::open());
        });
    }
    void reportWindowsFillTheScreen() {
        QFETCH(WindowOpener, open);
        QPointer<QWidget> window = open();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->isMaximized());
        QTRY_COMPARE(window->frameGeometry(), availableArea(window));
        checkFrame(window);
        window->close();
        QTRY_VERIFY(!window);
    }

    // The analysis, and the chart over it.
    void theAnalysisAndItsChartFillTheScreen() {
        ExpenseAnalysis analysis(m_machine->main.get(), datetime::encodeDate(2024, 3, 1));
        QRect analysisShown;
        QRect chartShown;
        bool framed = false;
        QTimer::singleShot(0, [&] {
            QTest::qWaitFor([&] { return analysis.frameGeometry() == availableArea(&analysis); });
            analysisShown = analysis.frameGeometry();
            [&] {
                checkFrame(&analysis);
                framed = true;
            }();
            analysis.chartAction()->trigger();
            QWidget* chart = analysis.chartWindow();
            if (chart) {
                QTest::qWaitFor([&] { return chart->frameGeometry() == availableArea(chart); });
                chartShown = chart->frameGeometry();
                chart->close();
            }
            analysis.closeAction()->trigger();
        });
        analysis.execute();
        QCOMPARE(analysisShown, availableArea(&analysis));
        QVERIFY(framed);
        QCOMPARE(chartShown, availableArea(&analysis));
    }
};

QTEST_MAIN(TestReportPlacement)
#include "test_report_placement.moc"

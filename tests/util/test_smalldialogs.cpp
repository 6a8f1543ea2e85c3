#include "util/BGauges.h"
#include "util/fmFormUseWndParent.h"
#include "util/fmProgressMsg.h"
#include "util/fmRadioGroupSelect.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs action on the modal dialog once it shows.
void onModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        action(dialog);
    });
}

QColor at(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)); // alpha left out
}

// Counts the paints of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TBGauge* makeGauge(QWidget* parent, TBGauge::Kind kind, QSize size) {
    auto* gauge = new TBGauge(parent);
    gauge->resize(size);
    gauge->SetKind(kind);
    gauge->SetShowText(false);
    gauge->SetForeColor(Qt::red);
    gauge->SetBackColor(Qt::white);
    return gauge;
}

} // namespace

class TestSmallDialogs : public QObject {
    Q_OBJECT
private slots:
    void gaugeDefaults() {
        TBGauge gauge;
        QCOMPARE(gauge.size(), QSize(100, 100));
        QCOMPARE(gauge.MinValue(), 0);
        QCOMPARE(gauge.MaxValue(), 100);
        QCOMPARE(gauge.Progress(), 0);
        QCOMPARE(gauge.kind(), TBGauge::Kind::HorizontalBar);
        QVERIFY(gauge.ShowText());
        QCOMPARE(gauge.borderStyle(), TBGauge::BorderStyle::Single);
        QCOMPARE(gauge.ForeColor(), QColor(Qt::black));
        QCOMPARE(gauge.BackColor(), QColor(Qt::white));
    }

    void gaugeRange() {
        TBGauge gauge;
        gauge.SetProgress(250);
        QCOMPARE(gauge.Progress(), 100);
        QCOMPARE(gauge.PercentDone(), 100);
        gauge.SetProgress(-5);
        QCOMPARE(gauge.Progress(), 0);

        gauge.SetProgress(80);
        gauge.SetMaxValue(50);
        QCOMPARE(gauge.Progress(), 50);
        gauge.SetMinValue(50);
        QCOMPARE(gauge.PercentDone(), 0); // an empty range shows 0 %

        QVERIFY_THROWS_EXCEPTION(EInvalidOperation, gauge.SetMinValue(51));
        QVERIFY_THROWS_EXCEPTION(EInvalidOperation, gauge.SetMaxValue(49));
        QCOMPARE(gauge.MinValue(), 50);
        QCOMPARE(gauge.MaxValue(), 50);
        try {
            gauge.SetMaxValue(10);
        } catch (const EInvalidOperation& e) {
            QCOMPARE(e.message(), QStringLiteral("Значение должно быть между 51 и 2147483647"));
        }

        gauge.SetMinValue(-200);
        gauge.SetMaxValue(200);
        gauge.SetProgress(-100);
        QCOMPARE(gauge.PercentDone(), 25);
        gauge.SetMinValue(0);
        QCOMPARE(gauge.Progress(), 0);
    }

    void gaugeRepaintsOnlyForAnotherPercent() {
        QWidget window;
        window.resize(200, 60);
        TBGauge* gauge = makeGauge(&window, TBGauge::Kind::HorizontalBar, QSize(150, 20));
        gauge->SetMaxValue(1000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintCounter counter;
        gauge->installEventFilter(&counter);

        gauge->SetProgress(10); // 1 %
        QCOMPARE(counter.paints, 1);
        gauge->SetProgress(19); // still 1 %
        QCOMPARE(counter.paints, 1);
        gauge->SetProgress(20); // 2 %
        QCOMPARE(counter.paints, 2);
        gauge->SetForeColor(Qt::red); // unchanged
        QCOMPARE(counter.paints, 2);
        gauge->SetForeColor(Qt::blue);
        QCOMPARE(counter.paints, 3);
    }

    void gaugeBars() {
        // 102 x 22 with its frame: a paint rectangle of 100 x 20 from (1, 1).
        std::unique_ptr<TBGauge> gauge(
            makeGauge(nullptr, TBGauge::Kind::HorizontalBar, QSize(102, 22)));
        gauge->SetProgress(30);
        QImage image = gauge->Render();
        QCOMPARE(at(image, 0, 10), QColor(Qt::black)); // frame
        QCOMPARE(at(image, 1, 10), QColor(Qt::red));
        QCOMPARE(at(image, 30, 10), QColor(Qt::red));
        QCOMPARE(at(image, 31, 10), QColor(Qt::white));
        QCOMPARE(at(image, 100, 10), QColor(Qt::white));
        QCOMPARE(at(image, 101, 10), QColor(Qt::black));

        gauge->SetProgress(0);
        QCOMPARE(at(gauge->Render(), 1, 10), QColor(Qt::white));

        gauge->SetBorderStyle(TBGauge::BorderStyle::None);
        gauge->SetProgress(100);
        image = gauge->Render();
        QCOMPARE(at(image, 0, 0), QColor(Qt::red));
        QCOMPARE(at(image, 101, 21), QColor(Qt::red));

        gauge->SetBorderStyle(TBGauge::BorderStyle::Single);
        gauge->SetKind(TBGauge::Kind::VerticalBar);
        gauge->SetProgress(30); // 6 of 20 rows, from the bottom
        image = gauge->Render();
        QCOMPARE(at(image, 50, 20), QColor(Qt::red));
        QCOMPARE(at(image, 50, 15), QColor(Qt::red));
        QCOMPARE(at(image, 50, 14), QColor(Qt::white));
        QCOMPARE(at(image, 50, 1), QColor(Qt::white));
        gauge->SetProgress(100); // the top row stays
        image = gauge->Render();
        QCOMPARE(at(image, 50, 2), QColor(Qt::red));
        QCOMPARE(at(image, 50, 1), QColor(Qt::white));

        gauge->SetKind(TBGauge::Kind::Text);
        QCOMPARE(at(gauge->Render(), 50, 10), QColor(Qt::white));
    }

    void gaugePieAndNeedle() {
        std::unique_ptr<TBGauge> gauge(makeGauge(nullptr, TBGauge::Kind::Pie, QSize(102, 102)));
        const QColor face = gauge->palette().color(QPalette::Window);
        gauge->SetProgress(25); // twelve to three o'clock
        QImage image = gauge->Render();
        QCOMPARE(at(image, 3, 3), face);
        QCOMPARE(at(image, 70, 30), QColor(Qt::red));
        QCOMPARE(at(image, 30, 30), QColor(Qt::white));
        QCOMPARE(at(image, 70, 70), QColor(Qt::white));
        gauge->SetProgress(75);
        image = gauge->Render();
        QCOMPARE(at(image, 70, 70), QColor(Qt::red));
        QCOMPARE(at(image, 30, 70), QColor(Qt::red));
        QCOMPARE(at(image, 30, 30), QColor(Qt::white));
        gauge->SetProgress(0);
        QCOMPARE(at(gauge->Render(), 70, 30), QColor(Qt::white));

        gauge->resize(102, 52);
        gauge->SetKind(TBGauge::Kind::Needle);
        gauge->SetProgress(50); // straight up from the bottom middle
        image = gauge->Render();
        QCOMPARE(at(image, 3, 3), face);
        QCOMPARE(at(image, 50, 25), QColor(Qt::red));
        QCOMPARE(at(image, 30, 40), QColor(Qt::white));
        gauge->SetProgress(0);
        QCOMPARE(at(gauge->Render(), 50, 25), QColor(Qt::white));
    }

    void gaugeTextStaysReadable() {
        // The percent is XOR-ed in white: black over white, cyan over red.
        std::unique_ptr<TBGauge> gauge(
            makeGauge(nullptr, TBGauge::Kind::HorizontalBar, QSize(202, 42)));
        gauge->SetShowText(true);
        gauge->SetProgress(50);
        const QImage image = gauge->Render();
        int overWhite = 0, overRed = 0;
        for (int y = 1; y < 41; ++y)
            for (int x = 1; x < 201; ++x) {
                const QColor c = at(image, x, y);
                overWhite += c == QColor(Qt::black);
                overRed += c == QColor(Qt::cyan);
            }
        QVERIFY(overWhite > 0);
        QVERIFY(overRed > 0);
        QCOMPARE(at(image, 5, 20), QColor(Qt::red));
        QCOMPARE(at(image, 195, 20), QColor(Qt::white));
    }

    void ownerAndModality() {
        QWidget window;
        auto* inner = new QWidget(&window);
        TfrmFormUseWndParent owned(inner);
        QCOMPARE(owned.parentWidget(), &window);
        QVERIFY(owned.isWindow());
        QCOMPARE(owned.windowModality(), Qt::WindowModal);
        TfrmFormUseWndParent free;
        QCOMPARE(free.parentWidget(), nullptr);
        QCOMPARE(free.windowModality(), Qt::ApplicationModal);
    }

    void progressWindow() {
        QWidget window;
        TfrmProgressMsg progress(&window);
        QCOMPARE(progress.size(), QSize(461, 77));
        QCOMPARE(progress.windowModality(), Qt::WindowModal);
        progress.show();
        QCOMPARE(progress.Gauge->geometry(), QRect(0, 57, 461, 20));
        QCOMPARE(progress.animProcess->Frame(), TAnimate::StopFrame);
        progress.animProcess->SetActive(true);
        QCOMPARE(progress.animProcess->Frame(), 0);
        progress.animProcess->SetActive(false);
        QCOMPARE(progress.animProcess->Frame(), TAnimate::StopFrame);
    }

    void radioOkNeedsAChoice() {
        const QStringList items{QStringLiteral("Шаблон"), QStringLiteral("Простая форма")};
        int index = -1;
        bool okEnabledAtFirst = true, acceptedWithout = true;
        onModal([&](QWidget* dialog) {
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("btnOK"));
            okEnabledAtFirst = ok->isEnabled();
            ok->click();
            QTest::keyClick(dialog, Qt::Key_Return);
            acceptedWithout = !dialog->isVisible();
            dialog->findChild<QRadioButton*>(QStringLiteral("rdbtn1"))->click();
            QVERIFY(ok->isEnabled());
            ok->click();
        });
        QVERIFY(TfrmRadioGroupSelect::Select(nullptr, QStringLiteral("Печать"), index, items));
        QVERIFY(!okEnabledAtFirst);
        QVERIFY(!acceptedWithout);
        QCOMPARE(index, 1);
    }

    void radioAnswers_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("index");
        QTest::newRow("ok on the first choice") << 2 << "ok" << true << 2;
        QTest::newRow("enter on a radio button") << 0 << "enter" << true << 0;
        QTest::newRow("cancel") << 1 << "cancel" << false << 1;
        QTest::newRow("escape") << 1 << "escape" << false << 1;
        QTest::newRow("start out of range, cancel") << 7 << "cancel" << false << 7;
    }
    void radioAnswers() {
        QFETCH(int, start);
        QFETCH(QString, action);
        QFETCH(bool, result);
        QFETCH(int, index);
        onModal([action](QWidget* dialog) {
            if (action == "ok")
                dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
            else if (action == "enter")
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            else if (action == "cancel")
                dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        int chosen = start;
        const QStringList items{"Excel", "Calc", "Writer"};
        QCOMPARE(TfrmRadioGroupSelect::Select(nullptr, "Программа", chosen, items), result);
        QCOMPARE(chosen, index);
    }

    void radioDialogFitsItsItems() {
        TfrmRadioGroupSelect small(nullptr, QStringLiteral("Печать"), {"А", "Б"});
        TfrmRadioGroupSelect wide(nullptr, QStringLiteral("Печать"),
                                  {"А", QStringLiteral("Очень длинное название пункта списка")});
        TfrmRadioGroupSelect tall(nullptr, QStringLiteral("Печать"),
                                  {"А", "Б", "В", "Г", "Д", "Е", "Ж", "З"});
        QCOMPARE(small.rdgrpSelect->title(), QStringLiteral("Печать"));
        QVERIFY(small.windowFlags() & Qt::FramelessWindowHint);
        const QFontMetrics metrics(wide.font());
        QVERIFY(wide.width() >=
                metrics.horizontalAdvance(QStringLiteral("Очень длинное название пункта списка")) +
                    50);
        QVERIFY(wide.width() > small.width());
        QVERIFY(tall.height() > small.height());
        QCOMPARE(tall.width(), small.width());
        for (auto* dialog : {&small, &wide, &tall}) {
            dialog->show();
            for (auto* button : dialog->findChildren<QRadioButton*>()) {
                QVERIFY(button->width() >= button->sizeHint().width());
                QVERIFY(dialog->rect().contains(button->geometry().translated(
                    button->parentWidget()->mapTo(dialog, QPoint()))));
            }
        }
    }
};

QTEST_MAIN(TestSmallDialogs)
#include "test_smalldialogs.moc"

#include "ui/choice_dialog.h"
#include "ui/gauge.h"
#include "ui/owned_dialog.h"
#include "ui/progress_window.h"

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

Gauge* makeGauge(QWidget* parent, Gauge::Kind kind, QSize size) {
    auto* gauge = new Gauge(parent);
    gauge->resize(size);
    gauge->setKind(kind);
    gauge->setTextShown(false);
    gauge->setForeColor(Qt::red);
    gauge->setBackColor(Qt::white);
    return gauge;
}

} // namespace

class TestSmallDialogs : public QObject {
    Q_OBJECT
private slots:
    void gaugeDefaults() {
        Gauge gauge;
        QCOMPARE(gauge.size(), QSize(100, 100));
        QCOMPARE(gauge.minValue(), 0);
        QCOMPARE(gauge.maxValue(), 100);
        QCOMPARE(gauge.progress(), 0);
        QCOMPARE(gauge.kind(), Gauge::Kind::HorizontalBar);
        QVERIFY(gauge.isTextShown());
        QCOMPARE(gauge.borderStyle(), Gauge::BorderStyle::Single);
        QCOMPARE(gauge.foreColor(), QColor(Qt::black));
        QCOMPARE(gauge.backColor(), QColor(Qt::white));
    }

    void gaugeRange() {
        Gauge gauge;
        gauge.setProgress(250);
        QCOMPARE(gauge.progress(), 100);
        QCOMPARE(gauge.percentDone(), 100);
        gauge.setProgress(-5);
        QCOMPARE(gauge.progress(), 0);

        gauge.setProgress(80);
        gauge.setMaxValue(50);
        QCOMPARE(gauge.progress(), 50);
        gauge.setMinValue(50);
        QCOMPARE(gauge.percentDone(), 0); // an empty range shows 0 %

        QVERIFY_THROWS_EXCEPTION(InvalidOperation, gauge.setMinValue(51));
        QVERIFY_THROWS_EXCEPTION(InvalidOperation, gauge.setMaxValue(49));
        QCOMPARE(gauge.minValue(), 50);
        QCOMPARE(gauge.maxValue(), 50);
        try {
            gauge.setMaxValue(10);
        } catch (const InvalidOperation& e) {
            QCOMPARE(e.message(), QStringLiteral("Значение должно быть между 51 и 2147483647"));
        }

        gauge.setMinValue(-200);
        gauge.setMaxValue(200);
        gauge.setProgress(-100);
        QCOMPARE(gauge.percentDone(), 25);
        gauge.setMinValue(0);
        QCOMPARE(gauge.progress(), 0);
    }

    void gaugeRepaintsOnlyForAnotherPercent() {
        QWidget window;
        window.resize(200, 60);
        Gauge* gauge = makeGauge(&window, Gauge::Kind::HorizontalBar, QSize(150, 20));
        gauge->setMaxValue(1000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintCounter counter;
        gauge->installEventFilter(&counter);

        gauge->setProgress(10); // 1 %
        QCOMPARE(counter.paints, 1);
        gauge->setProgress(19); // still 1 %
        QCOMPARE(counter.paints, 1);
        gauge->setProgress(20); // 2 %
        QCOMPARE(counter.paints, 2);
        gauge->setForeColor(Qt::red); // unchanged
        QCOMPARE(counter.paints, 2);
        gauge->setForeColor(Qt::blue);
        QCOMPARE(counter.paints, 3);
    }

    void gaugeBars() {
        // 102 x 22 with its frame: a paint rectangle of 100 x 20 from (1, 1).
        std::unique_ptr<Gauge> gauge(
            makeGauge(nullptr, Gauge::Kind::HorizontalBar, QSize(102, 22)));
        gauge->setProgress(30);
        QImage image = gauge->renderImage();
        QCOMPARE(at(image, 0, 10), QColor(Qt::black)); // frame
        QCOMPARE(at(image, 1, 10), QColor(Qt::red));
        QCOMPARE(at(image, 30, 10), QColor(Qt::red));
        QCOMPARE(at(image, 31, 10), QColor(Qt::white));
        QCOMPARE(at(image, 100, 10), QColor(Qt::white));
        QCOMPARE(at(image, 101, 10), QColor(Qt::black));

        gauge->setProgress(0);
        QCOMPARE(at(gauge->renderImage(), 1, 10), QColor(Qt::white));

        gauge->setBorderStyle(Gauge::BorderStyle::None);
        gauge->setProgress(100);
        image = gauge->renderImage();
        QCOMPARE(at(image, 0, 0), QColor(Qt::red));
        QCOMPARE(at(image, 101, 21), QColor(Qt::red));

        gauge->setBorderStyle(Gauge::BorderStyle::Single);
        gauge->setKind(Gauge::Kind::VerticalBar);
        gauge->setProgress(30); // 6 of 20 rows, from the bottom
        image = gauge->renderImage();
        QCOMPARE(at(image, 50, 20), QColor(Qt::red));
        QCOMPARE(at(image, 50, 15), QColor(Qt::red));
        QCOMPARE(at(image, 50, 14), QColor(Qt::white));
        QCOMPARE(at(image, 50, 1), QColor(Qt::white));
        gauge->setProgress(100); // the top row stays
        image = gauge->renderImage();
        QCOMPARE(at(image, 50, 2), QColor(Qt::red));
        QCOMPARE(at(image, 50, 1), QColor(Qt::white));

        gauge->setKind(Gauge::Kind::Text);
        QCOMPARE(at(gauge->renderImage(), 50, 10), QColor(Qt::white));
    }

    void gaugePieAndNeedle() {
        std::unique_ptr<Gauge> gauge(makeGauge(nullptr, Gauge::Kind::Pie, QSize(102, 102)));
        const QColor face = gauge->palette().color(QPalette::Window);
        gauge->setProgress(25); // twelve to three o'clock
        QImage image = gauge->renderImage();
        QCOMPARE(at(image, 3, 3), face);
        QCOMPARE(at(image, 70, 30), QColor(Qt::red));
        QCOMPARE(at(image, 30, 30), QColor(Qt::white));
        QCOMPARE(at(image, 70, 70), QColor(Qt::white));
        gauge->setProgress(75);
        image = gauge->renderImage();
        QCOMPARE(at(image, 70, 70), QColor(Qt::red));
        QCOMPARE(at(image, 30, 70), QColor(Qt::red));
        QCOMPARE(at(image, 30, 30), QColor(Qt::white));
        gauge->setProgress(0);
        QCOMPARE(at(gauge->renderImage(), 70, 30), QColor(Qt::white));

        gauge->resize(102, 52);
        gauge->setKind(Gauge::Kind::Needle);
        gauge->setProgress(50); // straight up from the bottom middle
        image = gauge->renderImage();
        QCOMPARE(at(image, 3, 3), face);
        QCOMPARE(at(image, 50, 25), QColor(Qt::red));
        QCOMPARE(at(image, 30, 40), QColor(Qt::white));
        gauge->setProgress(0);
        QCOMPARE(at(gauge->renderImage(), 50, 25), QColor(Qt::white));
    }

    void gaugeTextStaysReadable() {
        // The percent is XOR-ed in white: black over white, cyan over red.
        std::unique_ptr<Gauge> gauge(
            makeGauge(nullptr, Gauge::Kind::HorizontalBar, QSize(202, 42)));
        gauge->setTextShown(true);
        gauge->setProgress(50);
        const QImage image = gauge->renderImage();
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
        OwnedDialog owned(inner);
        QCOMPARE(owned.parentWidget(), &window);
        QVERIFY(owned.isWindow());
        QCOMPARE(owned.windowModality(), Qt::WindowModal);
        OwnedDialog free;
        QCOMPARE(free.parentWidget(), nullptr);
        QCOMPARE(free.windowModality(), Qt::ApplicationModal);
    }

    void progressWindow() {
        QWidget window;
        ProgressWindow progress(&window);
        QCOMPARE(progress.objectName(), QStringLiteral("progressWindow"));
        QCOMPARE(progress.size(), QSize(461, 77));
        QCOMPARE(progress.windowModality(), Qt::WindowModal);
        QCOMPARE(progress.animation(), progress.findChild<CopyAnimation*>("animation"));
        QCOMPARE(progress.gauge(), progress.findChild<Gauge*>("gauge"));
        progress.show();
        QCOMPARE(progress.gauge()->geometry(), QRect(0, 57, 461, 20));
        QCOMPARE(progress.animation()->frame(), CopyAnimation::kStopFrame);
        progress.animation()->setActive(true);
        QCOMPARE(progress.animation()->frame(), 0);
        // Played, the frames go on with the timer.
        QTRY_VERIFY(progress.animation()->frame() > 0);
        progress.animation()->setActive(false);
        QVERIFY(!progress.animation()->isActive());
        QCOMPARE(progress.animation()->frame(), CopyAnimation::kStopFrame);
    }

    void radioOkNeedsAChoice() {
        const QStringList items{QStringLiteral("Шаблон"), QStringLiteral("Простая форма")};
        int index = -1;
        bool okEnabledAtFirst = true, acceptedWithout = true;
        onModal([&](QWidget* dialog) {
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
            okEnabledAtFirst = ok->isEnabled();
            ok->click();
            QTest::keyClick(dialog, Qt::Key_Return);
            acceptedWithout = !dialog->isVisible();
            dialog->findChild<QRadioButton*>(QStringLiteral("itemButton1"))->click();
            QVERIFY(ok->isEnabled());
            ok->click();
        });
        QVERIFY(ChoiceDialog::select(nullptr, QStringLiteral("Печать"), index, items));
        QVERIFY(!okEnabledAtFirst);
        QVERIFY(!acceptedWithout);
        QCOMPARE(index, 1);
    }

    void radioChoiceByIndex() {
        ChoiceDialog dialog(nullptr, QStringLiteral("Печать"), {"А", "Б", "В"});
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
        const struct {
            int index;
            int chosen;
        } steps[] = {{1, 1}, {2, 2}, {-1, -1}, {0, 0}, {3, -1}, {-1, -1}};
        for (const auto& step : steps) {
            dialog.setItemIndex(step.index);
            QCOMPARE(dialog.itemIndex(), step.chosen);
            QCOMPARE(ok->isEnabled(), step.chosen >= 0);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(dialog.findChild<QRadioButton*>(QStringLiteral("itemButton%1").arg(i))
                             ->isChecked(),
                         i == step.chosen);
        }
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
                dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            else if (action == "enter")
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            else if (action == "cancel")
                dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        int chosen = start;
        const QStringList items{"Excel", "Calc", "Writer"};
        QCOMPARE(ChoiceDialog::select(nullptr, "Программа", chosen, items), result);
        QCOMPARE(chosen, index);
    }

    void radioDialogFitsItsItems() {
        ChoiceDialog small(nullptr, QStringLiteral("Печать"), {"А", "Б"});
        ChoiceDialog wide(nullptr, QStringLiteral("Печать"),
                          {"А", QStringLiteral("Очень длинное название пункта списка")});
        ChoiceDialog tall(nullptr, QStringLiteral("Печать"),
                          {"А", "Б", "В", "Г", "Д", "Е", "Ж", "З"});
        QCOMPARE(small.objectName(), QStringLiteral("choiceDialog"));
        QCOMPARE(small.findChild<QGroupBox*>("choiceGroup")->title(), QStringLiteral("Печать"));
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
#include "test_small_dialogs.moc"

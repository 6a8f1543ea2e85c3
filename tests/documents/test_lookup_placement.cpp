#include "tests/support/shell/pane_machine.h"

#include "documents/payment_type_lookup.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

namespace {

constexpr int kIncome = 1;

QRect onScreen(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

} // namespace

// Where a lookup opens on a real X server: its filter edit lies exactly over the anchor edit,
// the list hangs below it, or stands above it when the screen ends before the pop-up would.
class TestLookupPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<PaneMachine> m_machine;

    // A window of its own at top on the screen, with an anchor edit in it.
    struct Form {
        QWidget window;
        QLineEdit* anchor = new QLineEdit(&window);
        explicit Form(int top) {
            window.setWindowFlags(Qt::FramelessWindowHint);
            anchor->setGeometry(0, 0, 300, 26);
            window.setGeometry(100, top, 300, 26);
            window.show();
        }
    };

    // A payment-type lookup shown over the anchor of a form at top.
    static PaymentTypeLookup* openAt(Form& form) {
        if (!QTest::qWaitForWindowExposed(&form.window))
            return nullptr;
        auto* lookup = new PaymentTypeLookup(form.anchor);
        lookup->setPaymentType(kIncome);
        lookup->popUp(form.anchor, QString());
        if (!QTest::qWaitForWindowExposed(lookup))
            return nullptr;
        return lookup;
    }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_machine = std::make_unique<PaneMachine>(BookKind::BankAccount, QStringLiteral("Книга"));
        m_machine->start();
    }

    void cleanupTestCase() { m_machine.reset(); }

    void opensBelowOrAbove_data() {
        QTest::addColumn<int>("room");
        QTest::addColumn<bool>("above");
        // room: from the anchor's top to the screen's bottom, against the pop-up's height
        QTest::newRow("far from the bottom") << 600 << false;
        QTest::newRow("just room enough") << 1 << false;
        QTest::newRow("the bottom at the pop-up's end") << 0 << true;
        QTest::newRow("near the bottom") << -100 << true;
    }

    void opensBelowOrAbove() {
        QFETCH(int, room);
        QFETCH(bool, above);
        // The pop-up's height, from one that opens at the top of the screen.
        Form top(0);
        QPointer<PaymentTypeLookup> probe = openAt(top);
        QVERIFY(probe);
        const int height = probe->height();
        probe->close();

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        Form form(screen.bottom() + 1 - height - room);
        QPointer<PaymentTypeLookup> lookup = openAt(form);
        QVERIFY(lookup);
        const int border = lookup->frameWidth();
        const QRect anchor = onScreen(form.anchor);
        const QRect popup = lookup->frameGeometry();
        QCOMPARE(lookup->opensAbove(), above);
        QCOMPARE(onScreen(lookup->filterEdit()).top(), anchor.top());
        QCOMPARE(onScreen(lookup->filterEdit()).bottom(), anchor.bottom());
        QCOMPARE(popup.left(), anchor.left());
        QCOMPARE(popup.width(), anchor.width());
        QCOMPARE(popup.height(), height);
        const QRect list = onScreen(lookup->list());
        if (above) {
            QCOMPARE(popup.bottom(), anchor.bottom() + border);
            QVERIFY(list.bottom() < anchor.top());
        } else {
            QCOMPARE(popup.top(), anchor.top() - border);
            QVERIFY(list.top() > anchor.bottom());
        }
        lookup->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestLookupPlacement)
#include "test_lookup_placement.moc"

#include "core/exceptions.h"
#include "printing/print_mode_dialog.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kSixForms{"Один", "Два", "Три", "Четыре", "Пять", "Шесть"};

// Runs the dialog over forms with the first one chosen, does action once it shows, and gives
// what the callback saw: the form's index and whether it printed at once, per call.
QStringList runDialog(const QStringList& forms, const std::function<void(PrintModeDialog&)>& action,
                      int* height = nullptr) {
    PrintModeDialog dialog(nullptr, forms);
    QStringList selected;
    QTimer::singleShot(0, [&] {
        if (QApplication::activeModalWidget() != &dialog)
            qFatal("the print-mode dialog did not show");
        if (height)
            *height = dialog.height();
        action(dialog);
        if (dialog.isVisible())
            dialog.reject();
    });
    dialog.execute(0, [&](PrintModeDialog& sender) {
        selected << QStringLiteral("%1 %2").arg(sender.itemIndex()).arg(sender.noPreview());
    });
    return selected;
}

} // namespace

class TestPrintModeDialog : public QObject {
    Q_OBJECT
private slots:
    // The dialog opens with printing at once ticked and the focus on it, the first form chosen,
    // and is as high as its forms need: six give 262 pixels.
    void opensFittedToItsForms() {
        int height = 0;
        runDialog(
            kSixForms,
            [](PrintModeDialog& d) {
                QCOMPARE(d.windowTitle(), QStringLiteral("Выберите режим печати"));
                QVERIFY(d.noPreviewBox()->isChecked());
                QCOMPARE(d.focusWidget(), d.noPreviewBox());
                QCOMPARE(d.itemIndex(), 0);
                QVERIFY(d.formButton(0)->isChecked());
            },
            &height);
        QCOMPARE(height, 262);
        runDialog(
            {"Один"}, [](PrintModeDialog& d) { QCOMPARE(d.itemIndex(), 0); }, &height);
        QCOMPARE(height, 177);
    }

    // "Печать" prints the chosen form once and closes; Enter on a form prints and keeps the
    // dialog, so a second Enter prints again; Enter and the Down arrow on the check box move to
    // the forms; Esc and "Отмена" close without printing.
    void keysAndButtons() {
        QCOMPARE(runDialog(kSixForms,
                           [](PrintModeDialog& d) {
                               d.formButton(4)->click();
                               d.noPreviewBox()->setChecked(false);
                               d.printButton()->click();
                               QVERIFY(!d.isVisible());
                           }),
                 QStringList{"4 0"});
        QCOMPARE(runDialog(kSixForms,
                           [](PrintModeDialog& d) {
                               QTest::keyClick(d.noPreviewBox(), Qt::Key_Return);
                               QCOMPARE(d.focusWidget(), d.formButton(0));
                               QTest::keyClick(d.focusWidget(), Qt::Key_Return);
                               QTest::keyClick(d.focusWidget(), Qt::Key_Return);
                               QVERIFY(d.isVisible());
                           }),
                 (QStringList{"0 1", "0 1"}));
        QCOMPARE(runDialog(kSixForms,
                           [](PrintModeDialog& d) {
                               d.formButton(2)->click();
                               d.noPreviewBox()->setFocus();
                               QTest::keyRelease(d.noPreviewBox(), Qt::Key_Down);
                               QCOMPARE(d.focusWidget(), d.formButton(2));
                               QTest::keyClick(&d, Qt::Key_Escape);
                               QVERIFY(!d.isVisible());
                           }),
                 QStringList{});
        QCOMPARE(runDialog(kSixForms,
                           [](PrintModeDialog& d) {
                               d.findChild<QPushButton*>("cancelButton")->click();
                               QVERIFY(!d.isVisible());
                           }),
                 QStringList{});
    }

    // A callback that fails shows its message and keeps the dialog open.
    void aFailedPrintKeepsTheDialog() {
        Dialogs dialogs;
        PrintModeDialog dialog(nullptr, kSixForms);
        QTimer::singleShot(0, [&] {
            dialog.printButton()->click();
            QVERIFY(dialog.isVisible());
            dialog.reject();
        });
        dialog.execute(0, [](PrintModeDialog&) { throw Exception("Печатная форма не найдена"); });
        QCOMPARE(dialogs.texts, QStringList{"Печатная форма не найдена"});
    }
};

QTEST_MAIN(TestPrintModeDialog)
#include "test_print_mode_dialog.moc"

#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "store/book_kind.h"
#include "store/new_book.h"
#include "store/sheet_print_settings.h"
#include "tests/support/store/schema_support.h"

#include <QTest>
#include <memory>

using schematest::Workplace;

namespace {

const QString kWindow = QString::fromLatin1(kMovementReportWindow);
const QString kNameKey = kWindow + ".DingerFontName";
const QString kSizeKey = kWindow + ".DingerFontSize";
const QString kOrientationKey = kWindow + ".DingerFontPageOrientation";

} // namespace

// A window's sheet print settings in the book's options.
class TestSheetPrintSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        fb::prepareEmbeddedEngine();
        m_place = std::make_unique<Workplace>();
        const QString book = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"),
                                           m_place->folder(), schematest::templatesFolder());
        m_place->store().database().attach(book);
    }
    void cleanupTestCase() { m_place.reset(); }

    // What the stored texts read as; none stored reads as the defaults.
    void storedTextsRead_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<QString>("fontName");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("nothing stored") << ""
                                        << ""
                                        << ""
                                        << "Times New Roman" << 10 << false;
        QTest::newRow("as written") << "Arial"
                                    << "12"
                                    << "1"
                                    << "Arial" << 12 << true;
        QTest::newRow("blanks around") << "  Liberation Mono "
                                       << " 14 "
                                       << " 1 "
                                       << "Liberation Mono" << 14 << true;
        QTest::newRow("blank name, size no number") << "   "
                                                    << "двенадцать"
                                                    << "0"
                                                    << "Times New Roman" << 10 << false;
        QTest::newRow("size with a fraction, other orientation") << "Arial"
                                                                 << "10.5"
                                                                 << "2"
                                                                 << "Arial" << 10 << false;
        QTest::newRow("size not above zero") << "Arial"
                                             << "0"
                                             << "-1"
                                             << "Arial" << 10 << false;
    }
    void storedTextsRead() {
        QFETCH(QString, name);
        QFETCH(QString, size);
        QFETCH(QString, orientation);
        QFETCH(QString, fontName);
        QFETCH(int, fontSize);
        QFETCH(bool, landscape);
        BookOptions options = m_place->store().options();
        options.setOption(kNameKey, name);
        options.setOption(kSizeKey, size);
        options.setOption(kOrientationKey, orientation);
        const SheetPrintSettings read = SheetPrintSettings::read(options, kWindow);
        QCOMPARE(read.fontName, fontName);
        QCOMPARE(read.fontSize, fontSize);
        QCOMPARE(read.landscape, landscape);
    }

    // The name and size as they are, the orientation as "1" or "0", under the window's own keys
    // only.
    void writtenUnderTheWindowsKeys() {
        BookOptions options = m_place->store().options();
        const QString other = QString::fromLatin1(kPayersReportWindow);
        options.setOption(other + ".DingerFontName", "Arial");
        SheetPrintSettings settings{"Liberation Sans", 9, true};
        settings.write(options, kWindow);
        QCOMPARE(options.option(kNameKey), QStringLiteral("Liberation Sans"));
        QCOMPARE(options.option(kSizeKey), QStringLiteral("9"));
        QCOMPARE(options.option(kOrientationKey), QStringLiteral("1"));
        QCOMPARE(SheetPrintSettings::read(options, kWindow), settings);
        settings.landscape = false;
        settings.write(options, kWindow);
        QCOMPARE(options.option(kOrientationKey), QStringLiteral("0"));
        QCOMPARE(options.option(other + ".DingerFontName"), QStringLiteral("Arial"));
        QCOMPARE(SheetPrintSettings::read(options, other).fontSize, 10);
    }

private:
    std::unique_ptr<Workplace> m_place;
};

QTEST_MAIN(TestSheetPrintSettings)
#include "test_sheet_print_settings.moc"

#include "platform/office_conversion.h"

#include "core/file_operations.h"
#include "platform/office.h"
#include "platform/work_folder.h"
#include "platform/xlsx_writer.h"
#include "platform/zip_archive.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/warning_log.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/platform/locale_of_the_user.h"
#include "tests/support/platform/pdf_text.h"
#include "tests/support/platform/work_folders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

using testsupport::leftWorkFolders;
using testsupport::messageOf;
using testsupport::pdfText;
using testsupport::putOfficeScript;
using testsupport::readFile;
using testsupport::workFoldersRoot;
using testsupport::writeFile;

namespace {

// A converter as LibreOffice is one: it writes "from <source's name>" as the output file that
// the arguments (file URLs) ask for. It records its arguments, one a line, in "args", and whether
// the folder of its profile was there while it ran, as the file "profile folder seen".
const QByteArray kConverter = R"sh(here=$(dirname "$0")
printf '%s\n' "$@" > "$here/args"
profile=$(printf '%s\n' "$@" | sed -n 's|^-env:UserInstallation=file://||p')
[ -d "$(dirname "$profile")" ] && touch "$here/profile folder seen"
while [ $# -gt 1 ]; do
    case "$1" in
        --convert-to) format=$2 ;;
        --outdir) outdir=$(from_url "$2") ;;
    esac
    shift
done
name=$(basename "$(from_url "$1")")
printf 'from %s' "$name" > "$outdir/${name%.*}.${format%%:*}")sh";

const QString kDocumentText = QStringLiteral("Приходный кассовый ордер № 12345");

QByteArray flatOdt(const QString& text) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2"
    office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text><text:p>)" +
           text.toUtf8() + "</text:p></office:text></office:body></office:document>\n";
}

// The "mimetype" entry of the zip archive at path.
QByteArray mimeTypeOf(const QString& path) {
    for (const zip::Entry& entry : zip::read(path))
        if (entry.name == QStringLiteral("mimetype"))
            return entry.data;
    return QByteArray();
}

QString contentOf(const QString& path) {
    for (const zip::Entry& entry : zip::read(path))
        if (entry.name == QStringLiteral("content.xml"))
            return QString::fromUtf8(entry.data);
    return QString();
}

} // namespace

// Documents converted by LibreOffice run without a window: by fakes for how it is run and how
// its failures are told, by the real one for what it writes.
class TestOfficeConversion : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_office = std::make_unique<QTemporaryDir>();
        setOfficeSearchPath(m_office->path());
    }
    void cleanup() {
        setOfficeSearchPath(QString());
        QDir(workFoldersRoot()).removeRecursively();
    }

    // LibreOffice is asked, on a profile of its own that is removed afterwards, for the format
    // into the target folder; the output is named after the source without its last extension.
    void runOnAPrivateProfile_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("output");
        QTest::newRow("to PDF") << "Ордер.odt"
                                << "pdf"
                                << "Ордер.pdf";
        QTest::newRow("dotted name") << "Ордер.2010.doc"
                                     << "odt"
                                     << "Ордер.2010.odt";
        QTest::newRow("with a filter") << "Ордер.odt"
                                       << "pdf:writer_pdf_Export"
                                       << "Ордер.pdf";
    }
    void runOnAPrivateProfile() {
        QFETCH(QString, source);
        QFETCH(QString, format);
        QFETCH(QString, output);
        putOfficeScript(m_office->path(), kConverter);
        QTemporaryDir dir;
        const QString sourcePath = dir.filePath(source);
        writeFile(sourcePath, "document");
        const QString target = dir.filePath("out");
        QVERIFY(QDir().mkpath(target));

        QCOMPARE(convertDocument(sourcePath, format, target), target + "/" + output);

        QCOMPARE(readFile(target + "/" + output), "from " + source.toUtf8());
        QStringList args = QString::fromUtf8(readFile(m_office->filePath("args")))
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(args.size(), 9);
        const QString profilePrefix = QStringLiteral("-env:UserInstallation=file://");
        QVERIFY2(args[3].startsWith(profilePrefix + workFoldersRoot() + "/"), qPrintable(args[3]));
        QVERIFY(args[3].endsWith("/profile"));
        args[3] = QStringLiteral("<profile>");
        QCOMPARE(args, QStringList({"--headless", "--norestore", "--nologo", "<profile>",
                                    "--convert-to", format, "--outdir", officeFileUrl(target),
                                    officeFileUrl(sourcePath)}));
        QVERIFY(QFile::exists(m_office->filePath("profile folder seen")));
        QCOMPARE(leftWorkFolders(), QStringList());
    }

    // Each failure is told in one sentence with the document's file and the cause, while what
    // LibreOffice wrote goes to standard error; the profile is removed all the same.
    void failureToldWithItsCause_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("logged");
        QTest::newRow("ended with an error")
            << QByteArray("echo 'filter failed' >&2; exit 3")
            << "Не удалось преобразовать документ «Ордер.odt»: LibreOffice завершился с ошибкой "
               "(код 3)."
            << "filter failed";
        QTest::newRow("killed")
            << QByteArray("echo 'core dumped'; echo 'at frame 7' >&2; kill -9 $$")
            << "Не удалось преобразовать документ «Ордер.odt»: LibreOffice аварийно завершил "
               "работу."
            << "core dumped\nat frame 7";
        QTest::newRow("could not open the source")
            << QByteArray("echo 'Error: source file could not be loaded' >&2")
            << "Не удалось преобразовать документ «Ордер.odt»: LibreOffice не смог его открыть."
            << "Error: source file could not be loaded";
        QTest::newRow("wrote nothing")
            << QByteArray("echo 'Error: no export filter for /tmp/out/Ордер.pdf found' >&2")
            << "Не удалось преобразовать документ «Ордер.odt»: LibreOffice не записал файл "
               "«Ордер.pdf»."
            << "Error: no export filter for /tmp/out/Ордер.pdf found";
        QTest::newRow("wrote an empty file")
            << QByteArray("touch \"$(dirname \"$0\")/out/Ордер.pdf\"")
            << "Не удалось преобразовать документ «Ордер.odt»: LibreOffice не записал файл "
               "«Ордер.pdf»."
            << "";
        QTest::newRow("no office program")
            << QByteArray()
            << "Операция невозможна: на компьютере не найден LibreOffice (программа soffice). "
               "Установите LibreOffice и повторите попытку."
            << "";
    }
    void failureToldWithItsCause() {
        QFETCH(QByteArray, script);
        QFETCH(QString, told);
        QFETCH(QString, logged);
        if (!script.isEmpty())
            putOfficeScript(m_office->path(), script);
        const QString source = m_office->filePath("Ордер.odt");
        writeFile(source, "document");
        const QString target = m_office->filePath("out");
        QVERIFY(QDir().mkpath(target));
        writeFile(target + "/Ордер.pdf", "an earlier conversion");

        const testsupport::WarningLog log;
        const QString message = messageOf([&] { convertDocument(source, "pdf", target); });

        QCOMPARE(message, told);
        if (logged.isEmpty()) {
            QCOMPARE(log.messages, QStringList());
        } else {
            QCOMPARE(log.messages.size(), 1);
            QCOMPARE(log.messages[0], "LibreOffice, документ " + source + ":\n" + logged);
        }
        QCOMPARE(leftWorkFolders(), QStringList());
    }

    // LibreOffice that does not finish in time is stopped with what it has started.
    void stoppedWhenOutOfTime() {
        putOfficeScript(m_office->path(), R"sh(here=$(dirname "$0")
echo $$ > "$here/pid"
sleep 60 &
echo $! > "$here/child"
wait)sh");
        const QString source = m_office->filePath("Ордер.odt");
        writeFile(source, "document");
        QElapsedTimer clock;
        clock.start();

        const QString message = messageOf([&] {
            convertDocument(source, "pdf", m_office->path(), std::chrono::milliseconds(300));
        });

        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(message, QStringLiteral("LibreOffice не закончил преобразование документа "
                                         "«Ордер.odt» за 1 с и был остановлен."));
        const qint64 pid = readFile(m_office->filePath("pid")).trimmed().toLongLong();
        const qint64 child = readFile(m_office->filePath("child")).trimmed().toLongLong();
        QVERIFY(pid > 0 && child > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(pid) && !processRuns(child), 2000);
        QCOMPARE(leftWorkFolders(), QStringList());
    }

    // The real LibreOffice: a flat OpenDocument file to an ODT package, that to a PDF file with
    // its text; the user's own LibreOffice profile is not touched.
    void realConversionKeepsTheText() {
        setOfficeSearchPath(QString());
        QTemporaryDir dir;
        const QString source = dir.filePath("Ордер.fodt");
        writeFile(source, flatOdt(kDocumentText));
        QVERIFY(QDir().mkpath(dir.filePath("pdf")));

        const QString odt = convertDocument(source, "odt", dir.path());
        const QString pdf = convertDocument(odt, "pdf", dir.filePath("pdf"));

        QCOMPARE(mimeTypeOf(odt), "application/vnd.oasis.opendocument.text");
        QVERIFY(pdfText(pdf).contains(kDocumentText));
        const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
        QVERIFY(!QFileInfo::exists(config + "/libreoffice"));
        QCOMPARE(leftWorkFolders(), QStringList());
    }

    // The real LibreOffice under a locale this machine lacks (the user's LANG of another
    // machine): a workbook whose name and folder have Cyrillic letters and a space becomes a
    // PDF file with its text.
    void realConversionUnderAMissingLocale() {
        setOfficeSearchPath(QString());
        const testsupport::LocaleOfTheUser missing("xx_XX.UTF-8");
        QTemporaryDir dir;
        const QString folder = dir.filePath("Отчеты кассы");
        QVERIFY(QDir().mkpath(folder + "/PDF файлы"));
        const QString source = folder + "/Движение денег.xlsx";
        {
            XlsxWriter book(source, "Движение");
            book.writeString(0, 0, kDocumentText, {});
            book.close();
        }

        const QString pdf = convertDocument(source, "pdf", folder + "/PDF файлы");

        QCOMPARE(pdf, folder + "/PDF файлы/Движение денег.pdf");
        QVERIFY(pdfText(pdf).contains(kDocumentText));
    }

    // A Word template of the program opens as an ODT document with its text.
    void realWordTemplateToOdt() {
        setOfficeSearchPath(QString());
        QTemporaryDir dir;
        const QString name = QStringLiteral("Приходный кассовый ордер (Россия)");
        const QString source = dir.filePath(name + ".doc");
        QVERIFY(
            QFile::copy(QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR "/") + name + ".doc", source));

        const QString odt = convertDocument(source, "odt", dir.path());

        QCOMPARE(odt, dir.filePath(name + ".odt"));
        QCOMPARE(mimeTypeOf(odt), "application/vnd.oasis.opendocument.text");
        QVERIFY(contentOf(odt).contains(QStringLiteral("ПРИХОДНЫЙ КАССОВЫЙ ОРДЕР")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_office; // the fake office program's folder, new per test
};

QTEST_MAIN(TestOfficeConversion)
#include "test_office_conversion.moc"

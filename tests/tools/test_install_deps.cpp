#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A dpkg-query that knows every package installed but those of LibreOffice, which are
// installed only when listed in the file "office" beside it.
const char kFakeQuery[] = R"sh(#!/bin/sh
for name; do :; done
case "$name" in
    libreoffice*) grep -qx "$name" "$(dirname "$0")/office" || exit 1 ;;
esac
printf 'install ok installed')sh";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

// The LibreOffice that the installation script picks for running the program and for the
// tests, on machines with each kind of LibreOffice installed, or none.
class TestInstallDeps : public QObject {
    Q_OBJECT
private slots:
    void officeChosenForRunAndForTests_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("tests");
        QTest::addColumn<QStringList>("installs");
        const QStringList none;
        const QStringList desktop{"libreoffice-core", "libreoffice-writer", "libreoffice-calc"};
        const QStringList windowless{"libreoffice-core-nogui", "libreoffice-writer-nogui",
                                     "libreoffice-calc-nogui"};
        const QStringList desktopOffice{"libreoffice-writer", "libreoffice-calc"};
        QTest::newRow("run, fresh machine") << none << false << desktopOffice;
        QTest::newRow("run, window-less build") << windowless << false << desktopOffice;
        QTest::newRow("run, desktop build") << desktop << false << none;
        QTest::newRow("run, desktop Writer only")
            << QStringList{"libreoffice-core", "libreoffice-writer"} << false
            << QStringList{"libreoffice-calc"};
        QTest::newRow("tests, fresh machine") << none << true << desktopOffice;
        QTest::newRow("tests, window-less build") << windowless << true << none;
        QTest::newRow("tests, desktop build") << desktop << true << none;
        QTest::newRow("tests, window-less Writer only")
            << QStringList{"libreoffice-core-nogui", "libreoffice-writer-nogui"} << true
            << QStringList{"libreoffice-calc-nogui"};
    }
    void officeChosenForRunAndForTests() {
        QFETCH(QStringList, installed);
        QFETCH(bool, tests);
        QFETCH(QStringList, installs);
        QTemporaryDir bin;
        const QString query = bin.filePath("dpkg-query");
        writeFile(query, kFakeQuery);
        QFile::setPermissions(query, QFile::permissions(query) | QFile::ExeOwner);
        writeFile(bin.filePath("office"), (installed.join('\n') + '\n').toUtf8());

        QProcess script;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", bin.path() + ':' + environment.value("PATH"));
        script.setProcessEnvironment(environment);
        QStringList arguments{INSTALL_DEPS, "--dry-run"};
        if (tests)
            arguments << "--tests";
        script.start("bash", arguments);
        QVERIFY(script.waitForFinished(30000));
        QCOMPARE(script.exitCode(), 0);
        const QString output = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
        QStringList listed;
        if (!output.isEmpty()) {
            QVERIFY2(output.startsWith("Installing: "), qPrintable(output));
            listed = output.mid(12).split(' ', Qt::SkipEmptyParts);
        }
        QCOMPARE(listed, installs);
    }
};

QTEST_MAIN(TestInstallDeps)
#include "test_install_deps.moc"

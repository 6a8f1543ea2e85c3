#include "core/exceptions.h"
#include "script/command_list.h"
#include "script/delimited_string.h"

#include <QTest>

namespace {

// A list of three commands that log "Name:arguments".
struct Fixture {
    QStringList log;
    CommandList commands;
    Fixture() {
        for (const QString& name :
             {QStringLiteral("ExecSql"), QStringLiteral("A"), QStringLiteral("B")})
            commands.registerCommand(
                name, [this, name](const QString& args) { log << name + u':' + args; });
    }
};

template <class E> QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.message();
    }
    return QStringLiteral("<no exception>");
}

} // namespace

class TestCommandList : public QObject {
    Q_OBJECT
private slots:
    void executeLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("name in other case") << "ExecSQL()" << QStringList{"ExecSql:"};
        QTest::newRow("two without blank") << "A(1)B(2)" << QStringList{"A:1", "B:2"};
        QTest::newRow("blanks around") << "  A(x)   B( y ) " << QStringList{"A:x", "B: y "};
        QTest::newRow("arguments kept raw") << "A(1,\\44\\, 2)" << QStringList{"A:1,\\44\\, 2"};
        QTest::newRow("empty line") << "" << QStringList{};
        QTest::newRow("blank line") << "   " << QStringList{};
    }
    void executeLine() {
        QFETCH(QString, line);
        QFETCH(QStringList, log);
        Fixture f;
        f.commands.executeLine(line);
        QCOMPARE(f.log, log);
    }

    void executeLineBracketErrors_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("no brackets")
            << "junk"
            << "Bracket's not found in line \"junk\" pos 1" << QStringList{};
        QTest::newRow("after blanks")
            << "  junk"
            << "Bracket's not found in line \"  junk\" pos 3" << QStringList{};
        QTest::newRow("earlier command ran")
            << "A(1) junk"
            << "Bracket's not found in line \"A(1) junk\" pos 6" << QStringList{"A:1"};
        QTest::newRow("no opening bracket")
            << "A)"
            << "Bracket's not found in line \"A)\"" << QStringList{};
        QTest::newRow("percent signs stay")
            << "%1 %2"
            << "Bracket's not found in line \"%1 %2\" pos 1" << QStringList{};
    }
    void executeLineBracketErrors() {
        QFETCH(QString, line);
        QFETCH(QString, message);
        QFETCH(QStringList, log);
        Fixture f;
        QCOMPARE(messageOf<ParserError>([&] { f.commands.executeLine(line); }), message);
        QCOMPARE(f.log, log);
    }

    void unknownCommand() {
        Fixture f;
        QCOMPARE(messageOf<ListError>([&] { f.commands.executeLine(QStringLiteral("A(1)C(2)")); }),
                 QStringLiteral("Command \"C\" not found!"));
        QCOMPARE(f.log, QStringList{"A:1"});
        // The name is everything before "(", blanks included.
        QCOMPARE(messageOf<ListError>([&] { f.commands.executeCommand(QStringLiteral("A (1)")); }),
                 QStringLiteral("Command \"A \" not found!"));
    }

    void firstRegisteredOfEqualNamesWins() {
        Fixture f;
        f.commands.registerCommand(QStringLiteral("a"), [&](const QString&) { f.log << "second"; });
        QCOMPARE(f.commands.indexOf(QStringLiteral("a")), 1);
        f.commands.executeLine(QStringLiteral("a(z)"));
        QCOMPARE(f.log, QStringList{"A:z"});
    }

    void paramByIndex_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("value");
        QTest::newRow("first") << "a,b,c" << 1 << "a";
        QTest::newRow("second") << "a,b,c" << 2 << "b";
        QTest::newRow("last") << "a,b,c" << 3 << "c";
        QTest::newRow("blanks kept") << " x " << 1 << " x ";
        QTest::newRow("empty text") << "" << 1 << "";
        QTest::newRow("empty argument") << "a,,c" << 2 << "";
        QTest::newRow("after last comma") << "5,7," << 3 << "";
        QTest::newRow("index 0 acts as 1") << "a,b" << 0 << "a";
        QTest::newRow("negative acts as 1") << "a,b" << -3 << "a";
        QTest::newRow("escaped comma") << "a\\44\\b,c" << 1 << "a,b";
    }
    void paramByIndex() {
        QFETCH(QString, arguments);
        QFETCH(int, index);
        QFETCH(QString, value);
        QCOMPARE(CommandList::param(index, arguments), value);
    }

    void paramMissing() {
        QCOMPARE(
            messageOf<CommandArgumentError>([] { CommandList::param(4, QStringLiteral("a,b,c")); }),
            QStringLiteral("In line a,b,c parameter 4 not found!"));
        QCOMPARE(messageOf<CommandArgumentError>([] { CommandList::param(2, QString()); }),
                 QStringLiteral("In line  parameter 2 not found!"));
    }

    void encodeParam_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("comma and bracket") << "a,b)"
                                           << "a\\44\\b\\41\\";
        QTest::newRow("backslash, not opening bracket") << "(\\"
                                                        << "(\\92\\";
        QTest::newRow("plain") << "Касса 1"
                               << "Касса 1";
    }
    void encodeParam() {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(CommandList::encodeParam(text), encoded);
    }

    void encodeDecodeRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("specials") << "),\\(";
        QTest::newRow("looks like an escape") << "\\41\\";
        QTest::newRow("cyrillic and signs") << "Ёлка, «ель» (№ 5) \\ €";
        QTest::newRow("beyond Windows-1251") << "日本";
    }
    void encodeDecodeRoundTrip() {
        QFETCH(QString, text);
        const QString encoded = CommandList::encodeParam(text);
        QVERIFY(!encoded.contains(u',') && !encoded.contains(u')'));
        QCOMPARE(CommandList::decodeParam(encoded), text);
    }

    void decodeParam_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("opening bracket") << "\\40\\"
                                         << "(";
        QTest::newRow("two in a row") << "\\65\\\\66\\"
                                      << "AB";
        QTest::newRow("Windows-1251 byte") << "x\\200\\y"
                                           << "xИy";
        QTest::newRow("ukrainian letter") << "\\175\\"
                                          << "Ї";
        QTest::newRow("low byte of the code") << "\\321\\"
                                              << "A";
    }
    void decodeParam() {
        QFETCH(QString, text);
        QFETCH(QString, decoded);
        QCOMPARE(CommandList::decodeParam(text), decoded);
    }

    void decodeParamErrors() {
        QCOMPARE(messageOf<CommandArgumentError>(
                     [] { CommandList::decodeParam(QStringLiteral("abc\\12")); }),
                 QStringLiteral("Right \\ not found in parameter abc\\12 !"));
        QVERIFY_THROWS_EXCEPTION(ConvertError, CommandList::decodeParam(QStringLiteral("\\x\\")));
        QVERIFY_THROWS_EXCEPTION(ConvertError, CommandList::decodeParam(QStringLiteral("\\\\")));
    }

    void delimitedString_data() {
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("terminated") << ","
                                    << "1,2," << QStringList{"1", "2"};
        QTest::newRow("last needs its delimiter") << ","
                                                  << "1,2" << QStringList{"1"};
        QTest::newRow("empty text") << ","
                                    << "" << QStringList{};
        QTest::newRow("empty items") << ","
                                     << ",," << QStringList{"", ""};
        QTest::newRow("long delimiter") << "::"
                                        << "a::b:::c" << QStringList{"a", "b"};
        QTest::newRow("no overlap") << "::"
                                    << ":::" << QStringList{""};
        QTest::newRow("empty delimiter") << ""
                                         << "a,b," << QStringList{};
    }
    void delimitedString() {
        QFETCH(QString, delimiter);
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        DelimitedString s(delimiter);
        s.setText(text);
        QCOMPARE(s.text(), text);
        QCOMPARE(s.delimiter(), delimiter);
        QCOMPARE(s.count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(s.item(i + 1), items[i]);
        QCOMPARE(s.item(0), QString());
        QCOMPARE(s.item(int(items.size()) + 1), QString());
    }
};

QTEST_MAIN(TestCommandList)
#include "test_command_list.moc"

// Pick lists: the comma format and their rows in table options.
#include <QTest>

#include "admin/TCommaText.h"
#include "admin/TPickListSet.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "tests/support/TestSupport.h"

using testsupport::TestDatabase;

namespace {

QString storedList(int key, int* rows = nullptr) {
    TDataSet ds;
    gDatabase->Fetch(QStringLiteral("select [Label], [List] from options where [Key]=:Key"),
                     {DBParam("Key", key)}, ds, false);
    if (rows) *rows = ds.RecordCount();
    return ds.RecordCount() ? ds.Field(1)->AsString() : QString();
}

}  // namespace

class PickListTests : public QObject {
    Q_OBJECT
private slots:
    // Lists that are written as the text and read back as the same items.
    void commaTextRoundTrip_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QStringList{"32开", "16开"} << "32开,16开";
        QTest::newRow("space") << QStringList{"A 区", "B"} << "\"A 区\",B";
        QTest::newRow("leading and trailing space") << QStringList{" a "} << "\" a \"";
        QTest::newRow("quote") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
        QTest::newRow("comma") << QStringList{"a,b", "c"} << "\"a,b\",c";
        QTest::newRow("tab and line break") << QStringList{"a\tb", "c\nd"} << "\"a\tb\",\"c\nd\"";
        QTest::newRow("empty item inside") << QStringList{"a", "", "b"} << "a,,b";
        QTest::newRow("empty item first") << QStringList{"", "a"} << ",a";
        QTest::newRow("empty item last") << QStringList{"a", ""} << "a,";
        QTest::newRow("one empty item") << QStringList{""} << "\"\"";
        QTest::newRow("two empty items") << QStringList{"", ""} << ",";
        QTest::newRow("empty list") << QStringList{} << "";
    }
    void commaTextRoundTrip() {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QCOMPARE(ToCommaText(items), text);
        QCOMPARE(FromCommaText(text), items);
    }

    // Texts not written by the system (typed or edited elsewhere) are still read by the rules.
    void commaTextReading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("unquoted blank splits") << "a b" << QStringList{"a", "b"};
        QTest::newRow("blanks around items") << "  a ,\r\n b  " << QStringList{"a", "b"};
        QTest::newRow("trailing comma after blank") << "a, " << QStringList{"a"};
        QTest::newRow("unclosed quote") << "\"a b" << QStringList{"a b"};
        QTest::newRow("text after closing quote") << "\"a\"b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("blank only") << " \t " << QStringList{};
    }
    void commaTextReading() {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(FromCommaText(text), items);
    }

    void saveListInsertsThenUpdates() {
        TestDatabase db;
        TPickListSet lists;
        QString text = QStringLiteral("stale");
        QVERIFY(!lists.LoadList(3, &text));
        QVERIFY(text.isEmpty());
        QVERIFY(lists.Items(3).isEmpty());

        QVERIFY(lists.SaveItems(3, {QStringLiteral("一楼 东"), QStringLiteral("二楼")}));
        QVERIFY(
            lists.SaveItems(3, {QStringLiteral("一楼 东"), QStringLiteral("二楼"), QStringLiteral("三楼")}));
        int rows = 0;
        QCOMPARE(storedList(3, &rows), QStringLiteral("\"一楼 东\",二楼,三楼"));
        QCOMPARE(rows, 1);
        QVERIFY(lists.LoadList(3, &text));
        QCOMPARE(lists.Items(3), (QStringList{"一楼 东", "二楼", "三楼"}));

        // Storing an empty list keeps the row with an empty text: no items.
        QVERIFY(lists.SaveItems(3, {}));
        QVERIFY(lists.LoadList(3, &text));
        QCOMPARE(text, QString());
        QVERIFY(lists.Items(3).isEmpty());
        QVERIFY(lists.Items(2).isEmpty());
    }

    void rememberedNumbers_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("criterion");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("stored");
        QTest::newRow("days") << 6 << " 3 " << true << ""
                              << "1,3";
        QTest::newRow("days already listed") << 6 << "1" << true << ""
                                             << "1";
        QTest::newRow("days blank") << 6 << "   " << false << ""
                                    << "1";
        QTest::newRow("days not whole") << 6 << "1.5" << false << "\r\n1.5 不是有效的整数!\t"
                                        << "1";
        QTest::newRow("days text") << 6 << "abc" << false << "\r\nabc 不是有效的整数!\t"
                                   << "1";
        QTest::newRow("charge") << 7 << "1.5" << true << ""
                                << "1,1.5";
        QTest::newRow("charge text") << 7 << "x1" << false << "\r\nx1 不是有效的数字!\t"
                                     << "1";
    }
    void rememberedNumbers() {
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(bool, criterion);
        QFETCH(QString, warning);
        QFETCH(QString, stored);
        TestDatabase db;
        TRecordingMessages boxes;
        TPickListSet lists;
        QVERIFY(lists.SaveItems(key, {QStringLiteral("1")}));
        QStringList items = lists.Items(key);
        QVariant value;
        QCOMPARE(lists.ReadRememberedNumber(key, typed, &items, &value), criterion);
        QCOMPARE(boxes.Texts(), warning.isEmpty() ? QStringList() : QStringList{warning});
        QCOMPARE(storedList(key), stored);
        QCOMPARE(items, FromCommaText(stored));
        if (criterion) QCOMPARE(value.toDouble(), typed.trimmed().toDouble());
        // The same number typed again is not added twice.
        if (criterion) {
            QVERIFY(lists.ReadRememberedNumber(key, typed, &items, &value));
            QCOMPARE(storedList(key), stored);
        }
    }
};

QObject* makePickListTests() {
    return new PickListTests;
}

#include "tst_picklists.moc"

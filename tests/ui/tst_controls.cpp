#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/base/TADlgFrm.h"
#include "ui/base/THelpFrm.h"
#include "ui/base/TaFrm.h"
#include "ui/base/TzxComboBox.h"
#include "ui/base/TzxDateTimePicker.h"
#include "ui/base/TzxEdit.h"
#include "ui/base/TzxListView.h"

// The base windows and input controls: key rules, conversions, placement, help.
class ControlTests : public QObject {
    Q_OBJECT
private slots:
    void numberKeys_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("number: digits") << int(etNumber) << ""
                                        << "12"
                                        << "12";
        QTest::newRow("number: letters refused") << int(etNumber) << ""
                                                 << "a1-b"
                                                 << "1";
        QTest::newRow("number: no leading point") << int(etNumber) << ""
                                                  << ".5"
                                                  << "5";
        QTest::newRow("number: one point only") << int(etNumber) << ""
                                                << "1.2.3"
                                                << "1.23";
        QTest::newRow("number: no second leading zero") << int(etNumber) << ""
                                                        << "007"
                                                        << "07";
        QTest::newRow("number: zero after a point") << int(etNumber) << ""
                                                    << "0.05"
                                                    << "0.05";
        QTest::newRow("integer: digits only") << int(etInteger) << ""
                                              << "1.5x-2"
                                              << "152";
        QTest::newRow("free: anything") << int(etFree) << ""
                                        << "a.b"
                                        << "a.b";
    }
    void numberKeys() {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        TzxEdit edit;
        edit.EditType = TEditType(type);
        edit.setText(text);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), result);
        // Editing keys still work.
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), result.left(result.size() - 1));
    }

    void conversions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("as");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty number is 0") << ""
                                           << "double" << QVariant(0.0) << "";
        QTest::newRow("number") << "12.5"
                                << "double" << QVariant(12.5) << "";
        QTest::newRow("not a number") << "12,5"
                                      << "double" << QVariant() << "\"12,5\" 不是有效的数字.";
        QTest::newRow("empty integer is 0") << ""
                                            << "integer" << QVariant(0) << "";
        QTest::newRow("integer") << "42"
                                 << "integer" << QVariant(42) << "";
        QTest::newRow("not an integer") << "4.2"
                                        << "integer" << QVariant() << "\"4.2\" 不是有效的整数.";
        QTest::newRow("empty date is null") << ""
                                            << "date" << QVariant() << "";
        QTest::newRow("date") << "2024-02-29"
                              << "date" << QVariant(QDate(2024, 2, 29)) << "";
        QTest::newRow("not a date") << "2023-02-29"
                                    << "date" << QVariant() << "\"2023-02-29\" 不是有效的日期.";
        QTest::newRow("date and time")
            << "2024-03-01 08:30:05"
            << "datetime" << QVariant(QDateTime(QDate(2024, 3, 1), QTime(8, 30, 5))) << "";
    }
    void conversions() {
        QFETCH(QString, text);
        QFETCH(QString, as);
        QFETCH(QVariant, value);
        QFETCH(QString, error);
        TzxEdit edit;
        edit.setText(text);
        try {
            QVariant got;
            if (as == QLatin1String("double")) got = edit.AsDouble();
            if (as == QLatin1String("integer")) got = edit.AsInteger();
            if (as == QLatin1String("date")) got = edit.AsDate();
            if (as == QLatin1String("datetime")) got = edit.AsDateTime();
            QVERIFY2(error.isEmpty(), "a conversion error was expected");
            QCOMPARE(got.isNull(), value.isNull());
            if (!value.isNull()) QCOMPARE(got, value);
        } catch (const TConvertError& e) {
            QCOMPARE(e.message(), error);
        }
    }

    void writingValues() {
        TzxEdit edit;
        edit.SetAsDouble(3.25);
        QCOMPARE(edit.text(), QStringLiteral("3.25"));
        edit.SetAsDouble(0);
        QCOMPARE(edit.text(), QString());
        edit.SetAsInteger(7);
        QCOMPARE(edit.text(), QStringLiteral("7"));
        edit.SetAsDate(QDate(2024, 1, 5));
        QCOMPARE(edit.text(), QStringLiteral("2024-01-05"));
        edit.SetAsDate(QVariant());
        QCOMPARE(edit.text(), QString());
        edit.EditType = etInteger;
        edit.setText(QStringLiteral("15"));
        QCOMPARE(edit.AsVariant(), QVariant(15));
        edit.clear();
        QVERIFY(edit.AsVariant().isNull());
    }

    void datePickerNull() {
        TzxDateTimePicker picker;
        picker.SetShowCheckbox(true);
        QVERIFY(picker.AsDate().isNull());  // created unticked
        picker.SetAsDate(QDate(2024, 5, 6));
        QCOMPARE(picker.AsDate(), QVariant(QDate(2024, 5, 6)));
        picker.SetAsDate(QVariant());
        QVERIFY(picker.AsDate().isNull());
        QVERIFY(!picker.CheckBox()->isChecked());
        QCOMPARE(picker.Editor()->date(), QDate::currentDate());
    }

    void enterMovesFocus() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* a = new TzxEdit;
        auto* b = new TzxComboBox;
        auto* c = new TzxEdit;
        layout->addWidget(a);
        layout->addWidget(b);
        layout->addWidget(c);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        a->setFocus();
        QTest::keyClick(a, Qt::Key_Return);
        QVERIFY(b->hasFocus());
        QCOMPARE(b->palette().color(QPalette::Base), QColor(0, 255, 255));
        QTest::keyClick(b, Qt::Key_Return);
        QVERIFY(c->hasFocus());
        QCOMPARE(c->palette().color(QPalette::Base), QColor(0, 255, 255));
        QTest::keyClick(c, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(b->hasFocus());
        // Leaving restores the colour.
        QVERIFY(c->palette().color(QPalette::Base) != QColor(0, 255, 255));
        c->setReadOnly(true);
        c->setFocus();
        QCOMPARE(c->palette().color(QPalette::Base), QColor(255, 255, 0));
    }

    void pointerPlacement_data() {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QPoint>("expected");
        // A 400x300 window on a 1280x800 screen.
        QTest::newRow("centred on the pointer") << QPoint(640, 400) << QPoint(440, 250);
        QTest::newRow("negative left and top become 20") << QPoint(100, 100) << QPoint(20, 20);
        QTest::newRow("right edge") << QPoint(1270, 400) << QPoint(860, 250);
        QTest::newRow("bottom edge") << QPoint(640, 790) << QPoint(440, 450);
    }
    void pointerPlacement() {
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, expected);
        QCOMPARE(TaFrm::PointerPlacement(pointer, QSize(400, 300), QSize(1280, 800)), expected);
    }

    void alignIcons() {
        TzxListView view;
        view.resize(600, 400);
        auto* a = view.AddAction(QStringLiteral("借阅"), QIcon(), QStringLiteral("LoanAction1"));
        auto* b = view.AddAction(QStringLiteral("归还"), QIcon(), QStringLiteral("ReturnEditAction1"));
        view.show();
        view.SetItemPosition(a, QPoint(10, 10));
        view.SetItemPosition(b, QPoint(200, 150));
        b->setSelected(true);
        view.AlignTops();  // one selected: nothing moves
        QCOMPARE(view.ItemPosition(b), QPoint(200, 150));
        a->setSelected(true);
        view.AlignLefts();
        QCOMPARE(view.ItemPosition(a).x(), view.ItemPosition(b).x());
        QCOMPARE(TzxListView::ActionName(a), QStringLiteral("LoanAction1"));
    }

    void helpTopic() {
        TADlgFrm dialog;
        dialog.setObjectName(QStringLiteral("BookEditFrm"));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_F1);
        THelpFrm* help = THelpFrm::Instance();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->Topic(), QStringLiteral("BookEdit"));
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("没有找到帮助主题 \"BookEdit\"")));
        dialog.HelpBtn()->click();
        QCOMPARE(help->Topic(), QStringLiteral("BookEdit"));
        help->close();
        // Escape is Cancel.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QObject* makeControlTests() {
    return new ControlTests;
}

#include "tst_controls.moc"

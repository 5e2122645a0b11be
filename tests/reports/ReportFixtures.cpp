#include "tests/reports/ReportFixtures.h"

#include <QDate>
#include <QProcess>

#include "core/TDataSet.h"

namespace reportfixtures {

std::unique_ptr<TDataSet> LoanList(int rows) {
    auto ds = std::make_unique<TDataSet>();
    auto caption = [](TField* f, const char* label, int width) {
        f->DisplayLabel = QString::fromUtf8(label);
        f->DisplayWidth = width;
    };
    caption(ds->AddField(TFieldKind::Text, "Code", 20), "条码", 8);
    caption(ds->AddField(TFieldKind::Text, "Name", 60), "书名", 24);
    caption(ds->AddField(TFieldKind::Text, "Reader", 20), "读者", 8);
    caption(ds->AddField(TFieldKind::DateTime, "LoanDate"), "借书日期", 10);
    caption(ds->AddField(TFieldKind::Float, "Fine"), "罚款", 8);
    caption(ds->AddField(TFieldKind::Integer, "Qty"), "册数", 4);
    ds->BeginLoad();
    for (int i = 0; i < rows; ++i) {
        const QByteArray code = QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0')).toUtf8();
        const QByteArray name = QStringLiteral("书名%1").arg(i).toUtf8();
        const QByteArray reader = QStringLiteral("读者%1").arg(i % 7).toUtf8();
        ds->LoadText(0, code.constData(), size_t(code.size()));
        ds->LoadText(1, name.constData(), size_t(name.size()));
        ds->LoadText(2, reader.constData(), size_t(reader.size()));
        ds->LoadDateTimeMs(
            3, TDataSet::EncodeDateTime(QDateTime(QDate(2026, 1, 1).addDays(i % 300), QTime(0, 0))));
        ds->LoadFloat(4, i * 1.5);
        ds->LoadInteger(5, i % 3);
        ds->EndLoadRow();
    }
    ds->EndLoad();
    return ds;
}

QString PdfText(const QString& fileName) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace reportfixtures

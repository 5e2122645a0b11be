#include "grid/TGridExport.h"

#include <xlsxwriter.h>
#include <QFile>

#include "core/TDataSet.h"

namespace gridexport {

namespace {

// The spreadsheet holds at most this many characters in a cell; longer texts are cut there
// rather than losing the whole export.
constexpr int kMaxCellChars = 32767;
constexpr int kMaxSheetRows = 1048576;

QByteArray cellBytes(const QString& text) {
    return text.size() > kMaxCellChars ? text.left(kMaxCellChars).toUtf8() : text.toUtf8();
}

}  // namespace

QString WriteXlsx(const TDataSet& dataSet, const TExportColumns& columns, const QString& path) {
    const int rows = dataSet.Active() ? dataSet.RecordCount() : 0;
    if (rows + 1 > kMaxSheetRows) return QStringLiteral("记录数 %1 超过了Excel工作表的最大行数.").arg(rows);
    const QByteArray file = QFile::encodeName(path);
    // Constant-memory mode writes each row out as soon as the next begins, so a large export
    // holds no more than one row of the sheet.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) return QStringLiteral("无法创建文件 %1").arg(path);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* text = workbook_add_format(book);
    format_set_num_format_index(text, 49);  // the built-in text format "@"
    lxw_error err = LXW_NO_ERROR;
    // Columns as wide as in the grid (about 7 pixels to a character of the sheet's font).
    for (size_t c = 0; c < columns.size() && err == LXW_NO_ERROR; ++c) {
        const double width =
            columns[c].Width > 0 ? qMax(LXW_DEF_COL_WIDTH, columns[c].Width / 7.0) : LXW_DEF_COL_WIDTH;
        err = worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, text);
    }
    for (size_t c = 0; c < columns.size() && err == LXW_NO_ERROR; ++c)
        err = worksheet_write_string(sheet, 0, lxw_col_t(c), cellBytes(columns[c].Caption).constData(), text);
    for (int r = 0; r < rows && err == LXW_NO_ERROR; ++r) {
        for (size_t c = 0; c < columns.size() && err == LXW_NO_ERROR; ++c) {
            const QByteArray value = cellBytes(dataSet.CellText(r, columns[c].Field));
            err = worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), value.constData(), text);
        }
    }
    const lxw_error closed = workbook_close(book);
    if (err == LXW_NO_ERROR) err = closed;
    if (err != LXW_NO_ERROR)
        return QStringLiteral("写入文件 %1 时出错: %2").arg(path, QString::fromUtf8(lxw_strerror(err)));
    return QString();
}

QString HtmlEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar ch : text) {
        switch (ch.unicode()) {
            case '&':
                out += QLatin1String("&amp;");
                break;
            case '<':
                out += QLatin1String("&lt;");
                break;
            case '>':
                out += QLatin1String("&gt;");
                break;
            case '"':
                out += QLatin1String("&quot;");
                break;
            case '\'':
                out += QLatin1String("&#39;");
                break;
            default:
                out += ch;
        }
    }
    return out;
}

QString WriteHtml(const TDataSet* dataSet, const TExportColumns& columns, const QString& path,
                  bool withRows) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("无法创建文件 %1: %2").arg(path, f.errorString());
    QByteArray buf;
    buf.reserve(1 << 20);
    bool failed = false;
    auto flush = [&] {
        if (!failed && f.write(buf) != buf.size()) failed = true;
        buf.clear();
    };
    auto line = [&](const char* s) {
        buf += s;
        buf += "\r\n";
    };
    // Escapes on the UTF-8 bytes: the characters to escape are all ASCII, and most values have
    // none, so they are copied as they are.
    auto cell = [&](const QString& value) {
        buf += "<td nowrap>";
        const QByteArray u = value.toUtf8();
        const char* p = u.constData();
        const char* end = p + u.size();
        const char* run = p;
        for (; p < end; ++p) {
            const char* entity = nullptr;
            switch (*p) {
                case '&':
                    entity = "&amp;";
                    break;
                case '<':
                    entity = "&lt;";
                    break;
                case '>':
                    entity = "&gt;";
                    break;
                case '"':
                    entity = "&quot;";
                    break;
                case '\'':
                    entity = "&#39;";
                    break;
                default:
                    continue;
            }
            buf.append(run, p - run);
            buf += entity;
            run = p + 1;
        }
        buf.append(run, end - run);
        buf += "&nbsp;</td>\r\n";
    };

    line("<html>");
    line("<head>");
    line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    line("<title></title>");
    line("</head>");
    line("<body>");
    line("<table>");
    line("<tr>");
    for (const TExportColumn& c : columns)
        cell(c.Caption);
    line("</tr>");
    const int rows = withRows && dataSet && dataSet->Active() ? dataSet->RecordCount() : 0;
    for (int r = 0; r < rows && !failed; ++r) {
        line("<tr>");
        for (const TExportColumn& c : columns)
            cell(dataSet->CellText(r, c.Field));
        line("</tr>");
        if (buf.size() > (1 << 20) - 4096) flush();
    }
    line("</table>");
    line("</body>");
    line("</html>");
    flush();
    f.close();
    if (failed || f.error() != QFileDevice::NoError)
        return QStringLiteral("写入文件 %1 时出错: %2").arg(path, f.errorString());
    return QString();
}

}  // namespace gridexport

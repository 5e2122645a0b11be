#include "ui/TMainActions.h"

#include <QApplication>
#include <QStringList>

#include "admin/TOperator.h"
#include "core/TAbort.h"
#include "core/TMessages.h"

namespace {

std::vector<TMainAction> buildActions() {
    auto a = [](const char* name, const char* caption, const char* icon, const char* hint) {
        TMainAction action;
        action.name = QLatin1String(name);
        action.caption = QString::fromUtf8(caption);
        action.icon = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon));
        action.hint = QString::fromUtf8(hint);
        return action;
    };
    std::vector<TMainAction> list = {
        a("CatalogEditAction1", "中图分类", "catalog", "维护中图分类目录树"),
        a("PublisherListAction1", "出版社", "publisher", "出版社资料的查询与维护"),
        a("BookListAction1", "图书资料", "book", "图书编目、查询与维护"),
        a("JournaListAction1", "期刊资料", "journal", "期刊编目、查询与维护"),
        a("ReaderskindListAction1", "读者类别", "readerkind", "读者类别及其借阅数量、天数和续借天数"),
        a("ReaderListAction1", "读者资料", "reader", "读者资料的查询与维护"),
        a("ReaderStateEditAction1", "读者状态设置", "readerstate", "读者挂失、停用和恢复正常"),
        a("ChargeEditAction1", "读者押金充值", "charge", "为读者充值押金"),
        a("LoanAction1", "图书期刊借阅", "loan", "为读者借出图书和期刊"),
        a("ReturnEditAction1", "图书期刊归还", "return", "归还图书和期刊, 超期时计算罚款"),
        a("RenewEditAction1", "图书期刊续借", "renew", "延长借阅期限"),
        a("BookoffEditAction1", "图书注销", "bookoff", "注销丢失或损坏的图书并罚款"),
        a("JouroffEditAction1", "期刊注销", "jouroff", "注销丢失或损坏的期刊并罚款"),
        a("FineQueryAction1", "罚款管理", "fine", "查询罚款记录, 收取未交罚款"),
        a("LoanQueryAction1", "图书期刊借阅查询", "loanquery", "按多种条件查询借阅记录"),
        a("WriteoffQueryAction1", "图书期刊注销查询", "writeoffquery", "查询注销记录, 撤销注销"),
        a("ChargeQueryAction1", "读者充值记录查询", "chargequery", "查询读者押金充值记录"),
        a("ReaderkindCountAction1", "读者类别借阅排名", "ranking", "按读者类别统计借阅次数"),
        a("ReaderdeptCountAction1", "读者部门借阅排名", "ranking", "按读者部门统计借阅次数"),
        a("ReaderLoanCountAction1", "读者借阅排名", "ranking", "按读者统计借阅次数"),
        a("BookLoanCountAction1", "图书借阅排名", "ranking", "按图书统计借阅次数"),
        a("JourLoanCountAction1", "期刊借阅排名", "ranking", "按期刊统计借阅次数"),
        a("BookTotalAction1", "图书分类统计", "total", "按分类统计图书的册数和借阅"),
        a("JourTotalAction1", "期刊分类统计", "total", "按分类统计期刊的册数和借阅"),
        a("ReaderTotalAction1", "读者分类统计", "total", "按部门和类别统计读者"),
    };
    const char* today[][2] = {
        {"TodayBookLoanAction1", "今日借出图书"},   {"TodayJourLoanAction1", "今日借出期刊"},
        {"TodayBookReturnAction1", "今日归还图书"}, {"TodayJourReturnAction1", "今日归还期刊"},
        {"TodayBookoffAction1", "今日注销图书"},    {"TodayJouroffAction1", "今日注销期刊"},
        {"TodayNewBookAction1", "今日新增图书"},    {"TodayNewJourAction1", "今日新增期刊"},
        {"TodayNewReaderAction1", "今日新增读者"},  {"TodayBookDueAction1", "今日到期图书"},
        {"TodayJourDueAction1", "今日到期期刊"},    {"TodayBookDue3Action1", "三日内到期图书"},
        {"TodayJourDue3Action1", "三日内到期期刊"}, {"TodayFineAction1", "今日罚款记录"},
        {"TodayChargeAction1", "今日充值记录"}};
    for (const auto& t : today)
        list.push_back(a(t[0], t[1], "today", t[1]));

    // Openers of the windows that exist; the others say that the function is not available yet.
    // A window that lands is wired here: "if (action.name == ...) action.open = &OpenX;".
    for (TMainAction& action : list) {
        if (action.name == QLatin1String("CatalogEditAction1")) action.right = rtCatalog;
        if (action.name == QLatin1String("CatalogEditAction1") ||
            action.name == QLatin1String("BookListAction1") ||
            action.name == QLatin1String("JournaListAction1"))
            action.busyCursor = true;
    }
    return list;
}

// Restores the normal cursor however the opener ends.
class TBusyCursor {
public:
    explicit TBusyCursor(bool on) : on_(on) {
        if (on_) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TBusyCursor() {
        if (on_) QApplication::restoreOverrideCursor();
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    bool on_;
};

}  // namespace

const std::vector<TMainAction>& MainActions() {
    static const std::vector<TMainAction> actions = buildActions();
    return actions;
}

const TMainAction* FindMainAction(const QString& name) {
    for (const TMainAction& action : MainActions())
        if (action.name == name) return &action;
    return nullptr;
}

void ShowNotAvailable(const QString& caption) {
    ShowInfo(QStringLiteral("\"%1\" 功能尚未提供.").arg(caption));
}

void RunMainAction(const TMainAction& action) {
    if (action.right) {
        // Nobody logged in has no rights.
        if (!gOperator) throw TAbort();
        gOperator->CheckRight(action.right, true);
    }
    if (!action.open) {
        ShowNotAvailable(action.caption);
        return;
    }
    TBusyCursor busy(action.busyCursor);
    action.open();
}

const QStringList& DesktopActionNames() {
    static const QStringList names = {"LoanAction1",         "ReturnEditAction1",      "RenewEditAction1",
                                      "BookoffEditAction1",  "JouroffEditAction1",     "ChargeEditAction1",
                                      "FineQueryAction1",    "ReaderStateEditAction1", "LoanQueryAction1",
                                      "WriteoffQueryAction1"};
    return names;
}

const QStringList& StripActionNames() {
    static const QStringList names = {"BookListAction1", "JournaListAction1", "ReaderListAction1",
                                      "ReaderskindListAction1", "CatalogEditAction1"};
    return names;
}

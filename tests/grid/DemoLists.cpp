#include "tests/grid/DemoLists.h"

#include "core/TDatabase.h"

namespace demolists {

std::unique_ptr<TRecordSet> OpenReaderKinds() {
    {
        TTransaction tx(*gDatabase);
        const struct {
            int id;
            const char* name;
            int bookTop, bookDays, jourTop, jourDays;
        } rows[] = {{1, "学生", 3, 30, 2, 10},
                    {2, "教师", 10, 60, 5, 20},
                    {3, "临时读者", 1, 15, 1, 10},
                    {4, "职工", 5, 30, 3, 15}};
        for (const auto& r : rows)
            gDatabase->ExecuteSql(
                QStringLiteral(
                    "insert into readerskind (Id,Name,BookTop,BookDays,BookRelet,JourTop,JourDays,JourRelet) "
                    "values (:Id,:Name,:BookTop,:BookDays,15,:JourTop,:JourDays,10)"),
                {DBParam("Id", r.id), DBParam("Name", QString::fromUtf8(r.name)),
                 DBParam("BookTop", r.bookTop), DBParam("BookDays", r.bookDays),
                 DBParam("JourTop", r.jourTop), DBParam("JourDays", r.jourDays)});
        tx.Commit();
    }
    auto set = std::make_unique<TRecordSet>();
    set->AddField(TFieldKind::Integer, QStringLiteral("Id"), -1, false, QStringLiteral("编号"));
    set->AddField(TFieldKind::Text, QStringLiteral("Name"), 30, true, QStringLiteral("名称"));
    set->AddField(TFieldKind::Integer, QStringLiteral("BookTop"), -1, true, QStringLiteral("图书限借本数"));
    set->AddField(TFieldKind::Integer, QStringLiteral("BookDays"), -1, true, QStringLiteral("图书限借天数"));
    set->AddField(TFieldKind::Integer, QStringLiteral("JourTop"), -1, true, QStringLiteral("期刊限借本数"));
    set->AddField(TFieldKind::Integer, QStringLiteral("JourDays"), -1, true, QStringLiteral("期刊限借天数"));
    set->OpenSql(
        QStringLiteral("select Id,Name,BookTop,BookDays,JourTop,JourDays from readerskind order by Id"));
    return set;
}

std::unique_ptr<TRecordSet> OpenReaders() {
    {
        TTransaction tx(*gDatabase);
        const struct {
            int id;
            const char* code;
            const char* name;
            const char* dept;
            double deposit;
            const char* tel;
        } rows[] = {{1, "R001", "张三", "计算机系", 50, "13800001111"},
                    {2, "R002", "李四", "物理系", 20.5, "13900002222"},
                    {3, "R003", "王五", "计算机系", 0, "13700003333"}};
        for (const auto& r : rows)
            gDatabase->ExecuteSql(
                QStringLiteral("insert into readers (Id,Code,Name,Dept,Deposit,Tel,KindId) "
                               "values (:Id,:Code,:Name,:Dept,:Deposit,:Tel,1)"),
                {DBParam("Id", r.id), DBParam("Code", QString::fromUtf8(r.code)),
                 DBParam("Name", QString::fromUtf8(r.name)), DBParam("Dept", QString::fromUtf8(r.dept)),
                 DBParam("Deposit", r.deposit), DBParam("Tel", QString::fromUtf8(r.tel))});
        tx.Commit();
    }
    auto set = std::make_unique<TRecordSet>();
    set->AddField(TFieldKind::Integer, QStringLiteral("Id"), -1, false, QStringLiteral("编号"));
    set->AddField(TFieldKind::Text, QStringLiteral("Code"), 20, true, QStringLiteral("读者编号"));
    set->AddField(TFieldKind::Text, QStringLiteral("Name"), 20, true, QStringLiteral("姓名"));
    set->AddField(TFieldKind::Text, QStringLiteral("Dept"), 30, true, QStringLiteral("部门"));
    set->AddField(TFieldKind::Float, QStringLiteral("Deposit"), -1, true, QStringLiteral("押金"));
    set->AddField(TFieldKind::Text, QStringLiteral("Tel"), 20, false, QStringLiteral("电话"));
    set->OpenSql(QStringLiteral("select Id,Code,Name,Dept,Deposit,Tel from readers order by Id"));
    return set;
}

}  // namespace demolists

#pragma once

#include <QString>

// The right numbers that windows and grid commands check.
enum TRight : int {
    rtClearData = 100,
    rtCatalog = 1001,
    rtCompany = 10000,
    rtPrint = 10002,
    rtPrintDesign = 10003,
    rtExport = 10004,
    rtBackup = 10005,
    rtSaveLayout = 10006,
    rtToolsMenu = 10007,
    rtColumnChoice = 10008,
    rtOperators = 100001
};

// One operator: the logged-in one is gOperator. Rights is the text of granted numbers, each
// with a comma before and after it (",10002,,10004,").
class TOperator {
public:
    QString LoginId;
    QString Password;
    QString Name;
    QString Contact;
    QString Note;
    QString Rights;

    // True when Rights holds ",number," or the operator is "sa".
    bool HasRight(int number) const;
    // HasRight; when false shows "对不起,您没有该功能的操作权限,请与管理员联系(%d)." and, when stop
    // is set, abandons the action silently (raises TAbort).
    bool CheckRight(int number, bool stop = true) const;

    // Builds the rights text from numbers, in the given order.
    static QString RightsText(const QList<int>& numbers);
};

extern TOperator* gOperator;

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
// with a comma before and after it (",10002,,10004,"). Password holds the stored hash.
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

    // Reads the operator row of the login name; true when exactly one row matched. Otherwise the
    // fields stay as they were.
    bool LoadOperator(const QString& loginId);
    // True when an operator is loaded and the password matches its stored one.
    bool CheckPassword(const QString& password) const;
    // Stores the new password (hashed) for this operator and keeps the hash in Password.
    void SetPassword(const QString& password);

    // The desktop layout text of an operator (column Menus).
    static QString LoadMenus(const QString& loginId);
    static void SaveMenus(const QString& loginId, const QString& menus);
    // The login names of every operator but "sa", one a line, in the order the database returns.
    static QString LoginNames();
};

extern TOperator* gOperator;

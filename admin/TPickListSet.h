#pragma once

#include <QString>
#include <QStringList>

#include "core/TRecordSet.h"

// The numbered pick lists of table options: one row per list ([Key]), its items kept as one
// comma text in [List]. Lists 0 to 5 are edited by the operator; 6 and 7 remember the numbers
// typed into the loan query's overdue-days and overdue-charge boxes.
class TPickListSet : public TRecordSet {
    Q_OBJECT
public:
    enum : int {
        kFormats = 0,
        kBindings = 1,
        kLanguages = 2,
        kLocations = 3,
        kDepartments = 4,
        kPeriods = 5,
        kOverdueDays = 6,
        kOverdueCharges = 7
    };

    explicit TPickListSet(QObject* owner = nullptr);
    ~TPickListSet() override;

    // Reads one list: true when its row exists; list is its comma text (empty when null or missing).
    bool LoadList(int key, QString* list);
    // Stores one list (update, or insert when no row was updated); true when stored.
    bool SaveList(int key, const QString& list);

    // The items of a list, for filling a drop-down; empty for a list never stored.
    QStringList Items(int key);
    bool SaveItems(int key, const QStringList& items);
    // The caption of the list editor for lists 0 to 5; empty for the others.
    static QString Caption(int key);

    // A criterion box whose typed numbers are remembered in list 6 (whole numbers) or 7 (numbers).
    // Blank text gives no criterion. Text that is not a number of the box's kind gives no criterion
    // after the warning "%s 不是有效的整数!" or "%s 不是有效的数字!". A valid number missing from the
    // box's items is added at their end and the items are stored under the key.
    // True when the text gives a criterion; value then holds it (int for 6, double for 7).
    bool ReadRememberedNumber(int key, const QString& text, QStringList* items, QVariant* value);
};

extern TPickListSet* gPickLists;

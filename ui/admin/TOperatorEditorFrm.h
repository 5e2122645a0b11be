#pragma once

#include <QList>

#include "ui/base/TADlgFrm.h"

class QListWidget;
class TzxEdit;

// The operator dialog "操作员属性": login name, password twice, name, contact, note and the
// check list of rights. The password fields start empty; while both are left untouched the
// stored password is kept (PasswordChanged() is false).
class TOperatorEditorFrm : public TADlgFrm {
    Q_OBJECT
public:
    explicit TOperatorEditorFrm(QWidget* parent = nullptr);

    void AddRightItem(const QString& caption, int number);
    QListWidget* RightsList() const { return rights_; }

    QString UserId() const;
    void SetUserId(const QString& loginId);
    // Disabled (and drawn in the dialog's colour) while an existing operator is edited.
    void SetUserIdEditable(bool editable);
    QString Passwd() const;
    // Fills both password fields and counts as untouched.
    void SetPasswd(const QString& password);
    bool PasswordChanged() const;
    // Reading builds ",n,,m," from the ticked items in list order; writing ticks the items whose
    // ",n," occurs in the text.
    QString Rights() const;
    void SetRights(const QString& rights);
    QString EmpName() const;
    void SetEmpName(const QString& name);
    QString EmpTel() const;
    void SetEmpTel(const QString& contact);
    QString EmpNote() const;
    void SetEmpNote(const QString& note);
    // Empties every field and unticks every item.
    void Clear();

    TzxEdit* edtUserId;
    TzxEdit* edtPasswd;
    TzxEdit* edtPasswd2;
    TzxEdit* edtName;
    TzxEdit* edtTel;
    TzxEdit* edtNote;

protected:
    bool CanClose() override;

private:
    QListWidget* rights_;
    QList<int> numbers_;
    bool passwordTouched_ = false;
};

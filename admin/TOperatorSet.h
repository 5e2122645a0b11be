#pragma once

#include <optional>

#include "core/TRecordSet.h"

class TField;

// The operators other than "sa", as the operators window lists them. Opens itself when created.
class TOperatorSet : public TRecordSet {
    Q_OBJECT
public:
    explicit TOperatorSet(QObject* owner = nullptr);

    TField* UserIdField() const { return userId_; }
    TField* PasswdField() const { return passwd_; }
    TField* NameField() const { return name_; }
    TField* ContactField() const { return contact_; }
    TField* NoteField() const { return note_; }
    TField* RightsField() const { return rights_; }

    // The statements raise TDbError (a duplicate login name is refused by the table's key). The
    // local rows follow a statement that ran. The password is given in clear and stored hashed;
    // UpdateOperator without a password keeps the stored one.
    void InsertOperator(const QString& loginId, const QString& password, const QString& rights,
                        const QString& note, const QString& contact, const QString& name);
    void UpdateOperator(const QString& loginId, const std::optional<QString>& password, const QString& rights,
                        const QString& note, const QString& contact, const QString& name);
    void DeleteOperator(const QString& loginId);

private:
    bool locate(const QString& loginId);
    TField* userId_;
    TField* passwd_;
    TField* name_;
    TField* contact_;
    TField* note_;
    TField* rights_;
};

#pragma once

#include <QString>

// The library's own details: the one row of table Company, loaded into gCompany at start-up,
// printed on reports and edited in the company window.
class TCompany {
public:
    int Id = 0;
    QString CompanyName;
    QString Manager;
    QString Tel;
    QString Fax;
    QString Address;
    QString Zip;
    QString Profile;
    bool Updated = false;

    // Reads the first row of Company; an empty table leaves Id 0 and empty texts.
    void LoadCompany();
    // Updates the row of Id, or inserts it when there is none. Raises TDbError on failure.
    void SaveCompany();
    // The details count as filled in when the company name is at least 8 bytes long in the 8-bit
    // GBK form: four Chinese characters or eight Latin letters.
    bool IsFilled() const;

    // Bytes of a text in GBK: ASCII counts 1, any other character 2.
    static int GbkLength(const QString& text);
};

extern TCompany* gCompany;

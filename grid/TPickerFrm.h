#pragma once

#include "ui/base/TaFrm.h"

class IViewList;
class QLineEdit;
class QPushButton;
class TDBGrid;
class TDataSet;

// The picker "选择": the list in a grid with its saved layout, a search box that filters the rows
// on every text field, the list object's add, change and delete commands, and OK to choose.
class TPickerFrm : public TaFrm {
    Q_OBJECT
public:
    TPickerFrm(IViewList* list, TDataSet* dataSet, int layoutId, QWidget* parent = nullptr);

    // Shows the picker; true when the operator closed it with "确定".
    static bool Pick(IViewList* list, TDataSet* dataSet, int layoutId, QWidget* parent = nullptr);

    TDBGrid* Grid() const { return grid_; }
    QLineEdit* SearchEdit() const { return edtValue1_; }
    QPushButton* SettingsButton() const { return settingsBtn_; }

    // "确定" or a double click on a row: the list object takes the current row as the choice.
    void PickCurrent();
    // Applies the typed search text as the dataset's filter.
    void Search(const QString& typed);

private:
    IViewList* list_;
    TDataSet* dataSet_;
    TDBGrid* grid_;
    QLineEdit* edtValue1_;
    QPushButton* settingsBtn_;
};

#pragma once

#include "ui/base/TaFrm.h"

class QListWidget;
class QPushButton;
class QToolButton;
class TRep;

// The print window "打印": the layouts of one report group; preview, and with the design right,
// add, delete, rename and design layouts.
class TReporterFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TReporterFrm(QWidget* parent = nullptr);

    // Setting the group fills the list (title order; the first entry selected).
    void SetGroupId(int group);
    int GroupId() const { return group_; }
    void SetReper(TRep* rep) { rep_ = rep; }
    TRep* Reper() const { return rep_; }
    void SetCanDesign(bool can);

    // The Id of the selected layout, or 0.
    int SelectedId() const;
    QListWidget* List() const { return list_; }

    // Where the window goes for a pointer position on a screen (see showEvent).
    static QRect Placement(const QSize& size, const QPoint& pointer, const QRect& screen);

public slots:
    void Preview();
    void NewReport();
    void DeleteReport();
    void RenameReport();
    void Design();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList(int selectId = 0);
    // The selected title; false (after telling the operator) when none is selected.
    bool needSelection();

    QListWidget* list_;
    QPushButton* previewButton_;
    QToolButton* newButton_;
    QToolButton* deleteButton_;
    QToolButton* renameButton_;
    QToolButton* designButton_;
    TRep* rep_ = nullptr;
    int group_ = 0;
    bool placed_ = false;
};

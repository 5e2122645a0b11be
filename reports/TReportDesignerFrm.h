#pragma once

#include <QDialog>
#include <QList>

#include "reports/engine/TReportDocument.h"

class QGraphicsScene;
class QGraphicsView;
class QTreeWidget;
class QTreeWidgetItem;
class TRep;
class TDesignerPanel;

// The layout designer: bands and objects placed, moved and resized on a millimetre grid with
// snapping; a property panel; a field list from the report's data sources; undo and redo; page
// setup; preview; open and save-as of layout files; save into the database under the report's key.
class TReportDesignerFrm : public QDialog {
    Q_OBJECT
public:
    TReportDesignerFrm(TRep* rep, QWidget* parent = nullptr);
    ~TReportDesignerFrm() override;

    static QString FileFilter();
    static constexpr double kSnapMm = 1.0;

    const rpt::TReportDocument& Document() const { return doc_; }
    bool Modified() const { return modified_; }
    // The selected band and object (-1 when none).
    int SelectedBand() const { return band_; }
    int SelectedObject() const { return object_; }
    void Select(int band, int object);

    // Replaces the document with an edit; the previous state goes to the undo stack.
    void Change(const rpt::TReportDocument& changed);
    bool CanUndo() const { return !undo_.isEmpty(); }
    bool CanRedo() const { return !redo_.isEmpty(); }

    // Commands without their file dialogs (the dialogs call these).
    bool OpenFile(const QString& fileName);
    bool SaveAsFile(const QString& fileName);
    // Inserts a text object "[source.field]" (or "[name]" with an empty source) into the selected
    // band, or the data band when none is selected.
    void InsertField(const QString& source, const QString& field);
    void AddObject(rpt::ObjectKind kind);
    void AddBand(rpt::BandKind kind);

public slots:
    void Undo();
    void Redo();
    // "Open": a file-open dialog; true only when a file was chosen and read.
    bool Open();
    // "Save": into the database under the report's key. A database error is shown and the designer stays
    // open.
    bool Save();
    // "Save as": a file-save dialog; the database is not touched.
    bool SaveAs();
    void PageSetup();
    void PreviewReport();
    void GenerateDefault();
    void DeleteSelected();
    // Closing asks whether to save a modified layout (Cancel keeps the designer open).
    void reject() override;

private:
    friend class TDesignerPanel;
    friend class TObjectItem;
    void rebuild();
    void fillFields();
    void updateActions();
    // Called by canvas items after a move or resize (millimetres inside the band).
    void objectMoved(int band, int object, const QRectF& rect);

    TRep* rep_;
    rpt::TReportDocument doc_;
    QList<QByteArray> undo_, redo_;
    bool modified_ = false;
    int band_ = -1, object_ = -1;
    QList<double> bandTops_;  // scene y of each band's top, mm

    QGraphicsScene* scene_;
    QGraphicsView* view_;
    QTreeWidget* fields_;
    TDesignerPanel* panel_;
    QAction* undoAction_;
    QAction* redoAction_;
};

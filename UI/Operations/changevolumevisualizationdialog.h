#ifndef CELVANE_UI_OPERATIONS_CHANGEVOLUMEVISUALIZATIONDIALOG_H
#define CELVANE_UI_OPERATIONS_CHANGEVOLUMEVISUALIZATIONDIALOG_H

#include "Core/Operations/changetotalvolumevisualizationoptions.h"

#include <QDialog>

#include <array>
#include <map>

namespace Ui {
class ChangeVolumeVisualizationDialogForm;
}

namespace Ui {
namespace Operations {

/// How one cell volume is drawn, and the colours of the catalogue's materials. Colours are
/// edited on a private copy; the catalogue is written only when the dialog is accepted.
class ChangeVolumeVisualizationDialog : public QDialog
{
    Q_OBJECT

public:
    typedef Core::Operations::ChangeTotalVolumeVisualizationOptions::Options Options;
    typedef std::array<float, 4> Color;

    /// Shows the options the volume has now and every material of the catalogue.
    explicit ChangeVolumeVisualizationDialog(const Options &present, QWidget *parent = nullptr);
    ~ChangeVolumeVisualizationDialog() override;

    Ui::ChangeVolumeVisualizationDialogForm *form() const { return ui; }

    Options getOptions() const;
    /// Material id to RGBA colour, every catalogue material, with the edits made here.
    const std::map<quint32, Color> &getColors() const { return colors; }
    /// Replaces the colour of the material shown now, as a valid choice in the colour
    /// chooser does.
    void setCurrentColor(const QColor &color);
    /// The preview's style sheet for a colour: "background-color : #rrggbb".
    static QString previewStyle(const Color &color);

public Q_SLOTS:
    void materialChanged(int index);
    void changeColor();

private:
    Ui::ChangeVolumeVisualizationDialogForm *ui;
    std::map<quint32, Color> colors;
};

} // namespace Operations
} // namespace Ui

#endif

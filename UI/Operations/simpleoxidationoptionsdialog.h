#ifndef CELVANE_UI_OPERATIONS_SIMPLEOXIDATIONOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_SIMPLEOXIDATIONOPTIONSDIALOG_H

#include <QDialog>

namespace Ui {
class SimpleOxidationOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// Thermal oxidation: an oxide thickness, or a time with temperature and pressure, and the cell
/// units per micron.
class SimpleOxidationOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SimpleOxidationOptionsDialog(QWidget *parent = nullptr);
    ~SimpleOxidationOptionsDialog() override;

    Ui::SimpleOxidationOptionsDialogForm *form() const { return ui; }

    /// True when the oxide is grown for a time (Deal-Grove), false for a given thickness.
    bool isTimeGiven() const;
    /// Microns.
    double getOxideThickness() const;
    /// Hours.
    double getOxidationTime() const;
    /// Kelvin.
    double getOxidationTemperature() const;
    /// Atmospheres.
    double getOxidationPressure() const;
    double getMicronConversion() const;

private:
    Ui::SimpleOxidationOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif

#ifndef CELVANE_UI_OPERATIONS_GLUESUBSTRATEDIALOG_H
#define CELVANE_UI_OPERATIONS_GLUESUBSTRATEDIALOG_H

#include <QDialog>

namespace Ui {
class GlueSubstrateForm;
}

namespace Ui {
namespace Operations {

/// Size of the glued volume, displacement of the top volume over the base, and whether the
/// top is turned over.
class GlueSubstrateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GlueSubstrateDialog(QWidget *parent = nullptr);
    ~GlueSubstrateDialog() override;

    Ui::GlueSubstrateForm *form() const { return ui; }

    /// The limits the two volumes allow: x and y sizes fixed at their minimum, z at least
    /// minSizeZ (shown at it), displacements at most the given maxima. Values beyond what a
    /// spin box holds are cut to its maximum.
    void setLimits(quint32 minSizeX, quint32 minSizeY, quint32 minSizeZ, quint32 maxDisplacementX,
                   quint32 maxDisplacementY);

    quint32 getSizeX() const;
    quint32 getSizeY() const;
    quint32 getSizeZ() const;
    quint32 getDisplacementX() const;
    quint32 getDisplacementY() const;
    bool invertTop() const;

private:
    Ui::GlueSubstrateForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif

#ifndef CELVANE_UI_INPUT_CHANGECOLORSDIALOG_H
#define CELVANE_UI_INPUT_CHANGECOLORSDIALOG_H

#include "Util/vector4d.h"

#include <QDialog>

class QPushButton;

namespace Ui {
class ChangeColorsDialogForm;
}

namespace Ui {
namespace Input {

/// The "Change Default Colors" dialog: background, grid, object and outline colours of the
/// view. It starts from the current scheme; the two load buttons switch to the default or the
/// low scheme; picking a colour makes the result a custom scheme.
class ChangeColorsDialog : public QDialog
{
    Q_OBJECT

public:
    /// The four colours, in the order shown.
    enum Entry
    {
        Background = 0,
        Grid = 1,
        Object = 2,
        Outline = 3,
        EntryCount = 4
    };

    explicit ChangeColorsDialog(QWidget *parent = nullptr);
    ~ChangeColorsDialog() override;

    Ui::ChangeColorsDialogForm *form() const { return ui; }

    /// The scheme shown now (0 default, 1 low), as loaded last.
    int getScheme() const { return scheme; }
    Util::Vector4D getColor(int entry) const;
    /// True once a colour was picked since the last load.
    bool isCustomized() const { return customized; }
    /// The scheme that accepting makes current: custom after a pick, else the one loaded.
    int resultScheme() const;
    /// Writes the four colours into the palette's custom slots and makes resultScheme()
    /// current. Called when the dialog is accepted.
    void applyToPalette() const;

    /// Replaces an entry's colour as a valid choice in the colour chooser does.
    void setColor(int entry, const QColor &color);
    /// The button's style sheet for a colour.
    static QString buttonStyle(const Util::Vector4D &color);
    /// The palette index of an entry.
    static int paletteIndex(int entry);

public Q_SLOTS:
    void loadDefaultColors();
    void loadLowColorScheme();
    /// Opens the colour chooser on an entry's colour.
    void pickColor(int entry);

private:
    void loadScheme(int number);
    void showColors();
    QPushButton *button(int entry) const;

    Ui::ChangeColorsDialogForm *ui;
    int scheme;
    bool customized;
    Util::Vector4D colors[EntryCount];
};

} // namespace Input
} // namespace Ui

#endif

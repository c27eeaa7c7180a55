#pragma once
// The colour dialog "色の設定": one colour edited on the HSV colour panel, taken over with OK
// and left with Cancel. It is made for one use over the window that asks, and every colour box
// of the window opens it with the box's own colour.

#include <QDialog>

class QPushButton;

namespace vantor {

class TColorBox;
class TMaxColorPanel;
class TUiServices;

class TFormColor : public QDialog {
    Q_OBJECT
public:
    explicit TFormColor(QWidget* owner);

    TMaxColorPanel* ColorPanel = nullptr;
    QPushButton* BtnOK = nullptr;     // the default button: Enter takes the colour over
    QPushButton* BtnCancel = nullptr; // as is closing the dialog from its title bar
};

// The click of a colour box: the colour dialog starts from the box's colour; on OK the box
// takes the colour chosen (window form) and repaints. True on OK; Cancel changes nothing.
bool ChooseBoxColor(TColorBox& box, TUiServices& ui, QWidget* owner);

} // namespace vantor

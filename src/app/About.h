#pragma once
// The about box "バージョン情報": the program's icon, its name and its version, and an OK
// button. Made for one use over the main window.

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

namespace vantor {

class TDlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAbout(QWidget* owner);

    QLabel* ImageIcon = nullptr; // the 48 by 48 program icon
    QLabel* LabelTitle = nullptr;
    QLabel* LabelVersion = nullptr;
    QPushButton* BtnOK = nullptr;
};

// The program's icon in every size it ships in, for windows and the about box.
QIcon ProgramIcon();

} // namespace vantor

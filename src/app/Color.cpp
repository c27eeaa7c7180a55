#include "app/Color.h"

#include "app/ColorBox.h"
#include "app/Main.h"
#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "controls/MaxColorPanel.h"

#include <QPushButton>

namespace vantor {

namespace ms = main_strings;

TFormColor::TFormColor(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("FormColor");
    setWindowTitle(Ui(ms::kFormColorCaption));
    setFont(EditorFont());
    setFixedSize(221, 201);

    ColorPanel = new TMaxColorPanel(this);
    ColorPanel->setObjectName("ColorPanel");
    ColorPanel->setGeometry(8, 8, 208, 148);

    BtnOK = new QPushButton(Ui(ms::kBtnOK), this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setGeometry(40, 168, 75, 25);
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);

    BtnCancel = new QPushButton(Ui(ms::kBtnCancel), this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setGeometry(128, 168, 75, 25);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ChooseBoxColor(TColorBox& box, TUiServices& ui, QWidget* owner) {
    TFormColor dialog(owner);
    dialog.ColorPanel->SetColor(box.Color());
    if (!ui.ExecuteDialog(dialog)) {
        return false;
    }
    box.SetColor(dialog.ColorPanel->GetColor());
    return true;
}

} // namespace vantor

#include "app/About.h"

#include "app/Main.h"
#include "app/MainStrings.h"
#include "app/SystemText.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace vantor {

namespace ms = main_strings;

namespace {

constexpr int kIconSize = 48;
constexpr int kTitlePixelSize = 16;
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kIconSizes) {
        icon.addFile(QStringLiteral(":/vantor/icons/vantor-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

TDlgAbout::TDlgAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("DlgAbout");
    setWindowTitle(Ui(ms::kDlgAboutCaption));
    setFont(EditorFont());
    setFixedSize(254, 159);

    ImageIcon = new QLabel(this);
    ImageIcon->setObjectName("ImageIcon");
    ImageIcon->setGeometry(16, 16, kIconSize, kIconSize);
    ImageIcon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));

    LabelTitle = new QLabel(Ui(ms::kAboutTitle), this);
    LabelTitle->setObjectName("LabelTitle");
    QFont titleFont = font();
    titleFont.setPixelSize(kTitlePixelSize);
    LabelTitle->setFont(titleFont);
    LabelTitle->move(80, 24);
    LabelTitle->adjustSize();

    LabelVersion = new QLabel(Ui(ms::kAboutVersionPrefix) + Ui(kProgramVersion), this);
    LabelVersion->setObjectName("LabelVersion");
    LabelVersion->move(184, 48);
    LabelVersion->adjustSize();

    BtnOK = new QPushButton(Ui(ms::kBtnOK), this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setGeometry(88, 120, 75, 25);
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace vantor

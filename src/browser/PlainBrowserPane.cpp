#include "browser/PlainBrowserPane.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "browser/BrowserStrings.h"

TPlainBrowserPane::TPlainBrowserPane(QWidget* parent)
    : TBrowserPane(parent), FLabel(new QLabel(this)), FOpenButton(new QPushButton(this)) {
    auto* layout = new QVBoxLayout(this);
    FLabel->setWordWrap(true);
    FLabel->setAlignment(Qt::AlignCenter);
    FLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FLabel->setText(QString::fromUtf8(browser_strings::kNoPreview));
    FOpenButton->setText(QString::fromUtf8(browser_strings::kOpenInBrowser));
    FOpenButton->setEnabled(false);
    layout->addStretch();
    layout->addWidget(FLabel);
    layout->addWidget(FOpenButton, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(FOpenButton, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(Location()));
    });
}

void TPlainBrowserPane::Navigate(const QString& path) {
    FHistory = FHistory.mid(0, FPosition + 1);
    FHistory.append(path);
    show(static_cast<int>(FHistory.size()) - 1);
    emit Navigated(path);
}

void TPlainBrowserPane::GoBack() {
    if (FPosition > 0) {
        show(FPosition - 1);
    }
}

void TPlainBrowserPane::GoForward() {
    if (FPosition + 1 < FHistory.size()) {
        show(FPosition + 1);
    }
}

void TPlainBrowserPane::Refresh() {
    if (FPosition >= 0) {
        show(FPosition);
    }
}

void TPlainBrowserPane::Clear() {
    FHistory.clear();
    FPosition = -1;
    FLabel->setText(QString::fromUtf8(browser_strings::kNoPreview));
    FOpenButton->setEnabled(false);
}

QString TPlainBrowserPane::Location() const {
    return FPosition >= 0 ? FHistory.at(FPosition) : QString();
}

void TPlainBrowserPane::show(int index) {
    FPosition = index;
    FLabel->setText(QString::fromUtf8(browser_strings::kPreviewWrittenTo) + "\n" + Location());
    FOpenButton->setEnabled(true);
}

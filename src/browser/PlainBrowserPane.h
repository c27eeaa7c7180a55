#pragma once
// The pane of a build without WebEngine: it names the page and opens it in the desktop's
// own browser, which shows a published package best when it is served over HTTP.

#include "browser/BrowserPane.h"

class QLabel;
class QPushButton;

class TPlainBrowserPane : public TBrowserPane {
    Q_OBJECT
public:
    explicit TPlainBrowserPane(QWidget* parent = nullptr);

    void Navigate(const QString& path) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Stop() override {}
    void Clear() override;
    QString Location() const override;

private:
    void show(int index);

    QLabel* FLabel;
    QPushButton* FOpenButton;
    QStringList FHistory;
    int FPosition = -1;
};

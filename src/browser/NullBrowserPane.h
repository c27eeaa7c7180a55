#pragma once
// A browser pane that shows nothing and remembers every navigation: for tests.

#include "browser/BrowserPane.h"

class TNullBrowserPane : public TBrowserPane {
    Q_OBJECT
public:
    using TBrowserPane::TBrowserPane;

    void Navigate(const QString& path) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override { ++refreshCount; }
    void Stop() override { ++stopCount; }
    // Shows nothing: Location() is empty until the next navigation.
    void Clear() override { cleared = true; }
    QString Location() const override;

    QStringList history; // every page navigated to, in order
    int position = -1;   // index of the page shown in history
    int refreshCount = 0;
    int stopCount = 0;
    bool cleared = false; // since the last navigation
};

#pragma once
// The preview pane on Qt WebEngine. Local pages may read the files beside them (the viewer
// loads the package's zip and images from the page's folder). It offers no browser menu and
// keeps no history: only the page of the last build is ever shown.

#include "browser/BrowserPane.h"

class QWebEngineView;

class TWebEngineBrowserPane : public TBrowserPane {
    Q_OBJECT
public:
    explicit TWebEngineBrowserPane(QWidget* parent = nullptr);

    void Navigate(const QString& path) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Stop() override;
    QString Location() const override;

    QWebEngineView* View() const { return FView; }

private:
    QWebEngineView* FView;
};

#pragma once
// The preview pane on Qt WebEngine. Local pages may read the files beside them (the viewer
// loads the package's zip and images from the page's folder). It offers no browser menu and
// keeps no history: only the page of the last build is ever shown. A page larger than the pane
// is shown scaled down until it fits; the page itself keeps its size.

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
    void Clear() override;
    QString Location() const override;

    QWebEngineView* View() const { return FView; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sets the zoom at which the page shown fits the pane, at most 1.
    void FitPageToPane();

    QWebEngineView* FView;
};

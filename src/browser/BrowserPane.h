#pragma once
// The browser pane that the main window embeds to show the preview page. Three kinds stand
// behind one interface: Qt WebEngine (the real pane), a plain pane that names the page and
// opens it in the desktop's browser (builds without WebEngine), and a null pane that only
// records what it was asked (tests, so they never start a web engine).

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class TBrowserPane : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    ~TBrowserPane() override = default;

    // Shows the local page at path (a file path on this machine).
    virtual void Navigate(const QString& path) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;
    // Shows no page, as before the first navigation: a preview that failed leaves nothing of
    // the one before it.
    virtual void Clear() = 0;
    // The page shown now, as a path or URL; empty before the first navigation.
    virtual QString Location() const = 0;

signals:
    // Emitted when a navigation was started (with the page's path).
    void Navigated(const QString& path);
};

enum class BrowserKind {
    Default, // WebEngine when the program was built with it, else the plain pane
    Plain,
    Null,
};

std::unique_ptr<TBrowserPane> createBrowserPane(BrowserKind kind, QWidget* parent = nullptr);

// True when the program was built with the WebEngine pane.
bool browserHasWebEngine();

#include "browser/WebEngineBrowserPane.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineSettings>
#include <QWebEngineView>

TWebEngineBrowserPane::TWebEngineBrowserPane(QWidget* parent)
    : TBrowserPane(parent), FView(new QWebEngineView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FView);
    QWebEngineSettings* settings = FView->settings();
    // The viewer reads the zip and the images beside the page; nothing else is reachable.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::WebGLEnabled, true);
    // Files dropped on the preview go to the window that holds the pane (which opens models),
    // not to the page.
    FView->setAcceptDrops(false);
    // The pane shows a preview, not a browser: no menu of browser commands (the viewer's own
    // mouse controls still get every button), and no history, since each preview deletes the
    // files of the one before, so that "back" (a mouse's back button too) could only reach
    // pages that are gone.
    FView->setContextMenuPolicy(Qt::NoContextMenu);
    connect(FView, &QWebEngineView::loadFinished, this, [this] { FView->history()->clear(); });
}

void TWebEngineBrowserPane::Navigate(const QString& path) {
    FView->setUrl(QUrl::fromLocalFile(path));
    emit Navigated(path);
}

void TWebEngineBrowserPane::GoBack() { FView->back(); }
void TWebEngineBrowserPane::GoForward() { FView->forward(); }
void TWebEngineBrowserPane::Refresh() { FView->reload(); }
void TWebEngineBrowserPane::Stop() { FView->stop(); }

QString TWebEngineBrowserPane::Location() const {
    const QUrl url = FView->url();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

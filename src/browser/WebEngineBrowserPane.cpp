#include "browser/WebEngineBrowserPane.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>

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
    connect(FView, &QWebEngineView::loadFinished, this, [this] {
        FView->history()->clear();
        FitPageToPane();
    });
}

namespace {

// The zoom at which the page fits a pane of the given size in CSS pixels: its narrowest layout
// decides the width (text wraps, the canvas does not), and its height at the width that zoom
// gives it the height. Measured on the page's own layout, so the zoom shown does not matter.
constexpr char kFitZoomScript[] = R"(
(function (paneWidth, paneHeight) {
  var root = document.documentElement;
  if (!root || !document.body) return 1;
  var saved = root.style.width;
  root.style.width = 'min-content';
  var zoom = Math.min(1, paneWidth / Math.max(1, root.getBoundingClientRect().width));
  root.style.width = (paneWidth / zoom) + 'px';
  zoom = Math.min(zoom, paneHeight / Math.max(1, root.getBoundingClientRect().height));
  root.style.width = saved;
  return Math.floor(zoom * 1000) / 1000;
})(%1, %2))";

// Qt's smallest zoom factor.
constexpr double kMinimumZoom = 0.25;

} // namespace

void TWebEngineBrowserPane::FitPageToPane() {
    if (Location().isEmpty()) {
        return;
    }
    const QString script =
        QString::fromLatin1(kFitZoomScript).arg(FView->width()).arg(FView->height());
    FView->page()->runJavaScript(script, [view = QPointer<QWebEngineView>(FView)](
                                             const QVariant& zoom) {
        bool number = false;
        const double factor = zoom.toDouble(&number);
        if (view && number && factor > 0) {
            view->setZoomFactor(std::clamp(factor, kMinimumZoom, 1.0));
        }
    });
}

void TWebEngineBrowserPane::resizeEvent(QResizeEvent* event) {
    TBrowserPane::resizeEvent(event);
    // Once the resizing settles: a dragged window edge sends many sizes.
    QTimer::singleShot(0, this, &TWebEngineBrowserPane::FitPageToPane);
}

void TWebEngineBrowserPane::Navigate(const QString& path) {
    FView->setUrl(QUrl::fromLocalFile(path));
    emit Navigated(path);
}

void TWebEngineBrowserPane::GoBack() { FView->back(); }
void TWebEngineBrowserPane::GoForward() { FView->forward(); }
void TWebEngineBrowserPane::Refresh() { FView->reload(); }
void TWebEngineBrowserPane::Stop() { FView->stop(); }

void TWebEngineBrowserPane::Clear() {
    FView->setUrl(QUrl(QStringLiteral("about:blank")));
}

QString TWebEngineBrowserPane::Location() const {
    const QUrl url = FView->url();
    if (url.isLocalFile()) {
        return url.toLocalFile();
    }
    return url.toString() == QStringLiteral("about:blank") ? QString() : url.toString();
}

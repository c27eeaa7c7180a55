#include "browser/BrowserPane.h"

#include "browser/NullBrowserPane.h"
#include "browser/PlainBrowserPane.h"
#ifdef VANTOR_HAVE_WEBENGINE
#include "browser/WebEngineBrowserPane.h"
#endif

bool browserHasWebEngine() {
#ifdef VANTOR_HAVE_WEBENGINE
    return true;
#else
    return false;
#endif
}

std::unique_ptr<TBrowserPane> createBrowserPane(BrowserKind kind, QWidget* parent) {
    switch (kind) {
    case BrowserKind::Null:
        return std::make_unique<TNullBrowserPane>(parent);
    case BrowserKind::Plain:
        return std::make_unique<TPlainBrowserPane>(parent);
    case BrowserKind::Default:
        break;
    }
#ifdef VANTOR_HAVE_WEBENGINE
    return std::make_unique<TWebEngineBrowserPane>(parent);
#else
    return std::make_unique<TPlainBrowserPane>(parent);
#endif
}

#include "browser/NullBrowserPane.h"

void TNullBrowserPane::Navigate(const QString& path) {
    history = history.mid(0, position + 1);
    history.append(path);
    cleared = false;
    position = static_cast<int>(history.size()) - 1;
    emit Navigated(path);
}

void TNullBrowserPane::GoBack() {
    if (position > 0) {
        --position;
    }
}

void TNullBrowserPane::GoForward() {
    if (position + 1 < history.size()) {
        ++position;
    }
}

QString TNullBrowserPane::Location() const {
    return position >= 0 && !cleared ? history.at(position) : QString();
}

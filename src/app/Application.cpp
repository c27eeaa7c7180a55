#include "app/Application.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTranslator>
#include <csignal>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor {

namespace {

// The signal handler may only write to a descriptor; the loop reads the other end.
int gSignalSockets[2] = {-1, -1};
bool gTerminationRequested = false;

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[1], &byte, 1);
}

} // namespace

TVantorApplication::TVantorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(Ui(main_strings::kApplicationTitle));
    // The window speaks Japanese; so do Qt's own dialogs and buttons (the folder chooser).
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(qtTexts);
    }
}

bool TVantorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error.what());
    } catch (...) {
        ShowException("unknown error");
    }
    return false;
}

void TVantorApplication::QuitOnTerminationSignals() {
    if (gSignalSockets[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(gSignalSockets[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(gSignalSockets[0], &byte, 1);
        gTerminationRequested = true;
        closeAllWindows();
        quit();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

bool TVantorApplication::TerminationRequested() {
    return gTerminationRequested;
}

void TVantorApplication::ShowException(const char* what) {
    QMessageBox::critical(activeWindow(), applicationName(), QString::fromLocal8Bit(what));
}

} // namespace vantor

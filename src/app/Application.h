#pragma once
// The editor's application object. An error that a command does not handle is shown in a
// message box and the program goes on, so one failed command never takes the window down.

#include <QApplication>

namespace vantor {

class TVantorApplication : public QApplication {
    Q_OBJECT
public:
    TVantorApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // A termination request (SIGTERM, SIGINT, SIGHUP) closes the windows and ends the loop like
    // the close button does, so the preview files and the private folder are removed.
    void QuitOnTerminationSignals();
    // Whether such a request came: the windows then close without asking about changes.
    static bool TerminationRequested();

    // The application's standard error message box.
    static void ShowException(const char* what);
};

} // namespace vantor

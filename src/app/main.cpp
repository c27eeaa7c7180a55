// vantor: the desktop editor. Opens MQO models (from the menu, by dropping them on the window,
// or named on the command line), previews them in the window and publishes web packages.

#include "app/Main.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/UiServices.h"

#include "VantorVersion.h"

#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    // Answered before the application starts, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", vantor::versionLine("vantor").c_str());
        return 0;
    }
    vantor::TVantorApplication app(argc, argv);
    app.QuitOnTerminationSignals();
    app.setFont(vantor::EditorFont()); // message boxes and dialogs too
    app.setWindowIcon(vantor::ProgramIcon());
    // The desktop entry the window belongs to, for its icon in task bars.
    app.setDesktopFileName(QStringLiteral("vantor"));
    try {
        vantor::TDesktopUiServices ui;
        vantor::TFormMain form(ui);
        form.show();
        // Files named on the command line open as dropped files do, once the loop runs.
        const QStringList files = app.arguments().mid(1);
        if (!files.isEmpty()) {
            QTimer::singleShot(0, &form, [&form, files] {
                QList<QUrl> urls;
                for (const QString& file : files) {
                    urls << QUrl::fromLocalFile(file);
                }
                form.OpenDroppedFiles(urls);
            });
        }
        return app.exec();
    } catch (const std::exception& error) {
        vantor::TVantorApplication::ShowException(error.what());
    } catch (...) {
        vantor::TVantorApplication::ShowException("unknown error");
    }
    return 1;
}

// vantor: the desktop editor. Opens MQO models (from the menu, by dropping them on the window,
// or named on the command line), previews them in the window and publishes web packages.

#include "app/Main.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/UiServices.h"

#include "VantorVersion.h"

#include <QTimer>
#include <cstdio>
#include <exception>
#include <optional>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Answers --help and --version; refuses an unknown option. Nothing when the window may open.
std::optional<int> AnswerCommandLine(const vantor::TCommandLine& line) {
    switch (line.Action) {
    case vantor::TCommandAction::Help:
        std::printf("%s\n", qPrintable(vantor::EditorUsage()));
        return 0;
    case vantor::TCommandAction::Version:
        std::printf("%s\n", vantor::versionLine("vantor").c_str());
        return 0;
    case vantor::TCommandAction::Refuse:
        std::fprintf(stderr, "vantor: unknown option %s\n%s\n", qPrintable(line.Refused),
                     qPrintable(vantor::EditorUsage()));
        return 2;
    case vantor::TCommandAction::Run:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version are answered before the application starts, so that they need no
    // display. Other options are judged once Qt has taken its own (-platform, -style, ...).
    const vantor::TCommandLine early = vantor::ParseCommandLine(Arguments(argc, argv));
    if (early.Action == vantor::TCommandAction::Help ||
        early.Action == vantor::TCommandAction::Version) {
        return *AnswerCommandLine(early);
    }
    vantor::TVantorApplication app(argc, argv);
    const vantor::TCommandLine line = vantor::ParseCommandLine(app.arguments().mid(1));
    if (const std::optional<int> status = AnswerCommandLine(line)) {
        return *status;
    }
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
        if (!line.Files.isEmpty()) {
            const QStringList files = line.Files;
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

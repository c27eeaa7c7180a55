#include "app/CommandLine.h"

namespace vantor {

QString EditorUsage() {
    return QStringLiteral("usage: vantor [--help | --version] [MODEL.mqo | MODEL.mqoz]...");
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    bool options = true;
    for (const QString& argument : arguments) {
        if (!options || argument == QStringLiteral("-") || !argument.startsWith(u'-')) {
            line.Files << argument;
        } else if (argument == QStringLiteral("--")) {
            options = false;
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            return {TCommandAction::Help, {}, {}};
        } else if (argument == QStringLiteral("--version")) {
            return {TCommandAction::Version, {}, {}};
        } else {
            return {TCommandAction::Refuse, {}, argument};
        }
    }
    return line;
}

} // namespace vantor

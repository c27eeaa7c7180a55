#include "app/Application.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"

#include <QMessageBox>
#include <exception>

namespace vantor {

TVantorApplication::TVantorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(Ui(main_strings::kApplicationTitle));
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

void TVantorApplication::ShowException(const char* what) {
    QMessageBox::critical(activeWindow(), applicationName(), QString::fromLocal8Bit(what));
}

} // namespace vantor

// The menu commands that come with the material editor: saving the model as MQO, loading and
// saving the scene settings file, the help page and the about box. Their menu items exist and
// are connected; the commands land here.

#include "app/Main.h"

namespace vantor {

void TFormMain::MenuSaveMQOClick() {}

void TFormMain::MenuLoadQLSClick() {}

void TFormMain::MenuSaveQLSClick() {}

void TFormMain::MenuHelpIndexClick() {}

void TFormMain::MenuAboutClick() {}

} // namespace vantor

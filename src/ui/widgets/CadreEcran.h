#pragma once

class QWidget;

namespace vyk {

// Closes a screen: inside the main window its frame closes with it (closing the screen alone
// would leave an empty titled frame); a screen shown on its own just closes.
void fermerEcran(QWidget *ecran);

} // namespace vyk

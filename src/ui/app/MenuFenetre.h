#pragma once

#include <QString>

namespace vyk {

class FenetrePrincipale;

// The "Fenêtre" menu (arrangement of the screens and the list of those open) and the "Aide"
// menu ("À propos").
void creerMenuFenetre(FenetrePrincipale &fenetre);
void creerMenuAide(FenetrePrincipale &fenetre);

// The text of the "À propos" box: the program, its version, the database and the user.
QString texteAPropos(const QString &base, const QString &utilisateur);

} // namespace vyk

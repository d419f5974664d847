#pragma once

// The small static web site of an export list, in outline: a style sheet, the station list page
// and one sheet per station with its hydrobiological follow-up, and the faunal list of each
// operation date as a CSV file. Every file stays inside the export folder, whatever the station
// codes and dates hold.

#include "carto/ListesExport.h"

#include <QString>
#include <QStringList>

namespace vyk {

namespace texteSiteWeb {
// %1 the folder.
inline const QString DOSSIER = QStringLiteral("Le dossier %1 ne peut pas être créé.");
} // namespace texteSiteWeb

// A file name made of these pieces joined by "_": every character but letters, digits, "-" and
// "." becomes "_", and a name made of dots only is refused, so that it names a file of the
// folder itself ("" when nothing is left).
QString nomFichierSur(const QStringList &morceaux, const QString &extension);

// Writes a whole file at once (nothing is left half written); false with "Impossible d'ouvrir le
// fichier ..." when it cannot be.
bool ecrireFichierEntier(const QString &chemin, const QByteArray &contenu, QString *erreur);

// Writes the pages into `dossier`; `pages` receives the files written (relative names). False,
// with the reason, when a file cannot be written.
bool ecrireSiteWeb(const ListeExportQualite &liste, const QString &dossier, QStringList &pages,
                   QString *erreur);

} // namespace vyk

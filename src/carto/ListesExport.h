#pragma once

// The named export lists of the map export (LISTES_EXPORT_QUALITE, type '1'): their options,
// their stations in order and the taxa and parameters they publish.

#include "db/ChampDecrit.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// Kinds of element, as LISTES_EXPORT_QUALITE_PARAM.site stores them.
enum class GenreElementExport
{
    Macroinvertebres = 1,
    Diatomees = 2,
    PhysicoChimie = 3
};

struct ElementExport
{
    GenreElementExport genre = GenreElementExport::PhysicoChimie;
    QString code;
    QString unite;   // parameters only
    QString libelle; // taxon or parameter name, read with the list
};

struct StationExport
{
    qint64 code = 0;
    QString codeBSS;
    QString nom;
};

// The options of a list, each described once: column, caption, kind.
const ChampsDecrits &champsListeExport();

struct ListeExportQualite
{
    qint64 code = -1;   // -1 until saved
    QStringList textes; // one per field of champsListeExport(), as typed
    QVector<StationExport> stations;
    QVector<ElementExport> elements;

    ListeExportQualite();
    QString texte(const QString &colonne) const;
    void setTexte(const QString &colonne, const QString &texte);
    bool coche(const QString &colonne) const { return texte(colonne) == QLatin1String("1"); }
};

namespace texteListesExport {
inline const QString ENREGISTREE = QStringLiteral("La liste d'export a été enregistrée.");
inline const QString SUPPRIMEE = QStringLiteral("La liste d'export a été supprimée.");
// %1 the station's code.
inline const QString STATION_INCONNUE = QStringLiteral("Le qualitomètre %1 n'existe pas.");
inline const QString ECHEC = QStringLiteral("La liste d'export n'a pas pu être enregistrée : ");
} // namespace texteListesExport

// Every list of the module: number and name, by name.
QVector<QPair<qint64, QString>> listesExport();
// Reads a list, its stations in order and its elements by kind; false when it does not exist.
bool chargerListeExport(qint64 code, ListeExportQualite &liste);
// Saves the list, its stations and its elements in one transaction, with bound values; a new list
// takes the largest number + 1. On refusal or failure nothing is written and *erreur says why
// (a field's defect, or the database's error).
bool enregistrerListeExport(ListeExportQualite &liste, QString *erreur);
// Deletes a list with its stations and elements, in one transaction; false with the database's
// error in *erreur.
bool supprimerListeExport(qint64 code, QString *erreur = nullptr);

// The stations of QUALITOMETRES with these public codes (or numbers), in the given order;
// *inconnus receives the codes that name none.
QVector<StationExport> stationsExport(const QStringList &codes, QStringList *inconnus = nullptr);

} // namespace vyk

#include "import/classeurs/ArsExcel.h"

#include "db/CleColonne.h"
#include "db/Progression.h"
#include "import/ChargementTexte.h"
#include "import/LectureSandre.h"

namespace vyk {

namespace {

// Column of the import table fed by each column of the sheet (-1: left aside).
QVector<int> correspondance(const Feuille &feuille, bool &enTete)
{
    QHash<QString, int> positions;
    const QStringList &noms = nomsColonnesImport();
    for (int i = 0; i < noms.size(); ++i)
        positions.insert(cleColonne(noms.at(i)), i);
    QVector<int> cibles(feuille.derniereColonne() + 1, -1);
    enTete = false;
    for (int c = 1; c <= feuille.derniereColonne(); ++c) {
        cibles[c] = positions.value(cleColonne(feuille.texte(1, c)), -1);
        enTete = enTete || cibles[c] >= 0;
    }
    if (!enTete)
        for (int c = 1; c <= feuille.derniereColonne(); ++c)
            cibles[c] = c <= NB_COLONNES_IMPORT ? c - 1 : -1;
    return cibles;
}

} // namespace

QString chargerArsExcel(const Feuille &feuille, GrilleImport &grille, Progression &progression,
                        ElementsIgnores *ignores)
{
    grille.vider();
    bool enTete = false;
    const QVector<int> cibles = correspondance(feuille, enTete);
    progression.message(QStringLiteral("Chargement des données"));
    for (int l = 2; l <= feuille.derniereLigne(); ++l) {
        if (l % 100 == 0) {
            if (progression.annule()) {
                grille.vider();
                return texteChargement::ANNULE;
            }
            progression.message(QStringLiteral("Chargement des données ligne ") +
                                QString::number(l));
        }
        QStringList ligne(NB_COLONNES_IMPORT);
        bool vide = true;
        for (int c = 1; c < cibles.size(); ++c) {
            const QString t = feuille.texte(l, c).trimmed();
            if (t.isEmpty()) continue;
            vide = false;
            if (cibles.at(c) >= 0)
                ligne[cibles.at(c)] = t;
            else if (ignores)
                ignores->ajouter(enTete && !feuille.texte(1, c).trimmed().isEmpty()
                                     ? feuille.texte(1, c).trimmed()
                                     : QStringLiteral("colonne ") + QString::number(c));
        }
        if (vide) continue;
        if (grille.nombreLignes() >= LIGNES_IMPORT_MAX) {
            grille.vider();
            return texteChargement::TROP_DE_LIGNES;
        }
        grille.ajouterLigne(std::move(ligne), QStringLiteral("ligne ") + QString::number(l));
    }
    return {};
}

} // namespace vyk
